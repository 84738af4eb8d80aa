// What the subcommands of velquorin-sim share: the plug-in's globals, the
// panel's colours on a terminal, and the two pictures.
#pragma once
#include <string>
#include <vector>

#include "driving/drive_state.h"
#include "overlay/overlay_state.h"
#include "settings/settings.h"
#include "sim/sim.h"

// Velquorin.ini as shipped, built into the program.
extern const char* const DefaultSettingsText;

// [SECTION] The plug-in's globals, read through the loaded library
DriveRecord& PluginDrive();
OverlayRecord& PluginOverlay();
SettingsRecord& PluginSettings();
// A speed in the panel's unit (km/h or mph, as the settings say).
double PanelSpeed(float speed);
const char* PanelUnit();

// [SECTION] Starting a run
// A fresh working directory holding the settings: the player's file when
// path is not empty, else the built-in ones. Returns a line that says which.
// Throws std::runtime_error when the player's file cannot be read. The
// directory goes when the program ends, by any way but SIGKILL.
std::string PrepareSettings(const std::string& path);
// The working copy made again from the player's file as it is now (or
// removed when it cannot be read, as the game would find no file); says
// what happened.
std::string RefreshSettings(const std::string& path);
void RemoveWorkingDirectory();
// The track the desk uses: the train at the origin, the player by its cab.
int PlaceTrainAndPlayer(const std::string& model);
// Where a train's cab door is now, and the spot below it the desk stands
// the player on, close enough to board.
sim::Vec3 CabDoor(int train);
sim::Vec3 SpotByCabDoor(int train);
// Makes a path given on the command line absolute before the working
// directory moves.
std::string AbsolutePath(const std::string& path);

// [SECTION] Text
// A binding of the [keys] section by the name the working copy wrote for
// it ("ALT"), else its code's main name ("MENU"), else "key N".
std::string BindingName(const char* key, uint32_t code);
// A drawn line with the "~g~"/"~r~" markers turned into ANSI colours, or
// taken out for plain text.
std::string ColouredLine(const std::string& text, bool ansi);

// [SECTION] Pictures
struct DriveSample {
    double seconds = 0;
    double speed = 0;     // in the panel's unit
    double throttle = 0;  // percent
    int brakeLevel = 0;
};
// A key the player pressed, from its going down to its coming up.
struct KeyMark {
    double from = 0, to = 0;  // seconds
    std::string key;          // its name, as the narration gives it
};
struct DriveChart {
    std::string title;
    std::string unit;
    double topSpeed = 0;  // the model's top speed at full throttle, in unit
    std::vector<DriveSample> samples;
    std::vector<KeyMark> keys;  // drawn along the time axis when given
};
constexpr int ScreenWidth = 1920;
constexpr int ScreenHeight = 1080;
constexpr double ScreenBackground[3] = {0.36, 0.45, 0.50};
constexpr int CloseUpWidth = 560;
constexpr int CloseUpHeight = 320;
bool WriteScreenshot(const std::string& path, const std::vector<sim::DrawnText>& texts,
                     const std::vector<sim::DrawnBox>& boxes);
// CloseUpWidth x CloseUpHeight around the panel's anchor, at twice the size.
bool WritePanelCloseUp(const std::string& path, const std::vector<sim::DrawnText>& texts,
                       const std::vector<sim::DrawnBox>& boxes, double panelX, double panelY);
bool WriteChart(const std::string& path, const DriveChart& chart);

// The same run at several frame rates, in two panels: the speed model once
// a frame, and paced by speed_steps_per_second.
struct SpeedSeries {
    std::string label;  // "144 frames a second"
    std::vector<DriveSample> samples;
};
struct FrameRatePanel {
    std::string title;
    std::vector<SpeedSeries> series;
};
struct FrameRateChart {
    std::string title;
    std::string unit;
    double topSpeed = 0;
    FrameRatePanel panels[2];
};
bool WriteFrameRateChart(const std::string& path, const FrameRateChart& chart);

// One picture of the animated drive: what was drawn, where the panel's
// anchor stood, and a line saying what the player just did.
struct AnimationFrame {
    double seconds = 0;
    std::vector<sim::DrawnText> texts;
    std::vector<sim::DrawnBox> boxes;
    double panelX = 0, panelY = 0;
    std::string caption;
};
constexpr int AnimationWidth = 600;
constexpr int AnimationHeight = 200;
// A looping GIF, each frame shown for its share of game time sped up by
// speedUp: the panel close up on the left, the whole screen small on the
// right with the caption under it.
bool WriteAnimation(const std::string& path, const std::vector<AnimationFrame>& frames, double speedUp);

// [SECTION] Subcommands, with their command lines' values (paths as given)
struct DemoOptions {
    std::string settings;  // "": the shipped settings
    std::string out = ".";
    int fps = 60;
};
struct DriveOptions {
    std::string settings;
    std::string model = "metrotrain";
};
struct PlotOptions {
    int throttle = 0;  // percent
    int brake = 0;
    std::string model;
    long frames = 0;  // 0: until the speed settles, then a second more
    int fps = 60;
    bool frameRates = false;  // the run at 30, 60, 144 and 240 frames a second, paced and not
    std::string settings;
    std::string out = "velquorin-plot.png";
};
int RunDemo(const DemoOptions& options);
int RunDrive(const DriveOptions& options);
int RunPlot(const PlotOptions& options);
