// Key names: those a player may write in Velquorin.ini (Windows' own key
// names without their VK_ prefix, and a few common aliases), and those a
// player reads on the keycaps, for what the game tells them to press.
#pragma once
#include <cstddef>
#include <cstdint>

struct KeyName {
    const char* name;
    uint32_t code;
};

// Every main name comes before all aliases, so the first entry with a code
// is that code's main name.
extern const KeyName KeyNames[];
extern const size_t KeyNameCount;

// The code of a key name, trimmed of white space and compared without
// regard to case; 0 when the text is no key name. Digits are no key names.
uint32_t KeyCodeOfName(const char* text);

// The main name of a code ("W", "NUMPAD1", "LCONTROL"), or nullptr.
const char* KeyNameOfCode(uint32_t code);

// The key as its keycap reads on a US keyboard ("Alt", "Page Up", "Caps
// Lock", "1", ";", "Left Ctrl"), or nullptr for a code no key has.
const char* KeycapNameOfCode(uint32_t code);

// Codes 1 to 6 are the mouse buttons (and Ctrl + Break), which the
// script-hook library never passes to a keyboard handler: a binding to one
// never fires.
constexpr bool IsMouseButtonCode(uint32_t code) { return code >= 1 && code <= 6; }
