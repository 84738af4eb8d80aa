// The debug console: every message posted since start, newest first.
#include <charconv>
#include <string>

#include "overlay/overlay.h"

OverlayRecord OverlayState;

void DrawConsole() {
    DrawBox(0.89f, 0.16f, 0.2f, 0.3f, 150);
    DrawText("Console:", 0.8f, 0.02f, 0.4f, 255);
    DrawText(OverlayState.consoleText.c_str(), 0.8f, 0.05f, 0.3f, 255);
}

void ToggleConsole() { OverlayState.consoleVisible = !OverlayState.consoleVisible; }

// Built in a fresh string and moved into place: one copy of the old text.
void SetConsoleMessage(const std::string& text) {
    std::string next;
    next.reserve(text.size() + 1 + OverlayState.consoleText.size());
    next += text;
    next += '\n';
    next += OverlayState.consoleText;
    OverlayState.consoleText = std::move(next);
}

// Six decimals, no fill, as a default stream with the fixed flag writes
// them, and never by the C locale: the text does not depend on the
// player's regional settings, and nothing is switched process-wide. (A
// stream in the MinGW runtime sets the whole process's numeric locale to
// "C" around every number whenever the game's is another, under the feet
// of the game's own threads.)
std::string FormatNumber(float value) {
    // A float's largest magnitude has 39 digits before the point.
    char text[64];
    auto [end, error] =
        std::to_chars(text, text + sizeof text, FormattedValue(static_cast<double>(value)), std::chars_format::fixed, 6);
    return error == std::errc() ? std::string(text, end) : std::string();
}
