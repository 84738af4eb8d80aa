// The settings checker for players: a Velquorin.ini read with the plug-in's
// own loader, every effective value beside its default, the error the
// plug-in would raise, and the mistakes it accepts without a word.
#pragma once
#include <cstdio>

// Exit status: 0 for a clean file, 1 for warnings, 2 for an error (or a
// file that cannot be read).
int CheckSettingsFile(const char* path, std::FILE* out);
