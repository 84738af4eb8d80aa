// The thirteen bindings by their settings keys, for the log's settings and
// key lines, and a code as the settings checker shows it: "W (87)".
#pragma once
#include <cstdint>

#include "log/log_line.h"
#include "host/key_names.h"
#include "settings/settings.h"

struct LoggedBinding {
    const char* key;
    uint32_t SettingsRecord::*field;
};

constexpr LoggedBinding LoggedBindings[] = {
    {"open_left_doors", &SettingsRecord::openLeftDoorsKey},
    {"open_right_doors", &SettingsRecord::openRightDoorsKey},
    {"reload_ini_file_modifier", &SettingsRecord::reloadIniFileModifierKey},
    {"reload_ini_file", &SettingsRecord::reloadIniFileKey},
    {"enter_exit", &SettingsRecord::enterExitKey},
    {"throttle_up", &SettingsRecord::throttleUpKey},
    {"throttle_down", &SettingsRecord::throttleDownKey},
    {"brake_light", &SettingsRecord::brakeLightKey},
    {"brake_medium", &SettingsRecord::brakeMediumKey},
    {"brake_hard", &SettingsRecord::brakeHardKey},
    {"change_direction", &SettingsRecord::changeDirectionKey},
    {"toggle_gui_position", &SettingsRecord::toggleGuiPositionKey},
    {"toggle_console", &SettingsRecord::toggleConsoleKey},
};

inline void AppendBinding(LogLineRecord& line, uint32_t code) {
    if (code == 0) return AppendText(line, "0 (no key)");
    if (const char* name = KeyNameOfCode(code)) {
        AppendText(line, name);
        AppendText(line, " (");
        AppendNumber(line, code);
        AppendText(line, ")");
    } else {
        AppendNumber(line, code);
    }
}
