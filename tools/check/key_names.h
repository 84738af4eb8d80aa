// Windows virtual-key codes by the names players write for them.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The code a player probably meant by a name such as "W", "F5", "Alt",
// "Numpad1" or "left ctrl"; -1 when the name is none we know.
int GuessKeyCode(const std::string& name);

// A readable name for a code ("W", "F5", "Numpad 1", "Left Ctrl"), or ""
// when the code has none.
std::string KeyLabel(uint32_t code);

// The candidate closest to word by edit distance, ignoring case, or "" when
// none is close enough to be a likely typo.
std::string NearestName(const std::string& word, const std::vector<std::string>& candidates);
