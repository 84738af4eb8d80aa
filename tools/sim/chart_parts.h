// What the desk's charts share: a linear scale, tick steps and labels.
#pragma once
#include <cairo.h>

#include <cmath>
#include <cstdio>
#include <string>

struct Scale {
    double from, to;    // data
    double start, end;  // pixels
    double At(double value) const { return start + (value - from) / (to - from) * (end - start); }
};

// 1, 2 or 5 times a power of ten, giving about six ticks.
inline double TickStep(double range) {
    double raw = range / 6.0;
    double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0, 10.0})
        if (m * power >= raw) return m * power;
    return 10 * power;
}

// alignX: 0 starts the text at x, 0.5 centres it there, 1 ends it there.
inline void Label(cairo_t* cr, double x, double y, const std::string& text, double alignX) {
    cairo_text_extents_t extents;
    cairo_text_extents(cr, text.c_str(), &extents);
    cairo_move_to(cr, x - extents.x_advance * alignX, y);
    cairo_show_text(cr, text.c_str());
}

inline std::string Number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

// A white picture with the title centred at its top, in the charts' font.
inline cairo_t* StartChart(cairo_surface_t* surface, double width, const std::string& title) {
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_source_rgb(cr, 0.1, 0.1, 0.1);
    cairo_set_font_size(cr, 16);
    Label(cr, width / 2.0, 24, title, 0.5);
    return cr;
}

// The dashed red line a chart draws at the top speed.
inline void TopSpeedLine(cairo_t* cr, double left, double right, double y) {
    double dash[] = {6, 4};
    cairo_set_dash(cr, dash, 2, 0);
    cairo_set_source_rgb(cr, 0.75, 0.1, 0.1);
    cairo_move_to(cr, left, y);
    cairo_line_to(cr, right, y);
    cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0);
}

// Grey grid lines across the chart at each speed tick, labelled at the left.
inline void SpeedGrid(cairo_t* cr, const Scale& speed, double left, double right) {
    for (double v = 0; v <= speed.to + 1e-9; v += TickStep(speed.to)) {
        cairo_set_source_rgb(cr, 0.88, 0.88, 0.88);
        cairo_move_to(cr, left, speed.At(v));
        cairo_line_to(cr, right, speed.At(v));
        cairo_stroke(cr);
        cairo_set_source_rgb(cr, 0.2, 0.2, 0.2);
        Label(cr, left - 6, speed.At(v) + 4, Number(v), 1.0);
    }
}
