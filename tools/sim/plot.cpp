// velquorin-plot: the speed of a train run from rest at a fixed throttle
// and brake, to see how long it takes to reach its top speed, at one frame
// rate or, side by side, at four.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "desk.h"

namespace {

constexpr long MostFrames = 1000000;
constexpr int ComparedFrameRates[] = {30, 60, 144, 240};
constexpr uint32_t ComparedStepRate = 60;  // the shipped file's

struct PlotRun {
    std::vector<DriveSample> samples;
    long frames = 0;
    double reachedSeconds = -1;  // within 1 % of the throttle's limit
    double limit = 0;            // in the panel's unit
    double topSpeed = 0;
};

// One run from rest on Windows' 64 Hz tick, frames of 1/fps s. The steps a
// second are the settings file's unless overridden (stepsPerSecond >= 0).
// Without a frame count the run ends once a second's top speed is that of
// the second before: the speed has settled.
bool RunFromRest(const PlotOptions& options, int fps, long stepsPerSecond, PlotRun& run) {
    sim::Reset();
    sim::SetTickGranularity(sim::TickGranularity::Coarse);
    sim::Load();
    PlaceTrainAndPlayer(options.model);
    sim::RunFrames(40);
    if (stepsPerSecond >= 0) PluginSettings().speedStepsPerSecond = static_cast<uint32_t>(stepsPerSecond);
    sim::TapKey(PluginSettings().enterExitKey);  // boarding goes through the plug-in
    if (!PluginDrive().driving) {
        std::fprintf(stderr, "velquorin-sim plot: the player could not board (is enter_exit bound to a key?)\n");
        return false;
    }
    // The levers are set straight in the drive record: the run is about the
    // speed model, not about how long a key takes to move them.
    DriveRecord& drive = PluginDrive();
    drive.throttle = static_cast<float>(options.throttle);
    drive.brakeLevel = options.brake;

    const float top = options.model == "freight" ? PluginSettings().maxSpeedFreight : PluginSettings().maxSpeedMetro;
    run.topSpeed = PanelSpeed(top);
    run.limit = PanelSpeed(top) * options.throttle / 100.0;
    double windowTop = 0, lastWindowTop = -1;
    uint64_t elapsed = 0;  // microseconds, so that frames of 1/144 s add up without drift
    for (long frame = 1; frame <= (options.frames ? options.frames : MostFrames); ++frame) {
        const uint64_t end = static_cast<uint64_t>(std::llround(static_cast<double>(frame) * 1e6 / fps));
        sim::RunFrameMicroseconds(end - elapsed);
        elapsed = end;
        run.frames = frame;
        const double speed = PanelSpeed(drive.speed), seconds = static_cast<double>(elapsed) / 1e6;
        run.samples.push_back({seconds, speed, static_cast<double>(drive.throttle), drive.brakeLevel});
        if (run.reachedSeconds < 0 && run.limit > 0 && speed >= 0.99 * run.limit) run.reachedSeconds = seconds;
        windowTop = std::max(windowTop, speed);
        if (frame % fps != 0) continue;
        if (!options.frames && std::fabs(windowTop - lastWindowTop) < 0.01) break;
        lastWindowTop = windowTop;
        windowTop = 0;
    }
    return sim::Faults().empty();
}

std::string Pace(uint32_t stepsPerSecond) {
    return stepsPerSecond == 0 ? "once a frame" : std::to_string(stepsPerSecond) + " steps a second";
}

int PlotOneFrameRate(const PlotOptions& options, const std::string& out) {
    PlotRun run;
    if (!RunFromRest(options, options.fps, -1, run)) return 1;
    const uint32_t pace = PluginSettings().speedStepsPerSecond;
    DriveChart chart;
    chart.unit = PanelUnit();
    chart.topSpeed = run.topSpeed;
    chart.samples = run.samples;
    chart.title = options.model + " from rest: throttle " + std::to_string(options.throttle) + " %, brake " +
                  std::to_string(options.brake) + ", " + std::to_string(options.fps) + " frames a second, " +
                  Pace(pace);
    bool written = WriteChart(out, chart);
    std::printf("%s: top speed %.0f %s at full throttle, %.0f %s at %d %%\n", options.model.c_str(), run.topSpeed,
                chart.unit.c_str(), run.limit, chart.unit.c_str(), options.throttle);
    std::printf("speed model: %s (speed_steps_per_second = %u)\n", Pace(pace).c_str(), pace);
    std::printf("after %ld frames (%.2f s at %d frames a second): %.1f %s\n", run.frames, run.samples.back().seconds,
                options.fps, run.samples.back().speed, chart.unit.c_str());
    if (run.reachedSeconds >= 0)
        std::printf("within 1 %% of %.0f %s after %.2f s\n", run.limit, chart.unit.c_str(), run.reachedSeconds);
    else
        std::printf("never within 1 %% of %.0f %s in this run\n", run.limit, chart.unit.c_str());
    std::printf("chart: %s\n", out.c_str());
    return written ? 0 : 1;
}

int PlotFourFrameRates(const PlotOptions& options, const std::string& out) {
    FrameRateChart chart;
    const uint32_t paces[2] = {0, ComparedStepRate};
    for (int p = 0; p < 2; ++p) {
        FrameRatePanel& panel = chart.panels[p];
        panel.title = "speed_steps_per_second = " + std::to_string(paces[p]) + ": " + Pace(paces[p]) +
                      (p == 0 ? ", faster on a faster machine" : ", as shipped");
        for (int fps : ComparedFrameRates) {
            PlotRun run;
            if (!RunFromRest(options, fps, paces[p], run)) return 1;
            chart.unit = PanelUnit();
            chart.topSpeed = run.topSpeed;
            panel.series.push_back({std::to_string(fps) + " frames a second", run.samples});
            std::printf("%s, %3d frames a second: ", Pace(paces[p]).c_str(), fps);
            if (run.reachedSeconds >= 0)
                std::printf("within 1 %% of %.0f %s after %.2f s\n", run.limit, chart.unit.c_str(), run.reachedSeconds);
            else
                std::printf("never within 1 %% of %.0f %s in %.2f s\n", run.limit, chart.unit.c_str(),
                            run.samples.back().seconds);
        }
    }
    chart.title = options.model + " from rest at throttle " + std::to_string(options.throttle) + " %, brake " +
                  std::to_string(options.brake) + ", at four frame rates";
    bool written = WriteFrameRateChart(out, chart);
    std::printf("chart: %s\n", out.c_str());
    return written ? 0 : 1;
}

}  // namespace

int RunPlot(const PlotOptions& options) {
    std::string settingsPath = options.settings.empty() ? "" : AbsolutePath(options.settings);
    std::string out = AbsolutePath(options.out);
    PrepareSettings(settingsPath);
    int status = options.frameRates ? PlotFourFrameRates(options, out) : PlotOneFrameRate(options, out);
    if (sim::Loaded()) sim::Unload();
    return status;
}
