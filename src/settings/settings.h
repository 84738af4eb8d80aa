// Everything the player tunes in Velquorin.ini, read at start and on the
// reload chord.
#pragma once
#include <cstdint>

struct PanelPreset {
    float x = 0.0f;
    float y = 0.0f;
};

// Every field starts at its key's default, so a first load that fails
// part-way leaves the later fields usable (both opacities 255, not an
// invisible panel). LoadSettings reads each missing key as this default.
struct SettingsRecord {
    bool enterRealistic = true;
    bool useMetricSystem = true;
    float maxSpeedFreight = 50.0f;
    float maxSpeedMetro = 35.0f;
    uint32_t openLeftDoorsKey = 97;          // numeric keypad 1
    uint32_t openRightDoorsKey = 99;         // numeric keypad 3
    uint32_t reloadIniFileModifierKey = 18;  // Alt
    uint32_t reloadIniFileKey = 73;          // I
    uint32_t enterExitKey = 70;              // F
    uint32_t throttleUpKey = 87;             // W
    uint32_t throttleDownKey = 83;           // S
    uint32_t brakeLightKey = 74;             // J
    uint32_t brakeMediumKey = 75;            // K
    uint32_t brakeHardKey = 76;              // L
    uint32_t changeDirectionKey = 162;       // left Control
    uint32_t toggleGuiPositionKey = 116;     // F5
    PanelPreset panelPresets[4];
    int32_t backgroundOpacity = 255;
    int32_t textOpacity = 255;
    // Speed-model and throttle steps a second of tick time; 0 is one a frame.
    uint32_t speedStepsPerSecond = 0;
    // On foot, a line at the panel's place says what the enter/exit key
    // would do there, and why a press boarded nothing.
    bool showHints = false;
    // Velquorin.log in the working folder, for a bug report; off by default.
    bool writeLog = false;
    uint32_t toggleConsoleKey = 117;  // F6, the key the console always had
    // While driving, and on foot at a cab door, a pad drives when it gave
    // the last input; off, no pad is asked about at all.
    bool useGamepad = false;
};

// speed_steps_per_second above this reads as 0.
constexpr uint32_t MaxSpeedStepsPerSecond = 1000;

constexpr SettingsRecord SettingsDefaults{};

extern SettingsRecord Settings;

constexpr const char* SettingsPath = ".\\Velquorin.ini";

// What a load came to: every key read, or the key it stopped at (a panel
// position that is no number) and why, as the console and the log tell it.
struct SettingsLoadRecord {
    bool loaded = true;
    const char* failedKey = nullptr;  // the key's name; "settings" for a failure at no key
    char error[100] = "";
};
