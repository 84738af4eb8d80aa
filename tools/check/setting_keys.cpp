// The key table, with each row's place in the settings record.
#include "setting_keys.h"

#include <cctype>

const SettingKey SettingKeys[] = {
    {"gameplay", "enter_realistic", SettingKind::Switch, 1},
    {"gameplay", "use_metric_system", SettingKind::Switch, 1},
    {"gameplay", "max_speed_freight", SettingKind::TopSpeed, 50},
    {"gameplay", "max_speed_metro", SettingKind::TopSpeed, 35},
    {"keys", "open_left_doors", SettingKind::Binding, 97},
    {"keys", "open_right_doors", SettingKind::Binding, 99},
    {"keys", "reload_ini_file_modifier", SettingKind::Binding, 18},
    {"keys", "reload_ini_file", SettingKind::Binding, 73},
    {"keys", "enter_exit", SettingKind::Binding, 70},
    {"keys", "throttle_up", SettingKind::Binding, 87},
    {"keys", "throttle_down", SettingKind::Binding, 83},
    {"keys", "brake_light", SettingKind::Binding, 74},
    {"keys", "brake_medium", SettingKind::Binding, 75},
    {"keys", "brake_hard", SettingKind::Binding, 76},
    {"keys", "change_direction", SettingKind::Binding, 162},
    {"keys", "toggle_gui_position", SettingKind::Binding, 116},
    {"gui", "gui_position_x_0", SettingKind::Position, 0},
    {"gui", "gui_position_y_0", SettingKind::Position, 0},
    {"gui", "gui_position_x_1", SettingKind::Position, 0},
    {"gui", "gui_position_y_1", SettingKind::Position, 0},
    {"gui", "gui_position_x_2", SettingKind::Position, 0},
    {"gui", "gui_position_y_2", SettingKind::Position, 0},
    {"gui", "gui_position_x_3", SettingKind::Position, 0},
    {"gui", "gui_position_y_3", SettingKind::Position, 0},
    {"gui", "background_opacity", SettingKind::Opacity, 255},
    {"gui", "text_opacity", SettingKind::Opacity, 255},
    {"gameplay", "speed_steps_per_second", SettingKind::StepRate, 0},
    {"gui", "show_hints", SettingKind::Switch, 0},
    {"gameplay", "write_log", SettingKind::Switch, 0},
    {"keys", "toggle_console", SettingKind::Binding, 117},
    {"gameplay", "use_gamepad", SettingKind::Switch, 0},
    {"keys", "enable_mod_modifier", SettingKind::Unused, 18},
    {"keys", "enable_mod", SettingKind::Unused, 84},
};
const size_t SettingKeyCount = sizeof SettingKeys / sizeof SettingKeys[0];

namespace {
bool SameName(const std::string& a, const char* b) {
    std::string other = b;
    if (a.size() != other.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(other[i])))
            return false;
    return true;
}
}  // namespace

int FindSettingKey(const std::string& section, const std::string& name) {
    for (size_t row = 0; row < SettingKeyCount; ++row)
        if (SameName(section, SettingKeys[row].section) && SameName(name, SettingKeys[row].name))
            return static_cast<int>(row);
    return -1;
}

bool IsSettingSection(const std::string& section) {
    return SameName(section, "gameplay") || SameName(section, "keys") || SameName(section, "gui");
}

double LoadedValue(const SettingsRecord& s, size_t row) {
    switch (row) {
    case 0: return s.enterRealistic ? 1 : 0;
    case 1: return s.useMetricSystem ? 1 : 0;
    case 2: return s.maxSpeedFreight;
    case 3: return s.maxSpeedMetro;
    case 4: return s.openLeftDoorsKey;
    case 5: return s.openRightDoorsKey;
    case 6: return s.reloadIniFileModifierKey;
    case 7: return s.reloadIniFileKey;
    case 8: return s.enterExitKey;
    case 9: return s.throttleUpKey;
    case 10: return s.throttleDownKey;
    case 11: return s.brakeLightKey;
    case 12: return s.brakeMediumKey;
    case 13: return s.brakeHardKey;
    case 14: return s.changeDirectionKey;
    case 15: return s.toggleGuiPositionKey;
    case 24: return s.backgroundOpacity;
    case 25: return s.textOpacity;
    case 26: return s.speedStepsPerSecond;
    case 27: return s.showHints ? 1 : 0;
    case 28: return s.writeLog ? 1 : 0;
    case 29: return s.toggleConsoleKey;
    case 30: return s.useGamepad ? 1 : 0;
    default:
        if (row >= 16 && row < 24) {
            const PanelPreset& preset = s.panelPresets[(row - 16) / 2];
            return (row - 16) % 2 == 0 ? preset.x : preset.y;
        }
        return 0;
    }
}
