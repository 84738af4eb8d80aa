// The key name table, and lookups in it that need no allocation: the
// loader calls them for every key row it reads.
#include "host/key_names.h"

const KeyName KeyNames[] = {
    // Letters; not the digits, which stay numbers.
    {"A", 65}, {"B", 66}, {"C", 67}, {"D", 68}, {"E", 69}, {"F", 70}, {"G", 71}, {"H", 72}, {"I", 73}, {"J", 74},
    {"K", 75}, {"L", 76}, {"M", 77}, {"N", 78}, {"O", 79}, {"P", 80}, {"Q", 81}, {"R", 82}, {"S", 83}, {"T", 84},
    {"U", 85}, {"V", 86}, {"W", 87}, {"X", 88}, {"Y", 89}, {"Z", 90},
    // Function keys.
    {"F1", 112}, {"F2", 113}, {"F3", 114}, {"F4", 115}, {"F5", 116}, {"F6", 117}, {"F7", 118}, {"F8", 119},
    {"F9", 120}, {"F10", 121}, {"F11", 122}, {"F12", 123}, {"F13", 124}, {"F14", 125}, {"F15", 126}, {"F16", 127},
    {"F17", 128}, {"F18", 129}, {"F19", 130}, {"F20", 131}, {"F21", 132}, {"F22", 133}, {"F23", 134}, {"F24", 135},
    // The numeric keypad.
    {"NUMPAD0", 96}, {"NUMPAD1", 97}, {"NUMPAD2", 98}, {"NUMPAD3", 99}, {"NUMPAD4", 100}, {"NUMPAD5", 101},
    {"NUMPAD6", 102}, {"NUMPAD7", 103}, {"NUMPAD8", 104}, {"NUMPAD9", 105}, {"MULTIPLY", 106}, {"ADD", 107},
    {"SEPARATOR", 108}, {"SUBTRACT", 109}, {"DECIMAL", 110}, {"DIVIDE", 111},
    // Modifiers; MENU is Alt.
    {"SHIFT", 16}, {"CONTROL", 17}, {"MENU", 18}, {"LSHIFT", 160}, {"RSHIFT", 161}, {"LCONTROL", 162},
    {"RCONTROL", 163}, {"LMENU", 164}, {"RMENU", 165},
    // Editing and movement.
    {"BACK", 8}, {"TAB", 9}, {"RETURN", 13}, {"PAUSE", 19}, {"CAPITAL", 20}, {"ESCAPE", 27}, {"SPACE", 32},
    {"PRIOR", 33}, {"NEXT", 34}, {"END", 35}, {"HOME", 36}, {"LEFT", 37}, {"UP", 38}, {"RIGHT", 39}, {"DOWN", 40},
    {"INSERT", 45}, {"DELETE", 46},
    // Punctuation, as Windows names it (US layout: ; = , - . / ` [ \ ] ').
    {"OEM_1", 186}, {"OEM_PLUS", 187}, {"OEM_COMMA", 188}, {"OEM_MINUS", 189}, {"OEM_PERIOD", 190}, {"OEM_2", 191},
    {"OEM_3", 192}, {"OEM_4", 219}, {"OEM_5", 220}, {"OEM_6", 221}, {"OEM_7", 222},
    // Aliases, after every main name.
    {"NUM0", 96}, {"NUM1", 97}, {"NUM2", 98}, {"NUM3", 99}, {"NUM4", 100}, {"NUM5", 101}, {"NUM6", 102},
    {"NUM7", 103}, {"NUM8", 104}, {"NUM9", 105}, {"CTRL", 17}, {"ALT", 18}, {"LCTRL", 162}, {"RCTRL", 163},
    {"LALT", 164}, {"RALT", 165}, {"BACKSPACE", 8}, {"ENTER", 13}, {"CAPSLOCK", 20}, {"ESC", 27}, {"PAGEUP", 33},
    {"PAGEDOWN", 34},
    // Aliases of the punctuation keys.
    {"SEMICOLON", 186}, {"PLUS", 187}, {"COMMA", 188}, {"MINUS", 189}, {"PERIOD", 190}, {"SLASH", 191},
    {"TILDE", 192}, {"LBRACKET", 219}, {"BACKSLASH", 220}, {"RBRACKET", 221}, {"QUOTE", 222},
};
const size_t KeyNameCount = sizeof KeyNames / sizeof KeyNames[0];

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Whether text[0, length) spells name, in any case.
bool SpellsName(const char* text, size_t length, const char* name) {
    size_t i = 0;
    for (; i < length; ++i) {
        if (name[i] == '\0' || Upper(text[i]) != name[i]) return false;
    }
    return name[i] == '\0';
}

}  // namespace

uint32_t KeyCodeOfName(const char* text) {
    if (text == nullptr) return 0;
    while (IsBlank(*text)) ++text;
    size_t length = 0;
    while (text[length] != '\0') ++length;
    while (length > 0 && IsBlank(text[length - 1])) --length;
    for (size_t i = 0; i < KeyNameCount; ++i) {
        if (SpellsName(text, length, KeyNames[i].name)) return KeyNames[i].code;
    }
    return 0;
}

const char* KeyNameOfCode(uint32_t code) {
    for (size_t i = 0; i < KeyNameCount; ++i) {
        if (KeyNames[i].code == code) return KeyNames[i].name;
    }
    return nullptr;
}
