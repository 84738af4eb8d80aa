// Key names for a player's eyes: the name a binding is shown by, and the
// name a player probably meant by text that is none.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The name a binding is shown by: the key name the file wrote, in the
// table's spelling ("alt" gives "ALT"), when it names this code; else the
// code's main name ("MENU"); "" when the code has no name.
std::string ShownKeyName(uint32_t code, const std::string& written = "");

// The key name closest to text that is no key name: "Wx" gives "W",
// "left ctrl" gives "LCONTROL", "numpad 1" gives "NUMPAD1"; "" when no
// name is close.
std::string NearestKeyName(const std::string& text);

// A code below 255 that Windows assigns to no key, so no key press sends it.
bool IsUnassignedKeyCode(uint32_t code);

// Whether text is typed characters, not a name: no letter or digit of
// A to Z or 0 to 9 ("-", "#", "Ö").
bool IsTypedCharacter(const std::string& text);

// The name of the punctuation key that types this one character on a US
// keyboard ("-" gives "MINUS", "+" gives "PLUS"); "" for any other text.
std::string KeyNameOfCharacter(const std::string& text);

// The candidate closest to word by edit distance, ignoring case, or "" when
// none is close enough to be a likely typo: most letters the same.
std::string NearestName(const std::string& word, const std::vector<std::string>& candidates);
