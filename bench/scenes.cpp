// Scene set-up goes the player's way (board a metro train from its cab
// door, press the console key, hold keys) except for the console's history, which is
// written straight into the plug-in: posting 100,000 messages one boarding
// at a time would copy the growing history 100,000 times.
#include "bench/scenes.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "bench/plugin_records.h"
#include "bench/replay.h"
#include "sim/sim.h"

const SceneInfo Scenes[14] = {
    {Scene::Idle, "idle", "idle (not driving, nothing shown, show_hints=0)", false},
    {Scene::Common, "common", "driving, panel (the common frame)", false},
    {Scene::Console0, "console0", "driving, panel + console, 0 messages", false},
    {Scene::Console10, "console10", "driving, panel + console, 10 messages", false},
    {Scene::Console1000, "console1000", "driving, panel + console, 1,000 messages", false},
    {Scene::Console100000, "console100000", "driving, panel + console, 100,000 messages", false},
    {Scene::Busiest, "busiest", "busiest: panel + console (1,000), every action due", false},
    {Scene::Boarding0, "boarding0", "boarding a metro train, 0 cars listed before it", true},
    {Scene::Boarding3, "boarding3", "boarding a metro train, 3 cars listed before it", true},
    {Scene::Boarding9, "boarding9", "boarding a metro train, 9 cars listed before it", true},
    {Scene::Reload, "reload", "settings reload (Alt + I), sample file", false},
    {Scene::HintLook, "hintlook", "on foot 2 m from a cab door, hint shown, a look for the train", false},
    {Scene::HintLine, "hintline", "on foot 2 m from a cab door, hint shown, no look", false},
    {Scene::CommonPad, "commonpad", "driving, panel, the pad in use (its buttons read, none held)", false},
};

const SceneInfo* FindScene(const char* name) {
    for (const SceneInfo& info : Scenes)
        if (std::strcmp(info.name, name) == 0) return &info;
    return nullptr;
}

namespace {

constexpr uint32_t KeyAlt = 18, KeyF = 70, KeyI = 73;
constexpr uint32_t KeyConsole = 'O';  // toggle_console in the shipped file
constexpr uint32_t NormalStep = 16;
// Longer than the longest debounce (500 ms), so every debounced action is
// due in every pass.
constexpr uint32_t ActionStep = 501;
// The hint looks again when more than 250 ms have passed: every pass at
// this step, and never again at a standstill clock.
constexpr uint32_t LookStep = 251;
constexpr uint32_t StandstillStep = 0;
const sim::Vec3 MetroCabDoor{-2.0f, 3.25f, 1.0f};

// The sample file's bindings that can all fire in one pass and leave the
// next pass the same: change direction (the train stands: throttle up and
// down cancel), throttle up and down, the three brakes (they share one
// timer, so light fires and medium and hard are tested), both door sides
// (shared timer: left fires), the panel position, and the reload chord's
// modifier alone. Enter/exit would leave the train, the console key hide the console,
// and the full reload chord makes the pass a file read, measured on its own.
constexpr uint32_t BusiestKeys[] = {162, 87, 83, 74, 75, 76, 97, 99, 116, 18};

void Require(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "velquorin-bench: set-up failed: %s\n", what);
    std::exit(2);
}

int ConsoleMessages(Scene scene) {
    switch (scene) {
    case Scene::Console0: return 0;
    case Scene::Console10: return 10;
    case Scene::Console1000: return 1000;
    case Scene::Console100000: return 100000;
    case Scene::Busiest: return 1000;
    default: return -1;  // console hidden
    }
}

int CarsBeforeTrain(Scene scene) {
    switch (scene) {
    case Scene::Boarding0: return 0;
    case Scene::Boarding3: return 3;
    case Scene::Boarding9: return 9;
    default: return -1;  // not a boarding scene
    }
}

bool OnFootByATrain(Scene scene) { return scene == Scene::HintLook || scene == Scene::HintLine; }

