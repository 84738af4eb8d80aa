// Changing one value of a player's Velquorin.ini while keeping everything
// else of it: lines, comments, order, case and line ends.
#pragma once
#include <string>

// Sets section's key name to value, as the game's reader finds keys: the
// first section of that name and its first key of that name, both compared
// without regard to case, with headers ended as Windows ends them. A key
// present has its value rewritten in place (a line of its name without
// '=', where the reader stops, gets "=value"); an absent one is added
// after the last line of its section, an absent section at the end of the
// file. True when the bytes changed. A UTF-16 file is never changed:
// single bytes written into it would garble it.
bool SetSettingText(std::string& bytes, const std::string& section, const std::string& name,
                    const std::string& value);

bool IsUtf16Text(const std::string& bytes);
