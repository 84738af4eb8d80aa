// LoadSettings: the 26 keys of Velquorin.ini, in file order.
#include "settings/settings.h"

#include <exception>
#include <string>

#include "overlay/overlay_state.h"
#include "settings/panel_position.h"
#include "settings/profile_access.h"

SettingsRecord Settings;
const char* SettingsFailedKey = nullptr;

namespace {

uint32_t ReadInt(const char* section, const char* key, int defaultValue) {
    return static_cast<uint32_t>(ReadProfileInt(section, key, defaultValue, SettingsPath));
}

// The failing key is named before the conversion runs, so whatever escapes
// ParsePanelPosition leaves SettingsFailedKey pointing at it.
float ReadPosition(const char* key) {
    char text[100];
    ReadProfileString("gui", key, "0.0", text, sizeof text, SettingsPath);
    SettingsFailedKey = key;
    float value = ParsePanelPosition(text);
    SettingsFailedKey = nullptr;
    return value;
}

}  // namespace

void LoadSettings() {
    SettingsRecord& s = Settings;
    SettingsFailedKey = nullptr;
    s.enterRealistic = ReadInt("gameplay", "enter_realistic", 1) != 0;
    s.useMetricSystem = ReadInt("gameplay", "use_metric_system", 1) != 0;
    s.maxSpeedFreight = static_cast<float>(ReadInt("gameplay", "max_speed_freight", 50));
    s.maxSpeedMetro = static_cast<float>(ReadInt("gameplay", "max_speed_metro", 35));

    s.openLeftDoorsKey = ReadInt("keys", "open_left_doors", 97);
    s.openRightDoorsKey = ReadInt("keys", "open_right_doors", 99);
    s.reloadIniFileModifierKey = ReadInt("keys", "reload_ini_file_modifier", 18);
    s.reloadIniFileKey = ReadInt("keys", "reload_ini_file", 73);
    s.enterExitKey = ReadInt("keys", "enter_exit", 70);
    s.throttleUpKey = ReadInt("keys", "throttle_up", 87);
    s.throttleDownKey = ReadInt("keys", "throttle_down", 83);
    s.brakeLightKey = ReadInt("keys", "brake_light", 74);
    s.brakeMediumKey = ReadInt("keys", "brake_medium", 75);
    s.brakeHardKey = ReadInt("keys", "brake_hard", 76);
    s.changeDirectionKey = ReadInt("keys", "change_direction", 162);
    s.toggleGuiPositionKey = ReadInt("keys", "toggle_gui_position", 116);

    // Each position is stored as soon as it converts, so a failure part-way
    // leaves the earlier presets new and the later ones as they were.
    s.panelPresets[0].x = ReadPosition("gui_position_x_0");
    s.panelPresets[0].y = ReadPosition("gui_position_y_0");
    s.panelPresets[1].x = ReadPosition("gui_position_x_1");
    s.panelPresets[1].y = ReadPosition("gui_position_y_1");
    s.panelPresets[2].x = ReadPosition("gui_position_x_2");
    s.panelPresets[2].y = ReadPosition("gui_position_y_2");
    s.panelPresets[3].x = ReadPosition("gui_position_x_3");
    s.panelPresets[3].y = ReadPosition("gui_position_y_3");

    s.backgroundOpacity = static_cast<int32_t>(ReadInt("gui", "background_opacity", 255));
    s.textOpacity = static_cast<int32_t>(ReadInt("gui", "text_opacity", 255));
}

void LoadSettingsAndPlacePanel() {
    try {
        LoadSettings();
    } catch (const std::exception& error) {
        std::string key = SettingsFailedKey ? SettingsFailedKey : "settings";
        SetConsoleMessage(key + ": " + error.what());
        return;
    }
    OverlayState.panelX = Settings.panelPresets[0].x;
    OverlayState.panelY = Settings.panelPresets[0].y;
}
