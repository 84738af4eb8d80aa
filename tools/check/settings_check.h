// The settings checker for players: a Velquorin.ini read with the plug-in's
// own loader, every effective value beside its default, the error the
// plug-in would raise, and the mistakes it accepts without a word.
#pragma once
#include <cstdio>
#include <string>

// Exit status: 0 for a clean file, 1 for warnings, 2 for an error (or a
// file that cannot be read).
int CheckSettingsFile(const char* path, std::FILE* out);

// The same report for a file already read, shown under the name shownPath:
// for a caller that has the bytes but no file of its own, such as the
// settings page in the browser.
int CheckSettingsText(const std::string& bytes, const std::string& shownPath, std::FILE* out);

// The report on a file that cannot be read, why saying what is wrong.
int RefuseToCheck(const std::string& shownPath, const std::string& why, std::FILE* out);
