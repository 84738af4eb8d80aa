// Reading Velquorin.ini into Settings.
#pragma once
#include "settings/settings.h"

// Reads the 29 keys in file order. A panel position that is no number
// ("invalid stof argument") or too large for a float ("stof argument out of
// range") ends the reading there: the fields before it keep their new
// values, it and every later field their old ones, except write_log, the
// last key, which is read whatever came of the others, so that the load
// that fails is in the log.
SettingsLoadRecord LoadSettings();
