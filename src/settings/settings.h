// Everything the player tunes in Velquorin.ini, read at start and on the
// reload chord.
#pragma once
#include <cstdint>

struct PanelPreset {
    float x = 0.0f;
    float y = 0.0f;
};

// Zero until the first load; LoadSettings then fills every field.
struct SettingsRecord {
    bool enterRealistic = false;
    bool useMetricSystem = false;
    float maxSpeedFreight = 0.0f;
    float maxSpeedMetro = 0.0f;
    uint32_t openLeftDoorsKey = 0;
    uint32_t openRightDoorsKey = 0;
    uint32_t reloadIniFileModifierKey = 0;
    uint32_t reloadIniFileKey = 0;
    uint32_t enterExitKey = 0;
    uint32_t throttleUpKey = 0;
    uint32_t throttleDownKey = 0;
    uint32_t brakeLightKey = 0;
    uint32_t brakeMediumKey = 0;
    uint32_t brakeHardKey = 0;
    uint32_t changeDirectionKey = 0;
    uint32_t toggleGuiPositionKey = 0;
    PanelPreset panelPresets[4];
    int32_t backgroundOpacity = 0;
    int32_t textOpacity = 0;
};

extern SettingsRecord Settings;

constexpr const char* SettingsPath = ".\\Velquorin.ini";

// Reads the 26 keys in file order. A panel position that is no number
// throws std::invalid_argument("invalid stof argument"); one too large for a
// float throws std::out_of_range("stof argument out of range"). The fields
// before the failing key keep their new values, it and every later field
// keep their old ones, and SettingsFailedKey names the key (null after a
// load that succeeded).
void LoadSettings();
extern const char* SettingsFailedKey;

// What both callers do: load, then put the panel at preset 0. A settings
// error is caught here, skips the panel copy, and is posted to the console
// as "key: text"; the plug-in goes on with what was loaded.
void LoadSettingsAndPlacePanel();
