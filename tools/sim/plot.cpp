// velquorin-sim plot: the speed of a train run from rest at a fixed
// throttle and brake, to see how long it takes to reach its top speed.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "desk.h"

namespace {

// The speed model steps once a frame, whatever the frame's length, so a
// run is counted in frames and told in seconds at the game's usual rate.
constexpr double FramesPerSecond = 60.0;
constexpr long SettleWindow = 60;  // frames: a second
constexpr long MostFrames = 1000000;

}  // namespace

int RunPlot(const PlotOptions& options) {
    const long throttle = options.throttle, brake = options.brake;
    const std::string& model = options.model;
    std::string settingsPath = options.settings.empty() ? "" : AbsolutePath(options.settings);
    std::string out = AbsolutePath(options.out);
    PrepareSettings(settingsPath);
    sim::Load();
    PlaceTrainAndPlayer(model);
    sim::RunFrames(40);
    sim::TapKey(PluginSettings().enterExitKey);  // boarding goes through the plug-in
    if (!PluginDrive().driving) {
        std::fprintf(stderr, "velquorin-sim plot: the player could not board (is enter_exit bound to a key?)\n");
        return 1;
    }
    // The levers are set straight in the drive record: the run is about the
    // speed model, not about how long a key takes to move them.
    DriveRecord& drive = PluginDrive();
    drive.throttle = static_cast<float>(throttle);
    drive.brakeLevel = static_cast<int>(brake);

    const float top = model == "freight" ? PluginSettings().maxSpeedFreight : PluginSettings().maxSpeedMetro;
    DriveChart chart;
    chart.unit = PanelUnit();
    chart.topSpeed = PanelSpeed(top);
    const double limit = PanelSpeed(top) * static_cast<double>(throttle) / 100.0;
    long reached = -1;  // the frame
    // Without a frame count the run ends once a second's top speed is that
    // of the second before: the speed has settled.
    double windowTop = 0, lastWindowTop = -1;
    long frames = 0;
    for (long frame = 1; frame <= (options.frames ? options.frames : MostFrames); ++frame) {
        sim::RunFrame();
        frames = frame;
        double speed = PanelSpeed(drive.speed);
        double seconds = static_cast<double>(frame) / FramesPerSecond;
        chart.samples.push_back({seconds, speed, static_cast<double>(drive.throttle), drive.brakeLevel});
        if (reached < 0 && limit > 0 && speed >= 0.99 * limit) reached = frame;
        windowTop = std::max(windowTop, speed);
        if (frame % SettleWindow != 0) continue;
        if (!options.frames && std::fabs(windowTop - lastWindowTop) < 0.01) break;
        lastWindowTop = windowTop;
        windowTop = 0;
    }
    chart.title = model + " from rest: throttle " + std::to_string(throttle) + " %, brake " + std::to_string(brake) +
                  ", " + std::to_string(frames) + " frames";
    bool written = WriteChart(out, chart);
    std::printf("%s: top speed %.0f %s at full throttle, %.0f %s at %ld %%\n", model.c_str(), PanelSpeed(top),
                chart.unit.c_str(), limit, chart.unit.c_str(), throttle);
    std::printf("after %ld frames (%.2f s at 60 frames a second): %.1f %s\n", frames,
                static_cast<double>(frames) / FramesPerSecond, chart.samples.back().speed, chart.unit.c_str());
    if (reached >= 0)
        std::printf("within 1 %% of %.0f %s after %ld frames (%.2f s at 60 frames a second)\n", limit,
                    chart.unit.c_str(), reached, static_cast<double>(reached) / FramesPerSecond);
    else
        std::printf("never within 1 %% of %.0f %s in this run\n", limit, chart.unit.c_str());
    std::printf("chart: %s\n", out.c_str());
    bool clean = sim::Faults().empty();
    sim::Unload();
    return written && clean ? 0 : 1;
}
