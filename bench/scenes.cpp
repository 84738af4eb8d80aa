// Scene set-up goes the player's way (board a metro train from its cab
// door, press F6) except for the console's history, which is written
// straight into the plug-in: posting 100,000 messages one boarding at a
// time would take longer than the benchmark.
#include "bench/scenes.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "bench/replay.h"
#include "driving/drive_state.h"
#include "overlay/overlay_state.h"
#include "settings/settings.h"
#include "sim/sim.h"

const SceneInfo Scenes[7] = {
    {Scene::Idle, "idle", "idle (not driving, nothing shown)"},
    {Scene::Common, "common", "driving, panel (the common frame)"},
    {Scene::Console10, "console10", "driving, panel + console, 10 messages"},
    {Scene::Console1000, "console1000", "driving, panel + console, 1,000 messages"},
    {Scene::Console100000, "console100000", "driving, panel + console, 100,000 messages"},
    {Scene::Busiest, "busiest", "busiest: panel + console (1,000), every action due"},
    {Scene::LoadSettings, "loadsettings", "LoadSettings, sample file"},
};

const SceneInfo* FindScene(const char* name) {
    for (const SceneInfo& info : Scenes)
        if (std::strcmp(info.name, name) == 0) return &info;
    return nullptr;
}

namespace {

constexpr uint32_t KeyF = 70, KeyF6 = 117;
constexpr uint32_t NormalStep = 16;
// Longer than the longest debounce (500 ms), so every debounced action is
// due in every pass.
constexpr uint32_t BusiestStep = 501;

// The sample file's bindings that can all fire in one pass and leave the
// next pass the same: change direction (the train stands: throttle up and
// down cancel), throttle up and down, the three brakes (they share one
// timer, so light fires and medium and hard are tested), both door sides
// (shared timer: left fires), the panel position, and the reload chord's
// modifier alone. Enter/exit would leave the train, F6 hide the console,
// and the full reload chord makes the pass a file read, measured on its own.
constexpr uint32_t BusiestKeys[] = {162, 87, 83, 74, 75, 76, 97, 99, 116, 18};

// Looked up once per set-up: a symbol lookup per pass would be timed too.
OverlayRecord* overlay = nullptr;
OverlayRecord* Overlay() { return overlay; }

void Require(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "velquorin-bench: set-up failed: %s\n", what);
    std::exit(2);
}

int ConsoleMessages(Scene scene) {
    switch (scene) {
    case Scene::Console10: return 10;
    case Scene::Console1000: return 1000;
    case Scene::Console100000: return 100000;
    case Scene::Busiest: return 1000;
    default: return -1;  // console hidden
    }
}

// What metro boarding posts: one distance per line, six decimals.
std::string BoardingDistances(int count) {
    std::string text;
    text.reserve(static_cast<size_t>(count) * 10);
    uint32_t seed = 2463534242u;
    char line[32];
    for (int i = 0; i < count; ++i) {
        seed ^= seed << 13, seed ^= seed >> 17, seed ^= seed << 5;
        double distance = static_cast<double>(seed % 2000000u) / 100000.0;
        std::snprintf(line, sizeof line, "%f\n", distance);
        text += line;
    }
    return text;
}

void BoardMetroTrain() {
    sim::AddTrain("metrotrain", sim::Vec3{0.0f, 0.0f, 0.0f});
    sim::PlacePlayer(sim::Vec3{-2.0f, 3.25f, 1.0f});  // at the cab door
    sim::TapKey(KeyF);
    auto* drive = static_cast<DriveRecord*>(sim::PluginSymbol("DriveState"));
    Require(drive && drive->driving, "the player did not board the metro train");
}

using LoadSettingsFunction = void (*)();
LoadSettingsFunction loadSettings = nullptr;

// The floor of a settings load: the file read whole, once.
void ReadSettingsFile() {
    static char buffer[8192];
    std::FILE* file = std::fopen("Velquorin.ini", "rb");
    if (!file) return;
    size_t read = std::fread(buffer, 1, sizeof buffer, file);
    std::fclose(file);
    Require(read > 0, "the sample settings file is empty");
}

}  // namespace

