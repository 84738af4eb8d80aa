// LoadSettings: the 31 keys of Velquorin.ini, in file order.
#include "settings/load_settings.h"

#include <cstring>
#include <exception>

#include "host/key_names.h"
#include "settings/controls_taken.h"
#include "settings/panel_position.h"
#include "settings/profile_access.h"

SettingsRecord Settings;  // every default until the first load

namespace {

constexpr const SettingsRecord& D = SettingsDefaults;

// A missing position reads as this text, which must convert to the
// record's own default.
constexpr const char* DefaultPositionText = "0.0";
static_assert(D.panelPresets[0].x == 0.0f && D.panelPresets[0].y == 0.0f && D.panelPresets[1].x == 0.0f &&
              D.panelPresets[1].y == 0.0f && D.panelPresets[2].x == 0.0f && D.panelPresets[2].y == 0.0f &&
              D.panelPresets[3].x == 0.0f && D.panelPresets[3].y == 0.0f);

uint32_t ReadInt(const char* section, const char* key, int defaultValue) {
    return static_cast<uint32_t>(ReadProfileInt(section, key, defaultValue, SettingsPath));
}

uint32_t ReadUnsigned(const char* section, const char* key, uint32_t defaultValue) {
    return ReadInt(section, key, static_cast<int>(defaultValue));
}

// A binding is read as a number first, exactly as a file of numbers always
// was. Only a 0 (no number, or an explicit 0) looks at the text: a key name
// there is that key's code, anything else stays 0. The text's default is
// empty, so an absent key never turns into a name.
uint32_t ReadKey(const char* key, uint32_t defaultCode) {
    uint32_t code = ReadUnsigned("keys", key, defaultCode);
    if (code != 0) return code;
    char text[100];
    ReadProfileString("keys", key, "", text, sizeof text, SettingsPath);
    return KeyCodeOfName(text);
}

// The failing key is named before the conversion runs, so whatever escapes
// ParsePanelPosition leaves the load pointing at it.
float ReadPosition(SettingsLoadRecord& load, const char* key) {
    char text[100];
    ReadProfileString("gui", key, DefaultPositionText, text, sizeof text, SettingsPath);
    load.failedKey = key;
    float value = ParsePanelPosition(text);
    load.failedKey = nullptr;
    return value;
}

void ReadKeysBeforeWriteLog(SettingsLoadRecord& load) {
    SettingsRecord& s = Settings;
    s.enterRealistic = ReadInt("gameplay", "enter_realistic", D.enterRealistic ? 1 : 0) != 0;
    s.useMetricSystem = ReadInt("gameplay", "use_metric_system", D.useMetricSystem ? 1 : 0) != 0;
    s.maxSpeedFreight =
        static_cast<float>(ReadUnsigned("gameplay", "max_speed_freight", static_cast<uint32_t>(D.maxSpeedFreight)));
    s.maxSpeedMetro =
        static_cast<float>(ReadUnsigned("gameplay", "max_speed_metro", static_cast<uint32_t>(D.maxSpeedMetro)));

    s.openLeftDoorsKey = ReadKey("open_left_doors", D.openLeftDoorsKey);
    s.openRightDoorsKey = ReadKey("open_right_doors", D.openRightDoorsKey);
    s.reloadIniFileModifierKey = ReadKey("reload_ini_file_modifier", D.reloadIniFileModifierKey);
    s.reloadIniFileKey = ReadKey("reload_ini_file", D.reloadIniFileKey);
    s.enterExitKey = ReadKey("enter_exit", D.enterExitKey);
    s.throttleUpKey = ReadKey("throttle_up", D.throttleUpKey);
    s.throttleDownKey = ReadKey("throttle_down", D.throttleDownKey);
    s.brakeLightKey = ReadKey("brake_light", D.brakeLightKey);
    s.brakeMediumKey = ReadKey("brake_medium", D.brakeMediumKey);
    s.brakeHardKey = ReadKey("brake_hard", D.brakeHardKey);
    s.changeDirectionKey = ReadKey("change_direction", D.changeDirectionKey);
    s.toggleGuiPositionKey = ReadKey("toggle_gui_position", D.toggleGuiPositionKey);

    // Each position is stored as soon as it converts, so a failure part-way
    // leaves the earlier presets new and the later ones as they were.
    s.panelPresets[0].x = ReadPosition(load, "gui_position_x_0");
    s.panelPresets[0].y = ReadPosition(load, "gui_position_y_0");
    s.panelPresets[1].x = ReadPosition(load, "gui_position_x_1");
    s.panelPresets[1].y = ReadPosition(load, "gui_position_y_1");
    s.panelPresets[2].x = ReadPosition(load, "gui_position_x_2");
    s.panelPresets[2].y = ReadPosition(load, "gui_position_y_2");
    s.panelPresets[3].x = ReadPosition(load, "gui_position_x_3");
    s.panelPresets[3].y = ReadPosition(load, "gui_position_y_3");

    s.backgroundOpacity = static_cast<int32_t>(ReadInt("gui", "background_opacity", D.backgroundOpacity));
    s.textOpacity = static_cast<int32_t>(ReadInt("gui", "text_opacity", D.textOpacity));

    // Read last, so a panel position that fails leaves it as it was, like
    // every key after the failing one. A negative value wraps past the
    // limit and reads as 0 too.
    uint32_t stepsPerSecond = ReadUnsigned("gameplay", "speed_steps_per_second", D.speedStepsPerSecond);
    s.speedStepsPerSecond = stepsPerSecond <= MaxSpeedStepsPerSecond ? stepsPerSecond : 0;

    s.showHints = ReadInt("gui", "show_hints", D.showHints ? 1 : 0) != 0;
}

// The keys after write_log, read only when the reading before it went
// through, like every key after a position that failed.
void ReadKeysAfterWriteLog() {
    SettingsRecord& s = Settings;
    s.toggleConsoleKey = ReadKey("toggle_console", D.toggleConsoleKey);
    s.useGamepad = ReadInt("gameplay", "use_gamepad", D.useGamepad ? 1 : 0) != 0;
}

}  // namespace

SettingsLoadRecord LoadSettings() {
    SettingsLoadRecord load;
    try {
        ReadKeysBeforeWriteLog(load);
    } catch (const std::exception& error) {
        load.loaded = false;
        if (!load.failedKey) load.failedKey = "settings";
        std::strncpy(load.error, error.what(), sizeof load.error - 1);
    }
    // In its place, but past the catch: a panel position that is no number
    // must not keep off the log that would tell of it.
    Settings.writeLog = ReadInt("gameplay", "write_log", D.writeLog ? 1 : 0) != 0;
    if (load.loaded) ReadKeysAfterWriteLog();
    // What the bindings take from the game follows them as they now stand,
    // after a load that stopped part-way too.
    WorkOutControlsTaken();
    return load;
}