bool Driving(Scene scene) {
    return scene == Scene::Common || scene == Scene::CommonPad || scene == Scene::Busiest || ConsoleMessages(scene) >= 0;
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

// A metro train listed after the given number of parked cars, and the
// player at its cab door (which is also where leaving it sets them down).
void PlaceMetroTrainBehindCars(int cars) {
    int train = sim::AddTrain("metrotrain", sim::Vec3{0.0f, 0.0f, 0.0f});
    std::vector<int> listed;
    for (int i = 0; i < cars; ++i)
        listed.push_back(sim::AddCar("sedan", sim::Vec3{10.0f + 5.0f * static_cast<float>(i), 0.0f, 0.0f}));
    listed.push_back(train);
    sim::SetNearbyList(listed);
    sim::PlacePlayer(MetroCabDoor);
}

void BoardMetroTrain() {
    PlaceMetroTrainBehindCars(0);
    sim::TapKey(KeyF);
    Require(sim::PanelLines().size() == 4, "the player did not board the metro train");
}

// The floor of a settings reload: the file read whole, once.
void ReadSettingsFile() {
    static char buffer[8192];
    std::FILE* file = std::fopen("Velquorin.ini", "rb");
    if (!file) return;
    size_t read = std::fread(buffer, 1, sizeof buffer, file);
    std::fclose(file);
    Require(read > 0, "the sample settings file is empty");
}

std::string workingDirectory;
// Resolved before the benchmark moves to its working directory.
const std::filesystem::path SampleSettings = std::filesystem::absolute(VELQUORIN_SOURCE_DIR "/Velquorin.ini");

void SetUpBusiest() {
    for (uint32_t key : BusiestKeys) sim::KeyDown(key);
    for (int i = 0; i < 3; ++i) RunPass(Scene::Busiest);
    std::string direction = sim::PanelLines().at(3);
    RunPass(Scene::Busiest);
    Require(sim::PanelLines().at(3) != direction, "the direction did not change");
    Require(sim::CallsTo("OpenDoor").size() + sim::CallsTo("ShutDoor").size() == 4, "the doors did not move");
    Require(PluginOverlay().panelSlot == 1, "the panel position did not change");
}

void SetUpBoarding(Scene scene) {
    PlaceMetroTrainBehindCars(CarsBeforeTrain(scene));
    sim::KeyDown(KeyF);
    for (int i = 0; i < 2; ++i) {
        RunPass(scene);
        Require(sim::PanelLines().size() == 4, "the player did not board the metro train");
        Require(PluginOverlay().consoleText.size() > 0, "boarding posted no distance");
        BetweenPasses(scene);
        Require(sim::BoxesDrawn().empty(), "the player did not leave the train");
    }
}

// Two metres beside the cab door, where the hint counts the way down.
void SetUpHint(Scene scene) {
    PlaceMetroTrainBehindCars(0);
    sim::PlacePlayer(sim::Vec3{MetroCabDoor.x - 2.0f, MetroCabDoor.y, MetroCabDoor.z});
    RunPass(Scene::HintLook);
    Require(sim::PanelLines() == std::vector<std::string>{"Cab door 2.0 m"}, "the hint does not show the cab door");
    RunPass(scene);
    const bool looked = !sim::CallsTo("ListNearbyVehicles").empty();
    Require(looked == (scene == Scene::HintLook), "the hint did not look as the scene wants it");
    // Without a look, one text line: its nine drawing natives, and the
    // question of which device was used last (use_gamepad=1), nothing else.
    if (scene == Scene::HintLine) Require(sim::Trace().size() == 10, "a pass without a look issues more than the line");
}

// The idle frame is the plug-in with nothing to do: the sample file with
// its hint switched off. Every other frame runs the file as shipped.
void WriteSampleSettings(Scene scene) {
    std::ifstream in(SampleSettings, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const size_t at = text.find("show_hints=1");
    Require(at != std::string::npos, "the sample settings have no show_hints=1");
    if (scene == Scene::Idle) text[at + std::strlen("show_hints=")] = '0';
    std::ofstream("Velquorin.ini", std::ios::binary | std::ios::trunc) << text;
}

// The pad gave the last input (B, the game's camera, which Velquorin
// leaves alone): every pass asks, takes the pad's controls and reads them.
void SetUpPad() {
    sim::PadDown(sim::pad::B);
    RunPass(Scene::CommonPad);
    sim::PadUp(sim::pad::B);
    RunPass(Scene::CommonPad);
    Require(!sim::CallsTo("GET_DISABLED_CONTROL_NORMAL").empty(), "the pass did not read the pad");
}

void SetUpReload() {
    PluginOverlay().panelX = -1.0f;
    RunPass(Scene::Reload);
    Require(PluginOverlay().panelX > 0.0f, "the reload chord did not reload the settings");
}

}  // namespace

void PrepareWorkingDirectory() { workingDirectory = sim::UseFreshWorkingDirectory(); }

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
    WriteSampleSettings(scene);
    sim::Load();
    sim::RunFrame();  // the start: settings read
    FindPluginRecords();
    Require(PluginOverlay().panelVisible && PluginOverlay().panelX > 0.0f, "the sample settings were not loaded");
    if (Driving(scene)) BoardMetroTrain();
    int messages = ConsoleMessages(scene);
    if (messages >= 0) {
        PluginOverlay().consoleText = BoardingDistances(messages);
        sim::TapKey(KeyConsole);
        Require(PluginOverlay().consoleVisible, "the console key did not show the console");
        Require(sim::ConsoleTextDrawn() == PluginOverlay().consoleText, "the console drew another text");
    }
    if (scene == Scene::Busiest) SetUpBusiest();
    if (CarsBeforeTrain(scene) >= 0) SetUpBoarding(scene);
    if (scene == Scene::Reload) SetUpReload();
    if (OnFootByATrain(scene)) SetUpHint(scene);
    if (scene == Scene::CommonPad) SetUpPad();
    if (CarsBeforeTrain(scene) < 0)
        for (int i = 0; i < 3; ++i) RunPass(scene);
    if (Driving(scene)) Require(sim::PanelLines().size() == 4, "the driver panel is not drawn");
    Require(sim::ConsoleDrawn() == (messages >= 0), "the console is not as the scene wants it");
    Require(sim::Faults().empty(), "the host reported a fault");
    sim::SetTracing(false);
}