namespace {
std::string workingDirectory;
}  // namespace

void PrepareWorkingDirectory() {
    workingDirectory = sim::UseFreshWorkingDirectory();
    std::filesystem::copy_file(VELQUORIN_SOURCE_DIR "/Velquorin.ini", "Velquorin.ini");
}

void RemoveWorkingDirectory() {
    std::error_code ignored;
    std::filesystem::current_path(std::filesystem::temp_directory_path(), ignored);
    std::filesystem::remove_all(workingDirectory, ignored);
}

void SetUpScene(Scene scene) {
    sim::Reset();
    // A machine that has been up a while: at clock 0 no debounced action
    // would be due for the first half second.
    sim::SetClock(3600000);
    sim::Load();
    sim::RunFrame();  // the start: settings read
    overlay = static_cast<OverlayRecord*>(sim::PluginSymbol("OverlayState"));
    auto* settings = static_cast<SettingsRecord*>(sim::PluginSymbol("Settings"));
    Require(settings && settings->throttleUpKey == 87 && settings->changeDirectionKey == 162,
            "the sample settings were not loaded");
    if (scene == Scene::LoadSettings) {
        loadSettings = reinterpret_cast<LoadSettingsFunction>(sim::PluginSymbol("_Z12LoadSettingsv"));
        Require(loadSettings != nullptr, "the plug-in exports no LoadSettings");
    } else if (scene != Scene::Idle) {
        BoardMetroTrain();
    }
    int messages = ConsoleMessages(scene);
    if (messages >= 0) {
        Overlay()->consoleText = BoardingDistances(messages);
        sim::TapKey(KeyF6);
        Require(Overlay()->consoleVisible, "F6 did not show the console");
    }
    if (scene == Scene::Busiest)
        for (uint32_t key : BusiestKeys) sim::KeyDown(key);
    for (int i = 0; i < 3; ++i) RunPass(scene);
    if (scene == Scene::Busiest) {
        auto* drive = static_cast<DriveRecord*>(sim::PluginSymbol("DriveState"));
        int direction = drive->direction;
        RunPass(scene);
        Require(drive->direction == -direction && drive->speed == 0.0f, "the direction did not change");
        Require(sim::CallsTo("OpenDoor").size() + sim::CallsTo("ShutDoor").size() == 4, "the doors did not move");
        Require(Overlay()->panelSlot == 1, "the panel position did not change");
    }
    if (scene != Scene::Idle && scene != Scene::LoadSettings)
        Require(sim::PanelLines().size() == 4, "the driver panel is not drawn");
    Require(sim::ConsoleDrawn() == (messages >= 0), "the console is not as the scene wants it");
    Require(sim::Faults().empty(), "the host reported a fault");
    sim::SetTracing(false);
}

void RunPass(Scene scene) {
    switch (scene) {
    case Scene::LoadSettings: loadSettings(); break;
    case Scene::Busiest:
        // A held key repeats; the repeats keep it within the 5 s hold.
        for (uint32_t key : BusiestKeys) sim::KeyDown(key);
        Overlay()->panelSlot = 0;  // so F5 moves it to preset 1 again, never to hidden
        sim::RunFrame(BusiestStep);
        break;
    default: sim::RunFrame(NormalStep); break;
    }
}

void SwitchToFloor(Scene scene) {
    if (scene == Scene::LoadSettings) return;
    sim::SetTracing(true);
    RunPass(scene);
    RecordReplay(sim::Trace());
    sim::SetTracing(false);
    sim::Unload();
    StartReplayScript();
    RunFloorPass(scene);  // creates the replay's fiber and presses the held keys anew
}

void RunFloorPass(Scene scene) {
    switch (scene) {
    case Scene::LoadSettings: ReadSettingsFile(); break;
    case Scene::Busiest:
        for (uint32_t key : BusiestKeys) sim::KeyDown(key);
        sim::RunFrame(BusiestStep);
        break;
    default: sim::RunFrame(NormalStep); break;
    }
}

void TearDownScene() {
    // A replay script's fiber goes with the next unload of a plug-in.
    if (!sim::Loaded()) {
        sim::Load();
        sim::Unload();
    }
    sim::Reset();
}
