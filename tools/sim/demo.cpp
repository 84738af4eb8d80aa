// velquorin-sim demo: a scripted drive of a metro train with the player's
// default keys, printing what happens and what the player sees at each
// step, then a screenshot of one frame and a chart of the whole drive.
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>

#include "desk.h"
#include "key_hints.h"
#include "setting_keys.h"
#include "printable.h"

namespace {

// The player's bindings as the plug-in loaded them, so a file given with
// --settings is driven with its own keys.
struct DemoKeys {
    uint32_t enterExit, leftDoors, throttleUp, throttleDown, brakeLight, brakeMedium, brakeHard, direction, panel,
        reloadModifier, reload, console;
};
DemoKeys Keys;
std::map<uint32_t, std::string> KeyNamesShown;  // each bound code by the name the settings wrote for it

void ReadBindings() {
    const SettingsRecord& s = PluginSettings();
    Keys = {s.enterExitKey,     s.openLeftDoorsKey, s.throttleUpKey,      s.throttleDownKey,
            s.brakeLightKey,    s.brakeMediumKey,   s.brakeHardKey,       s.changeDirectionKey,
            s.toggleGuiPositionKey, s.reloadIniFileModifierKey, s.reloadIniFileKey, s.toggleConsoleKey};
    for (size_t row = 0; row < LoadedKeyCount; ++row) {
        if (SettingKeys[row].kind != SettingKind::Binding) continue;
        uint32_t code = static_cast<uint32_t>(LoadedValue(s, row));
        KeyNamesShown[code] = BindingName(SettingKeys[row].name, code);
    }
}

std::string Name(uint32_t code) {
    if (KeyNamesShown.count(code)) return KeyNamesShown.at(code);
    std::string name = ShownKeyName(code);
    return name.empty() ? "key " + std::to_string(code) : name;
}

// The animated drive keeps a frame every tenth of a second and plays four
// times as fast as the game: the whole drive in about five seconds.
constexpr double AnimationEvery = 0.1;
constexpr double AnimationSpeedUp = 4.0;
// How long a key's caption stays after the key comes up, in game seconds.
constexpr double CaptionSeconds = 2.0;

struct DemoRecord {
    bool ansi = false;
    int train = 0;
    double speedFactor = 3.6;  // the unit at the start, kept for the whole chart
    DriveChart chart;
    AnimationFrame shot;     // the whole screen, with the console open
    AnimationFrame closeUp;  // the panel under the light brake
    AnimationFrame hint;     // on foot at the cab door, what F would do
    std::vector<AnimationFrame> animation;
    std::string caption;
    double captionUntil = 0;
    int fps = 60;
    long frames = 0;
    uint64_t elapsed = 0;  // microseconds of frames, so 1/144 s frames add up without drift
    double nextAnimationFrame = 0;
    bool everythingHappened = true;
};

DemoRecord Demo;

double Seconds() { return sim::Now() / 1000.0; }

AnimationFrame Snapshot() {
    const OverlayRecord& overlay = PluginOverlay();
    return {Seconds(), sim::TextsDrawn(), sim::BoxesDrawn(), overlay.panelX, overlay.panelY,
            Seconds() <= Demo.captionUntil ? Demo.caption : ""};
}

void Frame() {
    ++Demo.frames;
    const uint64_t end = static_cast<uint64_t>(std::llround(static_cast<double>(Demo.frames) * 1e6 / Demo.fps));
    sim::RunFrameMicroseconds(end - Demo.elapsed);
    Demo.elapsed = end;
    const DriveRecord& drive = PluginDrive();
    Demo.chart.samples.push_back({Seconds(), static_cast<double>(drive.speed) * Demo.speedFactor,
                                  static_cast<double>(drive.throttle), drive.brakeLevel});
    if (Seconds() >= Demo.nextAnimationFrame) {
        Demo.animation.push_back(Snapshot());
        Demo.nextAnimationFrame = Seconds() + AnimationEvery;
    }
}

// Game time passing, in frames at the demo's frame rate (one at least).
void Wait(double seconds) {
    const long count = std::max(1L, std::lround(seconds * Demo.fps));
    for (long i = 0; i < count; ++i) Frame();
}

// What a key does, said before it is pressed (the brakes and F toggle).
std::string Action(uint32_t vk) {
    const DriveRecord& drive = PluginDrive();
    auto brake = [&](int level, const char* name) {
        return std::string(drive.brakeLevel == level ? "brake off" : name);
    };
    if (vk == Keys.enterExit) return drive.driving ? "leave the train" : "board the train";
    if (vk == Keys.leftDoors) return "left doors";
    if (vk == Keys.throttleUp) return "throttle up";
    if (vk == Keys.throttleDown) return "throttle down";
    if (vk == Keys.brakeLight) return brake(1, "light brake");
    if (vk == Keys.brakeMedium) return brake(2, "medium brake");
    if (vk == Keys.brakeHard) return brake(3, "hard brake");
    if (vk == Keys.direction) return "change direction";
    if (vk == Keys.panel) return "move the panel";
    if (vk == Keys.console) return "console";
    if (vk == Keys.reload) return "reload the settings";
    return "";
}

// Down until done() says so (or for one frame when not given), then up:
// marked on the chart and captioned in the animation. A modifier is held
// around the key. The key is sent again every frame, as a keyboard repeats
// a held key. Returns how long it was held.
template <typename Done>
double HoldUntil(uint32_t vk, Done done, uint32_t modifier = 0) {
    const double from = Seconds();
    const std::string name = modifier ? Name(modifier) + " + " + Name(vk) : Name(vk);
    Demo.caption = name + ": " + Action(vk);
    Demo.captionUntil = 1e300;
    for (long frame = 0; frame < 10L * Demo.fps; ++frame) {
        if (modifier) sim::KeyDown(modifier);
        sim::KeyDown(vk);
        Frame();
        if (done()) break;
    }
    sim::KeyUp(vk);
    if (modifier) sim::KeyUp(modifier);
    Demo.chart.keys.push_back({from, Seconds(), name});
    Demo.captionUntil = Seconds() + CaptionSeconds;
    return Seconds() - from;
}

// Down, one frame, up: a short press the plug-in sees in that frame.
void Press(uint32_t vk, uint32_t modifier = 0) {
    HoldUntil(vk, [] { return true; }, modifier);
}

std::string Pace() {
    const uint32_t perSecond = PluginSettings().speedStepsPerSecond;
    return perSecond == 0 ? "one step a frame" : std::to_string(perSecond) + " steps a second";
}

void Expect(bool happened, const char* what) {
    if (happened) return;
    std::printf("    !! expected: %s\n", what);
    Demo.everythingHappened = false;
}

// What happened, then what the player sees on the last frame: on foot the
// line at the panel's place is the hint.
void Show(const std::string& what) {
    std::printf("[%6.2f s] %s\n", sim::Now() / 1000.0, what.c_str());
    std::vector<std::string> lines = sim::PanelLines();
    const bool onFoot = !PluginDrive().driving;
    if (lines.empty() || onFoot) std::printf("    (no driver panel on the screen)\n");
    for (const std::string& line : lines)
        std::printf(onFoot ? "    hint: %s\n" : "    | %s\n", ColouredLine(line, Demo.ansi).c_str());
    if (sim::ConsoleDrawn()) {
        std::printf("    console:\n");
        std::istringstream text(sim::ConsoleTextDrawn());
        for (std::string line; std::getline(text, line);) std::printf("    > %s\n", line.c_str());
    }
}

std::string DoorsText() {
    const sim::Entity& train = sim::Get(Demo.train);
    const sim::Entity& carriage = sim::Get(train.carriage);
    auto side = [&](int a, int b, int c, int d) {
        bool open = train.doors[a] && train.doors[b] && carriage.doors[c] && carriage.doors[d];
        bool shut = !train.doors[a] && !train.doors[b] && !carriage.doors[c] && !carriage.doors[d];
        return open ? "open" : shut ? "shut" : "partly open";
    };
    return std::string("left doors ") + side(0, 2, 1, 3) + ", right doors " + side(1, 3, 0, 2);
}

std::string Fixed(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

void Caption(const char* text) {
    Demo.caption = text;
    Demo.captionUntil = 1e300;
}

// Three metres to the side of the cab door first, where F boards nothing
// and the hint (show_hints=1) says why, then at the door.
void WalkUpToTheCab() {
    Demo.train = PlaceTrainAndPlayer("metrotrain");
    const sim::Vec3 door = sim::Get(sim::Player()).position;
    sim::PlacePlayer({door.x - 3.0f, door.y, door.z});
    Caption("Three metres from the metro train's cab door");
    Wait(0.65);
    Show("The player walks up to a metro train, three metres from its cab door.");
    Press(Keys.enterExit);
    Expect(!PluginDrive().driving, "F boards nothing three metres from the cab door");
    Show(Name(Keys.enterExit) + ": too far from the cab door, nothing to board.");
    sim::PlacePlayer(door);
    Caption("By the metro train's cab door");
    Wait(3.25);  // the reason stays 3 s
    Demo.hint = Snapshot();
    Show("The player stands half a metre from the metro train's cab door.");
}

void BoardAndDoors() {
    WalkUpToTheCab();
    Press(Keys.enterExit);
    Expect(PluginDrive().driving, "F seats the player");
    Show(Name(Keys.enterExit) + ": the player takes the driver's seat.");
    Wait(0.25);
    Press(Keys.leftDoors);
    Show(Name(Keys.leftDoors) + ": " + DoorsText() + ".");
    Wait(0.25);
    Press(Keys.leftDoors);
    Expect(!sim::Get(Demo.train).doors[0], "the second press shuts the left doors");
    Show(Name(Keys.leftDoors) + " again: " + DoorsText() + ".");
}

void ThrottleAndSettle() {
    double held = HoldUntil(Keys.throttleUp, [] { return PluginDrive().throttle >= 50.0f; });
    Show(Name(Keys.throttleUp) + " held for " + Fixed("%.2f", held) + " s: the throttle climbs to 50 %, " + Pace() +
         ".");
    int seconds = 0;
    double before = -1;
    while (seconds < 60 && std::fabs(PluginDrive().speed - before) > 0.1) {
        before = PluginDrive().speed;
        Wait(1.0);
        ++seconds;
    }
    Show("Ran " + std::to_string(seconds) + " s until the speed settled (train at y = " +
         Fixed("%.0f", sim::Get(Demo.train).position.y) + " m).");
}

void BrakeToStop() {
    double held = HoldUntil(Keys.throttleDown, [] { return PluginDrive().throttle <= 0.0f; });
    Show(Name(Keys.throttleDown) + " held for " + Fixed("%.2f", held) + " s: throttle back to 0; the train coasts.");
    Press(Keys.brakeLight);
    Wait(2.0);
    Demo.closeUp = Snapshot();
    Show(Name(Keys.brakeLight) + ": light brake for two seconds.");
    Press(Keys.brakeMedium);
    Wait(2.0);
    Show(Name(Keys.brakeMedium) + ": medium brake for two seconds.");
    Press(Keys.brakeHard);
    const double braked = Seconds();
    for (long frame = 0; PluginDrive().speed > 0.0f && frame < 60L * Demo.fps; ++frame) Frame();
    Expect(PluginDrive().speed == 0.0f, "the hard brake stops the train");
    Show(Name(Keys.brakeHard) + ": hard brake, stopped after " + Fixed("%.2f", Seconds() - braked) + " s.");
    Press(Keys.brakeHard);
    Wait(0.25);
    Show(Name(Keys.brakeHard) + " again: brake released.");
}

void DirectionAndPanel() {
    Wait(0.33);
    Press(Keys.direction);
    Expect(PluginDrive().direction == -1, "the direction key turns the train round while stopped");
    Show(Name(Keys.direction) + ": direction changed (only allowed while stopped).");
    for (int press = 1; press <= 5; ++press) {
        Wait(0.25);
        Press(Keys.panel);
        const OverlayRecord& overlay = PluginOverlay();
        if (!overlay.panelVisible)
            Show(Name(Keys.panel) + ": the panel is hidden.");
        else
            Show(Name(Keys.panel) + ": the panel moves to position " + std::to_string(overlay.panelSlot) + " (" +
                 Fixed("%.2f", overlay.panelX) + ", " + Fixed("%.2f", overlay.panelY) + ").");
    }
}

// The frame with the console open is the one pictured: panel and console
// together, colour markers in both states.
void ConsoleReloadLeave() {
    Wait(0.25);
    Press(Keys.console);
    Expect(sim::ConsoleDrawn(), "the console key shows the console");
    Demo.shot = Snapshot();
    Show(Name(Keys.console) + ": the console shows the boarding distances the plug-in measured.");

    std::string changed;
    {
        std::ifstream in("Velquorin.ini", std::ios::binary);
        std::ostringstream all;
        all << in.rdbuf();
        std::string text = all.str();
        size_t at = text.find("use_metric_system=1");
        if (at != std::string::npos) {
            text.replace(at, 19, "use_metric_system=0");
            std::ofstream("Velquorin.ini", std::ios::binary | std::ios::trunc) << text;
            changed = " (use_metric_system set to 0 in the working copy first: the panel now shows mph)";
        }
    }
    Wait(0.67);
    Press(Keys.reload, Keys.reloadModifier);
    Show(Name(Keys.reloadModifier) + " + " + Name(Keys.reload) + ": settings reloaded" + changed + "; the panel is back at position 0.");

    Wait(0.67);
    Press(Keys.enterExit);
    Expect(!PluginDrive().driving, "F sets the player down");
    const sim::Vec3 at = sim::Get(sim::Player()).position;
    Show(Name(Keys.enterExit) + ": the player leaves the cab and stands at (" + Fixed("%.2f", at.x) + ", " + Fixed("%.2f", at.y) + ", " +
         Fixed("%.2f", at.z) + ").");
}

}  // namespace

int RunDemo(const DemoOptions& options) {
    std::string settingsPath = options.settings.empty() ? "" : AbsolutePath(options.settings);
    std::string outDir = AbsolutePath(options.out);
    std::filesystem::create_directories(outDir);
    Demo.ansi = isatty(STDOUT_FILENO) != 0;

    std::printf("Velquorin desk demo: the plug-in's own code driving a metro train in the simulated host.\n");
    std::printf("Settings: %s\n\n", Printable(PrepareSettings(settingsPath)).c_str());
    sim::SetTickGranularity(sim::TickGranularity::Coarse);  // Windows' own 64 Hz tick
    sim::Load();
    Demo.fps = options.fps;
    Frame();  // the plug-in reads its settings as its script starts
    ReadBindings();
    Demo.speedFactor = PanelSpeed(1.0f);
    Demo.chart.unit = PanelUnit();
    Demo.chart.topSpeed = PanelSpeed(PluginSettings().maxSpeedMetro);
    Demo.chart.title = "Desk demo: a metro train driven with the default keys";

    BoardAndDoors();
    ThrottleAndSettle();
    BrakeToStop();
    DirectionAndPanel();
    ConsoleReloadLeave();

    const std::string shot = outDir + "/screenshot.png", panel = outDir + "/panel.png",
                      chart = outDir + "/drive-chart.png", animation = outDir + "/drive.gif",
                      hint = outDir + "/hint.png";
    const AnimationFrame& up = Demo.closeUp;
    const AnimationFrame& door = Demo.hint;
    bool pictures = WriteScreenshot(shot, Demo.shot.texts, Demo.shot.boxes) &&
                    WritePanelCloseUp(panel, up.texts, up.boxes, up.panelX, up.panelY) &&
                    WritePanelCloseUp(hint, door.texts, door.boxes, door.panelX, door.panelY) &&
                    WriteChart(chart, Demo.chart) && WriteAnimation(animation, Demo.animation, AnimationSpeedUp);
    std::printf("\n%zu frames in %.1f s of game time, at %d frames a second, %s.\n", Demo.chart.samples.size(),
                sim::Now() / 1000.0, Demo.fps, Pace().c_str());
    std::printf("Screenshot of the frame with the console open: %s\nThe panel under the light brake: %s\n", shot.c_str(),
                panel.c_str());
    std::printf("On foot at the cab door, the hint: %s\n", hint.c_str());
    std::printf("Chart of the drive: %s\nThe drive, animated: %s\n", chart.c_str(), animation.c_str());
    for (const std::string& fault : sim::Faults()) std::printf("host fault: %s\n", fault.c_str());
    bool clean = sim::Faults().empty();
    sim::Unload();
    if (!pictures) std::fprintf(stderr, "could not write the pictures to %s\n", outDir.c_str());
    return clean && pictures && Demo.everythingHappened ? 0 : 1;
}
