// Drawing primitives. The host keeps nothing from one frame to the next,
// so callers draw again every frame; the text style is set again before
// every line so that no line depends on what the host kept from the last.
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

#include "host/natives.h"
#include "overlay/overlay_state.h"

namespace {
// The panel's lines fit here, so a driving frame draws without the heap.
constexpr size_t ShortTextCapacity = 128;

void DrawTextCopy(const char* copy, float x, float y, float scale, int alpha) {
    TextFont(0);
    TextScale(0.0f, scale);
    TextColour(255, 255, 255, alpha);
    TextCentre(0);
    TextDropShadow();
    TextEdge();
    BeginTextEntry("STRING");
    AddTextString(copy);
    EndTextDraw(x, y);
}
}  // namespace

// The host may read the text until EndTextDraw returns, so it gets a copy
// of its own that nothing else can change in the meantime.
void DrawText(const char* text, float x, float y, float scale, int alpha) {
    size_t length = std::strlen(text);
    if (length < ShortTextCapacity) {
        char copy[ShortTextCapacity];
        std::memcpy(copy, text, length + 1);
        DrawTextCopy(copy, x, y, scale, alpha);
    } else {
        std::string copy(text, length);
        DrawTextCopy(copy.c_str(), x, y, scale, alpha);
    }
}

void DrawBox(float x, float y, float width, float height, int alpha) { DrawScreenRect(x, y, width, height, alpha); }

int FormatLine(char (&buffer)[100], const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    int count = std::vsnprintf(buffer, sizeof buffer, format, arguments);
    va_end(arguments);
    return count;
}
