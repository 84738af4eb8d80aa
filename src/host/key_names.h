// The names a player may write for a key in Velquorin.ini: Windows' own
// key names without their VK_ prefix, and a few common aliases.
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
