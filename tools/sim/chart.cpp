// The chart of a drive: speed and throttle against time above, the brake
// level below, the keys pressed along the time axis, the model's top speed
// and the fastest moment marked. The throttle shares the speed axis: 100 %
// sits at the top speed, so a steady throttle meets the speed it settles at.
#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "chart_parts.h"
#include "desk.h"

namespace {

constexpr int Width = 1000;
constexpr double Left = 70, Right = 930, Top = 50, SpeedBottom = 400, BrakeTop = 430, BrakeBottom = 510;
// The key strip under the brake panel: rows of key names, so close presses
// do not write over each other.
constexpr double KeyTop = BrakeBottom + 22, KeyRow = 16;
constexpr int KeyRows = 3;

// The time axis's labels go under the key strip when there is one.
double TimeLabels(const DriveChart& chart) { return chart.keys.empty() ? BrakeBottom + 16 : KeyTop + KeyRows * KeyRow; }

void DrawAxes(cairo_t* cr, const Scale& time, const Scale& speed, const DriveChart& chart) {
    cairo_set_line_width(cr, 1);
    cairo_set_font_size(cr, 12);
    SpeedGrid(cr, speed, Left, Right);
    for (int p = 0; p <= 100; p += 25) {
        cairo_set_source_rgb(cr, 0.85, 0.45, 0.1);
        Label(cr, Right + 6, speed.At(chart.topSpeed * p / 100.0) + 4, std::to_string(p) + " %", 0.0);
    }
    double tstep = TickStep(time.to);
    for (double t = 0; t <= time.to + 1e-9; t += tstep) {
        cairo_set_source_rgb(cr, 0.2, 0.2, 0.2);
        Label(cr, time.At(t), TimeLabels(chart), Number(t), 0.5);
    }
    Label(cr, Right + 6, TimeLabels(chart), "s", 0.0);
    cairo_save(cr);
    cairo_translate(cr, 22, (Top + SpeedBottom) / 2);
    cairo_rotate(cr, -M_PI / 2);
    Label(cr, 0, 0, "speed (" + chart.unit + ")", 0.5);
    cairo_restore(cr);
    const char* levels[] = {"off", "light", "medium", "hard"};
    for (int level = 0; level <= 3; ++level)
        Label(cr, Left - 6, BrakeBottom - (BrakeBottom - BrakeTop) * level / 3.0 + 4, levels[level], 1.0);
    cairo_set_source_rgb(cr, 0.3, 0.3, 0.3);
    cairo_rectangle(cr, Left, Top, Right - Left, SpeedBottom - Top);
    cairo_rectangle(cr, Left, BrakeTop, Right - Left, BrakeBottom - BrakeTop);
    cairo_stroke(cr);
}

template <typename ValueOf>
void DrawSeries(cairo_t* cr, const DriveChart& chart, const Scale& time, ValueOf y, bool steps) {
    bool first = true;
    double lastY = 0;
    for (const DriveSample& s : chart.samples) {
        double x = time.At(s.seconds), yy = y(s);
        if (first)
            cairo_move_to(cr, x, yy);
        else if (steps)
            cairo_line_to(cr, x, lastY), cairo_line_to(cr, x, yy);
        else
            cairo_line_to(cr, x, yy);
        first = false;
        lastY = yy;
    }
    cairo_stroke(cr);
}

void MarkTopSpeed(cairo_t* cr, const DriveChart& chart, const Scale& time, const Scale& speed) {
    cairo_set_font_size(cr, 12);
    TopSpeedLine(cr, Left, Right, speed.At(chart.topSpeed));
    char text[96];
    std::snprintf(text, sizeof text, "top speed at full throttle: %.0f %s", chart.topSpeed, chart.unit.c_str());
    Label(cr, Right - 6, speed.At(chart.topSpeed) - 5, text, 1.0);

    auto fastest = std::max_element(chart.samples.begin(), chart.samples.end(),
                                    [](const DriveSample& a, const DriveSample& b) { return a.speed < b.speed; });
    if (fastest == chart.samples.end()) return;
    double x = time.At(fastest->seconds), y = speed.At(fastest->speed);
    cairo_set_source_rgb(cr, 0.05, 0.25, 0.65);
    cairo_arc(cr, x, y, 4, 0, 2 * M_PI);
    cairo_fill(cr);
    std::snprintf(text, sizeof text, "fastest: %.0f %s at %.1f s", fastest->speed, chart.unit.c_str(),
                  fastest->seconds);
    // Below the point when the top-speed label sits just above it.
    double labelY = std::fabs(y - speed.At(chart.topSpeed)) < 24 ? y + 18 : y - 8;
    Label(cr, x > (Left + Right) / 2 ? x - 8 : x + 8, labelY, text, x > (Left + Right) / 2 ? 1.0 : 0.0);
}

// Presses of one key less than half a second apart make one mark: "F5 x5".
std::vector<KeyMark> Grouped(const std::vector<KeyMark>& keys, std::vector<int>& counts) {
    std::vector<KeyMark> groups;
    for (const KeyMark& key : keys) {
        if (!groups.empty() && groups.back().key == key.key && key.from - groups.back().to < 0.5) {
            groups.back().to = key.to;
            ++counts.back();
            continue;
        }
        groups.push_back(key);
        counts.push_back(1);
    }
    return groups;
}

void DrawKeys(cairo_t* cr, const DriveChart& chart, const Scale& time) {
    std::vector<int> counts;
    std::vector<KeyMark> groups = Grouped(chart.keys, counts);
    double rowEnd[KeyRows] = {};
    cairo_set_font_size(cr, 11);
    cairo_set_line_width(cr, 1);
    for (size_t i = 0; i < groups.size(); ++i) {
        std::string text = groups[i].key + (counts[i] > 1 ? " x" + std::to_string(counts[i]) : "");
        cairo_text_extents_t extents;
        cairo_text_extents(cr, text.c_str(), &extents);
        double x = time.At(groups[i].from), end = std::max(time.At(groups[i].to), x + 2);
        int row = 0;
        while (row + 1 < KeyRows && rowEnd[row] > x) ++row;
        rowEnd[row] = std::max(end, x + extents.x_advance) + 6;
        double y = KeyTop + row * KeyRow;
        // A thin line up to the time axis, the held span as a bar, the name.
        cairo_set_source_rgb(cr, 0.6, 0.6, 0.6);
        cairo_move_to(cr, x + 0.5, BrakeBottom);
        cairo_line_to(cr, x + 0.5, y - 9);
        cairo_stroke(cr);
        cairo_set_source_rgb(cr, 0.45, 0.2, 0.6);
        cairo_rectangle(cr, x, y - 10, end - x, 3);
        cairo_fill(cr);
        Label(cr, std::min(x, Width - 4 - extents.x_advance), y + 2, text, 0.0);
    }
}

void DrawLegend(cairo_t* cr) {
    struct Entry {
        const char* name;
        double r, g, b;
    } entries[] = {{"speed", 0.05, 0.25, 0.65}, {"throttle", 0.85, 0.45, 0.1}, {"brake", 0.35, 0.35, 0.35}};
    double x = Left;
    cairo_set_font_size(cr, 12);
    for (const Entry& e : entries) {
        cairo_set_source_rgb(cr, e.r, e.g, e.b);
        cairo_rectangle(cr, x, Top - 14, 18, 4);
        cairo_fill(cr);
        cairo_set_source_rgb(cr, 0.2, 0.2, 0.2);
        Label(cr, x + 24, Top - 9, e.name, 0.0);
        x += 100;
    }
}

}  // namespace

