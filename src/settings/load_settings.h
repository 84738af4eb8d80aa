// Reading Velquorin.ini into Settings.
#pragma once
#include "settings/settings.h"

// Reads the 31 keys in file order. A panel position that is no number
// ("invalid stof argument") or too large for a float ("stof argument out of
// range") ends the reading there: the fields before it keep their new
// values, it and every later field their old ones, except write_log,
// which is read whatever came of the others, so that the load
// that fails is in the log. Either way the game's controls to take on the
// keys now bound (ControlsTaken) are worked out again.
SettingsLoadRecord LoadSettings();
