// What a player's Velquorin.log says, in short, after the settings report.
#pragma once
#include <cstdio>
#include <string>

// FILE is a Velquorin.ini or a Velquorin.log: the settings beside the log
// are checked, then the log beside the settings (if there is one) is
// summed up. The status is the settings check's.
int CheckSettingsAndLog(const std::string& path, std::FILE* out);
