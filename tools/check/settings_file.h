// A player's settings file read whole, for the checker and the desk tools.
#pragma once
#include <cstdint>
#include <string>

// Reads the file at path into bytes. Only a regular file up to the
// profile reader's limit is read; its type and size are looked at before
// the first byte, so a FIFO, a device or a huge file never stalls the
// caller. On failure, why says what is wrong, in a player's words.
bool ReadSettingsFile(const std::string& path, std::string& bytes, std::string& why);

// Why a file of size bytes, above the profile reader's limit, is not read.
std::string WhyTooBig(uintmax_t size);
