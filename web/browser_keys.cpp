#include "browser_keys.h"

#include <cstddef>

namespace {

struct BrowserKey {
    const char* code;
    uint32_t virtualKey;
};

// Letters and digits are worked out below; Windows' punctuation codes are
// named by a US keyboard's places, which KeyboardEvent.code names too.
const BrowserKey BrowserKeys[] = {
    {"ShiftLeft", 160}, {"ShiftRight", 161}, {"ControlLeft", 162}, {"ControlRight", 163},
    {"AltLeft", 164}, {"AltRight", 165},
    {"Numpad0", 96}, {"Numpad1", 97}, {"Numpad2", 98}, {"Numpad3", 99}, {"Numpad4", 100},
    {"Numpad5", 101}, {"Numpad6", 102}, {"Numpad7", 103}, {"Numpad8", 104}, {"Numpad9", 105},
    {"NumpadMultiply", 106}, {"NumpadAdd", 107}, {"NumpadComma", 108}, {"NumpadSubtract", 109},
    {"NumpadDecimal", 110}, {"NumpadDivide", 111}, {"NumpadEnter", 13},
    {"F1", 112}, {"F2", 113}, {"F3", 114}, {"F4", 115}, {"F5", 116}, {"F6", 117}, {"F7", 118},
    {"F8", 119}, {"F9", 120}, {"F10", 121}, {"F11", 122}, {"F12", 123}, {"F13", 124}, {"F14", 125},
    {"F15", 126}, {"F16", 127}, {"F17", 128}, {"F18", 129}, {"F19", 130}, {"F20", 131}, {"F21", 132},
    {"F22", 133}, {"F23", 134}, {"F24", 135},
    {"Backspace", 8}, {"Tab", 9}, {"Enter", 13}, {"Pause", 19}, {"CapsLock", 20}, {"Escape", 27},
    {"Space", 32}, {"PageUp", 33}, {"PageDown", 34}, {"End", 35}, {"Home", 36}, {"ArrowLeft", 37},
    {"ArrowUp", 38}, {"ArrowRight", 39}, {"ArrowDown", 40}, {"Insert", 45}, {"Delete", 46},
    {"Semicolon", 186}, {"Equal", 187}, {"Comma", 188}, {"Minus", 189}, {"Period", 190}, {"Slash", 191},
    {"Backquote", 192}, {"BracketLeft", 219}, {"Backslash", 220}, {"BracketRight", 221}, {"Quote", 222},
    {"IntlBackslash", 226},
};

}  // namespace

uint32_t VirtualKeyOfBrowserKey(const std::string& code, const std::string& key) {
    if (key.size() == 1 && ((key[0] >= 'a' && key[0] <= 'z') || (key[0] >= 'A' && key[0] <= 'Z')))
        return static_cast<uint32_t>(key[0] >= 'a' ? key[0] - 'a' + 'A' : key[0]);
    // A layout without Latin letters: the letter of the key's place.
    if (code.size() == 4 && code.compare(0, 3, "Key") == 0 && code[3] >= 'A' && code[3] <= 'Z')
        return static_cast<uint32_t>(code[3]);
    if (code.size() == 6 && code.compare(0, 5, "Digit") == 0 && code[5] >= '0' && code[5] <= '9')
        return static_cast<uint32_t>(code[5]);
    for (const BrowserKey& entry : BrowserKeys)
        if (code == entry.code) return entry.virtualKey;
    return 0;
}
