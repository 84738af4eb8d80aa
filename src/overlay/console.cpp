// The debug console: every message posted since start, newest first.
#include <locale>
#include <sstream>
#include <string>

#include "overlay/overlay_state.h"

OverlayRecord OverlayState;

void DrawConsole() {
    DrawBox(0.89f, 0.16f, 0.2f, 0.3f, 150);
    DrawText("Console:", 0.8f, 0.02f, 0.4f, 255);
    DrawText(OverlayState.consoleText.c_str(), 0.8f, 0.05f, 0.3f, 255);
}

// Built in a fresh string and moved into place: one copy of the old text.
void SetConsoleMessage(const std::string& text) {
    std::string next;
    next.reserve(text.size() + 1 + OverlayState.consoleText.size());
    next += text;
    next += '\n';
    next += OverlayState.consoleText;
    OverlayState.consoleText = std::move(next);
}

// What a default stream with the fixed flag inserts: six decimals, no fill,
// classic locale, so the text never depends on the player's regional settings.
std::string FormatNumber(float value) {
    std::ostringstream out;
    out.imbue(std::locale::classic());
    out.setf(std::ios::fixed, std::ios::floatfield);
    out << FormattedValue(static_cast<double>(value));
    return out.str();
}
