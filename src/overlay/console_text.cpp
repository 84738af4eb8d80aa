// The console's words: a settings error in a player's words, and every
// message cut into lines its box can hold. Plain text in, text out: the
// settings checker quotes the same words the game shows.
#include <string>

#include "overlay/overlay.h"

namespace {

// The box holds 0.19 of the screen's width from where its text starts; at
// the text's scale of 0.3 that is about 30 characters of ordinary text on
// a 16:10 screen, and more on a wider one.
constexpr size_t ConsoleLineChars = 30;

const char* PlainWords(const std::string& what) {
    if (what == "invalid stof argument") return "is no number";
    if (what == "stof argument out of range") return "is too large";
    return "cannot be read";
}

}  // namespace

std::string FormatSettingsError(const std::string& key, const std::string& what) {
    return "Velquorin.ini: " + key + " " + PlainWords(what) + " (" + what + ")";
}

// A line too long is broken at its last space within the limit (the space
// goes), or, with none there, at the limit itself.
std::string WrapConsoleLines(const std::string& text) {
    std::string wrapped;
    wrapped.reserve(text.size() + text.size() / ConsoleLineChars);
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        while (end - start > ConsoleLineChars) {
            size_t space = text.rfind(' ', start + ConsoleLineChars);
            const bool atSpace = space != std::string::npos && space > start;
            const size_t cut = atSpace ? space : start + ConsoleLineChars;
            wrapped.append(text, start, cut - start);
            wrapped += '\n';
            start = atSpace ? cut + 1 : cut;
        }
        wrapped.append(text, start, end - start);
        if (end == text.size()) break;
        wrapped += '\n';
        start = end + 1;
    }
    return wrapped;
}
