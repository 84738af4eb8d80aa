// Drawing primitives. The host keeps nothing from one frame to the next,
// so callers draw again every frame; the text style is set again before
// every line so that no line depends on what the host kept from the last.
#include <cmath>
#include <cstdarg>
#include <cstdio>

#include "host/natives.h"
#include "overlay/overlay.h"

// The host reads the text until EndTextDraw returns, and every caller's
// text stays as it is until then: a literal, a panel line on the caller's
// stack, or the console's history, which only a post changes, on this
// fiber and never during a draw. So the text goes to the host as it is,
// neither measured nor copied, and a shown console costs the same however
// long its history.
void DrawText(const char* text, float x, float y, float scale, int alpha) {
    TextFont(0);
    TextScale(0.0f, scale);
    TextColour(255, 255, 255, alpha);
    TextCentre(0);
    TextDropShadow();
    TextEdge();
    BeginTextEntry("STRING");
    AddTextString(text);
    EndTextDraw(x, y);
}

void DrawBox(float x, float y, float width, float height, int alpha) { DrawScreenRect(x, y, width, height, alpha); }

int FormatLine(char (&buffer)[100], const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    int count = std::vsnprintf(buffer, sizeof buffer, format, arguments);
    va_end(arguments);
    return count;
}

// The C runtimes part on a NaN whose sign bit is set: glibc writes "-nan",
// the MinGW runtime inside the shipped DLL "nan". The game's text is the
// DLL's, so every build formats a NaN with its sign cleared.
double FormattedValue(double value) { return std::isnan(value) ? std::fabs(value) : value; }
