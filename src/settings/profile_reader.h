// Portable stand-ins for the Windows profile functions, used where
// GetPrivateProfileIntA and GetPrivateProfileStringA do not exist.
#pragma once
#include <cstdint>

// A settings file larger than this reads as missing: a real one is a few
// kilobytes, and a bigger one would cost a load seconds and memory.
constexpr uint64_t ProfileFileLimit = 16u << 20;

// As GetPrivateProfileIntA: the key's value as an unsigned 32-bit number,
// or defaultValue when the text is empty or the key, section or file absent.
uint32_t ReadProfileInt(const char* section, const char* key, int32_t defaultValue, const char* path);

// As GetPrivateProfileStringA: copies the key's text (or defaultText) into
// buffer, cut to size - 1 characters; returns the number of characters stored.
uint32_t ReadProfileString(const char* section, const char* key, const char* defaultText, char* buffer,
                           uint32_t size, const char* path);
