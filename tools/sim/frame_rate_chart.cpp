// The same run from rest at several frame rates, one line each, in one
// panel per speed_steps_per_second: once a frame the lines fan out, paced
// they lie on top of each other.
#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "chart_parts.h"
#include "desk.h"

namespace {

constexpr int Width = 1000, Height = 760;
constexpr double Left = 70, Right = 930, FirstTop = 80, PanelHeight = 280, PanelGap = 70;
constexpr double Colours[][3] = {{0.80, 0.20, 0.15}, {0.05, 0.25, 0.65}, {0.15, 0.55, 0.20}, {0.55, 0.25, 0.65}};
constexpr int ColourCount = sizeof Colours / sizeof Colours[0];

void DrawPanel(cairo_t* cr, const FrameRatePanel& panel, const Scale& time, double top, const FrameRateChart& chart) {
    const double bottom = top + PanelHeight;
    const Scale speed{0, std::ceil(chart.topSpeed * 1.1 / TickStep(chart.topSpeed * 1.1)) * TickStep(chart.topSpeed * 1.1),
                      bottom, top};
    cairo_set_font_size(cr, 12);
    cairo_set_line_width(cr, 1);
    SpeedGrid(cr, speed, Left, Right);
    for (double t = 0; t <= time.to + 1e-9; t += TickStep(time.to)) Label(cr, time.At(t), bottom + 16, Number(t), 0.5);
    Label(cr, Right + 6, bottom + 16, "s", 0.0);
    cairo_save(cr);
    cairo_translate(cr, 22, (top + bottom) / 2);
    cairo_rotate(cr, -M_PI / 2);
    Label(cr, 0, 0, "speed (" + chart.unit + ")", 0.5);
    cairo_restore(cr);
    cairo_set_font_size(cr, 14);
    Label(cr, Left, top - 8, panel.title, 0.0);

    TopSpeedLine(cr, Left, Right, speed.At(chart.topSpeed));

    // Each line thinner than the one before, so lines that coincide show
    // as stripes of all their colours.
    for (size_t i = 0; i < panel.series.size(); ++i) {
        const double* rgb = Colours[i % ColourCount];
        cairo_set_source_rgb(cr, rgb[0], rgb[1], rgb[2]);
        cairo_set_line_width(cr, std::max(1.0, 7.0 - 1.8 * static_cast<double>(i)));
        bool first = true;
        for (const DriveSample& s : panel.series[i].samples) {
            if (s.seconds > time.to) break;
            if (first)
                cairo_move_to(cr, time.At(s.seconds), speed.At(s.speed));
            else
                cairo_line_to(cr, time.At(s.seconds), speed.At(s.speed));
            first = false;
        }
        cairo_stroke(cr);
    }
    cairo_set_line_width(cr, 1);
    cairo_set_source_rgb(cr, 0.3, 0.3, 0.3);
    cairo_rectangle(cr, Left, top, Right - Left, PanelHeight);
    cairo_stroke(cr);
}

void DrawLegend(cairo_t* cr, const FrameRatePanel& panel) {
    double x = Left;
    cairo_set_font_size(cr, 12);
    for (size_t i = 0; i < panel.series.size(); ++i) {
        const double* rgb = Colours[i % ColourCount];
        cairo_set_source_rgb(cr, rgb[0], rgb[1], rgb[2]);
        cairo_rectangle(cr, x, 44, 18, 4);
        cairo_fill(cr);
        cairo_set_source_rgb(cr, 0.2, 0.2, 0.2);
        Label(cr, x + 24, 50, panel.series[i].label, 0.0);
        x += 190;
    }
}

}  // namespace

bool WriteFrameRateChart(const std::string& path, const FrameRateChart& chart) {
    double lastSecond = 0.1;
    for (const FrameRatePanel& panel : chart.panels)
        for (const SpeedSeries& series : panel.series)
            if (!series.samples.empty()) lastSecond = std::max(lastSecond, series.samples.back().seconds);
    const Scale time{0, lastSecond, Left, Right};

    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, Width, Height);
    cairo_t* cr = StartChart(surface, Width, chart.title);
    DrawLegend(cr, chart.panels[0]);
    for (size_t i = 0; i < 2; ++i)
        DrawPanel(cr, chart.panels[i], time, FirstTop + static_cast<double>(i) * (PanelHeight + PanelGap), chart);

    cairo_destroy(cr);
    bool written = cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return written;
}
