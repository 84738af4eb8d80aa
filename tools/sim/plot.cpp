// velquorin-sim plot: the speed of a train run from rest at a fixed
// throttle and brake, to see how long it takes to reach its top speed.
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include "desk.h"

namespace {

constexpr const char* Usage =
    "usage: velquorin-sim plot --throttle 0..100 --brake 0..3 --model freight|metrotrain --frames N\n"
    "                          [--settings PATH] [--out FILE]\n";

bool ReadNumber(const std::string& text, long low, long high, long& value) {
    char* end = nullptr;
    value = std::strtol(text.c_str(), &end, 10);
    return !text.empty() && *end == '\0' && value >= low && value <= high;
}

}  // namespace

int RunPlot(const std::vector<std::string>& args) {
    long throttle = -1, brake = 0, frames = -1;
    std::string model, settingsPath, out = "velquorin-plot.png";
    for (size_t i = 0; i < args.size(); ++i) {
        bool hasValue = i + 1 < args.size();
        const std::string value = hasValue ? args[i + 1] : "";
        bool ok = hasValue;
        if (args[i] == "--throttle")
            ok = ok && ReadNumber(value, 0, 100, throttle);
        else if (args[i] == "--brake")
            ok = ok && ReadNumber(value, 0, 3, brake);
        else if (args[i] == "--frames")
            ok = ok && ReadNumber(value, 1, 1000000, frames);
        else if (args[i] == "--model")
            model = value, ok = ok && (model == "freight" || model == "metrotrain");
        else if (args[i] == "--settings")
            settingsPath = AbsolutePath(value);
        else if (args[i] == "--out")
            out = value;
        else
            ok = false;
        if (!ok) {
            std::fprintf(stderr, "velquorin-sim plot: bad or missing value for %s\n%s", args[i].c_str(), Usage);
            return 2;
        }
        ++i;
    }
    if (throttle < 0 || frames < 0 || model.empty()) {
        std::fprintf(stderr, "%s", Usage);
        return 2;
    }
    out = AbsolutePath(out);
    PrepareSettings(settingsPath);
    sim::Load();
    PlaceTrainAndPlayer(model);
    sim::RunFrames(40);
    sim::TapKey(70);  // the F key, bound or not: boarding goes through the plug-in
    if (!PluginDrive().driving) {
        std::fprintf(stderr, "velquorin-sim plot: the player could not board (is enter_exit bound to F?)\n");
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
    chart.title = model + " from rest: throttle " + std::to_string(throttle) + " %, brake " + std::to_string(brake) +
                  ", " + std::to_string(frames) + " frames";
    const double limit = PanelSpeed(top) * static_cast<double>(throttle) / 100.0;
    double reached = -1;
    for (long frame = 1; frame <= frames; ++frame) {
        sim::RunFrame();
        double speed = PanelSpeed(drive.speed);
        double seconds = static_cast<double>(frame) * 0.016;
        chart.samples.push_back({seconds, speed, static_cast<double>(drive.throttle), drive.brakeLevel});
        if (reached < 0 && limit > 0 && speed >= 0.99 * limit) reached = seconds;
    }
    bool written = WriteChart(out, chart);
    std::printf("%s: top speed %.0f %s at full throttle, %.0f %s at %ld %%\n", model.c_str(), PanelSpeed(top),
                chart.unit.c_str(), limit, chart.unit.c_str(), throttle);
    std::printf("after %ld frames (%.2f s): %.1f %s\n", frames, static_cast<double>(frames) * 0.016, chart.samples.back().speed,
                chart.unit.c_str());
    if (reached >= 0)
        std::printf("within 1 %% of %.0f %s after %.2f s\n", limit, chart.unit.c_str(), reached);
    else
        std::printf("never within 1 %% of %.0f %s in this run\n", limit, chart.unit.c_str());
    std::printf("chart: %s\n", out.c_str());
    bool clean = sim::Faults().empty();
    sim::Unload();
    return written && clean ? 0 : 1;
}