void RunPass(Scene scene) {
    switch (scene) {
    case Scene::Busiest:
        // A held key repeats; the repeats keep it within the 5 s hold.
        for (uint32_t key : BusiestKeys) sim::KeyDown(key);
        PluginOverlay().panelSlot = 0;  // so F5 moves it to preset 1 again, never to hidden
        sim::RunFrame(ActionStep);
        break;
    case Scene::Reload:
        sim::KeyDown(KeyAlt);
        sim::KeyDown(KeyI);
        sim::RunFrame(ActionStep);
        break;
    case Scene::Boarding0:
    case Scene::Boarding3:
    case Scene::Boarding9: sim::RunFrame(ActionStep); break;
    case Scene::HintLook: sim::RunFrame(LookStep); break;
    case Scene::HintLine: sim::RunFrame(StandstillStep); break;
    default: sim::RunFrame(NormalStep); break;
    }
}

// After a boarding pass: a second press of F leaves the train, setting the
// player down at the cab door, and the two distances boarding posted go,
// so every boarding posts to the same empty history.
void BetweenPasses(Scene scene) {
    if (CarsBeforeTrain(scene) < 0) return;
    sim::KeyDown(KeyF);
    sim::RunFrame(ActionStep);
    PluginOverlay().consoleText.clear();
    sim::KeyDown(KeyF);
}

void SwitchToFloor(Scene scene) {
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
    case Scene::Busiest:
        for (uint32_t key : BusiestKeys) sim::KeyDown(key);
        sim::RunFrame(ActionStep);
        break;
    case Scene::Reload:
        sim::KeyDown(KeyAlt);
        sim::KeyDown(KeyI);
        ReadSettingsFile();
        sim::RunFrame(ActionStep);
        break;
    case Scene::Boarding0:
    case Scene::Boarding3:
    case Scene::Boarding9: sim::RunFrame(ActionStep); break;
    default: sim::RunFrame(NormalStep); break;
    }
}

size_t FloorNatives() { return ReplayedNatives(); }

void TearDownScene() {
    // A replay script's fiber goes with the next unload of a plug-in.
    if (!sim::Loaded()) {
        sim::Load();
        sim::Unload();
    }
    sim::Reset();
}