bool WriteChart(const std::string& path, const DriveChart& chart) {
    double lastSecond = chart.samples.empty() ? 1.0 : std::max(chart.samples.back().seconds, 0.1);
    double fastest = chart.topSpeed;
    for (const DriveSample& s : chart.samples) fastest = std::max(fastest, s.speed);
    double speedTop = std::max(1.0, fastest * 1.1);
    speedTop = std::ceil(speedTop / TickStep(speedTop)) * TickStep(speedTop);
    const Scale time{0, lastSecond, Left, Right};
    const Scale speed{0, speedTop, SpeedBottom, Top};

    const int height = static_cast<int>(TimeLabels(chart) + 12);
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, Width, height);
    cairo_t* cr = StartChart(surface, Width, chart.title);
    DrawAxes(cr, time, speed, chart);
    DrawLegend(cr);

    cairo_set_line_width(cr, 2);
    cairo_set_source_rgb(cr, 0.85, 0.45, 0.1);
    DrawSeries(cr, chart, time, [&](const DriveSample& s) { return speed.At(chart.topSpeed * s.throttle / 100); }, true);
    cairo_set_source_rgb(cr, 0.05, 0.25, 0.65);
    DrawSeries(cr, chart, time, [&](const DriveSample& s) { return speed.At(s.speed); }, false);
    cairo_set_source_rgb(cr, 0.35, 0.35, 0.35);
    DrawSeries(cr, chart, time, [](const DriveSample& s) { return BrakeBottom - (BrakeBottom - BrakeTop) * s.brakeLevel / 3.0; }, true);
    MarkTopSpeed(cr, chart, time, speed);
    DrawKeys(cr, chart, time);

    cairo_destroy(cr);
    bool written = cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return written;
}
