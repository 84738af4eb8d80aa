#include "browser_keys.h"

#include <cstddef>

namespace {

struct BrowserKey {
    const char* code;
    uint32_t virtualKey;
};

// Letters and digits are worked out below. The punctuation codes are those
// of a US keyboard's places, which KeyboardEvent.code names too; on other
// layouts Windows gives some of those places other codes.
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
    // No names, but the game hears their presses like any other key's.
    {"ContextMenu", 93}, {"NumLock", 144}, {"ScrollLock", 145},
};

const BrowserKey PunctuationKeys[] = {
    {"Semicolon", 186}, {"Equal", 187}, {"Comma", 188}, {"Minus", 189}, {"Period", 190}, {"Slash", 191},
    {"Backquote", 192}, {"BracketLeft", 219}, {"Backslash", 220}, {"BracketRight", 221}, {"Quote", 222},
    {"IntlBackslash", 226},
};

// Keys the game never sees held: Windows keeps them for itself.
const char* RefusalOf(const std::string& code) {
    if (code == "MetaLeft" || code == "MetaRight" || code == "OSLeft" || code == "OSRight")
        return "The Windows key cannot be bound: Windows opens its Start menu and the game loses the keyboard. "
               "Press another key.";
    if (code == "PrintScreen")
        return "Print Screen cannot be bound: Windows takes its press for a screenshot and the game sees only "
               "its release. Press another key.";
    return nullptr;
}

const char* const UsPlaceNote =
    "the code of this key's place on a US keyboard: on another layout Windows may send another one "
    "(choose the key in Chrome or Edge on Windows to be sure)";

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

uint32_t CodeIn(const BrowserKey* table, size_t count, const std::string& code) {
    for (size_t i = 0; i < count; ++i)
        if (code == table[i].code) return table[i].virtualKey;
    return 0;
}

}  // namespace

BrowserKeyBinding VirtualKeyOfBrowserKey(const std::string& code, const std::string& key, int keyCode,
                                         bool keyCodeIsWindows) {
    if (const char* refusal = RefusalOf(code)) return {0, refusal};
    const bool letterPlace = code.size() == 4 && code.compare(0, 3, "Key") == 0 && code[3] >= 'A' && code[3] <= 'Z';
    const bool digitPlace = code.size() == 6 && code.compare(0, 5, "Digit") == 0 && code[5] >= '0' && code[5] <= '9';
    const uint32_t punctuation = CodeIn(PunctuationKeys, sizeof PunctuationKeys / sizeof PunctuationKeys[0], code);
    // Windows gives these keys the layout's codes; 229 stands for a key an
    // input method is composing with, not for the key.
    if (keyCodeIsWindows && (letterPlace || digitPlace || punctuation) && keyCode > 0 && keyCode < 255 &&
        keyCode != 229)
        return {static_cast<uint32_t>(keyCode), ""};
    if (key.size() == 1 && IsLetter(key[0]))
        return {static_cast<uint32_t>(key[0] >= 'a' ? key[0] - 'a' + 'A' : key[0]), ""};
    // A layout without Latin letters: the letter of the key's place. One
    // that puts punctuation there (a French comma on M) may be sent another code.
    if (letterPlace)
        return {static_cast<uint32_t>(code[3]), key.size() == 1 && key[0] > ' ' && key[0] < 0x7f ? UsPlaceNote : ""};
    if (digitPlace) return {static_cast<uint32_t>(code[5]), ""};
    if (punctuation) return {punctuation, UsPlaceNote};
    if (uint32_t virtualKey = CodeIn(BrowserKeys, sizeof BrowserKeys / sizeof BrowserKeys[0], code))
        return {virtualKey, ""};
    return {0, "This key has no code Windows hands the game. Press another key."};
}
