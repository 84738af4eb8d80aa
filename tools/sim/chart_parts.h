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
