// The driver panel: speed, throttle, brake and direction in a box around
// the anchor, and the anchor's place: the cycle through the four presets,
// and preset 0 after each load of the settings.
#include <string>

#include "driving/drive_state.h"
#include "overlay/overlay.h"
#include "settings/settings.h"

namespace {

const char* BrakeLine(int brakeLevel) {
    switch (brakeLevel) {
    case 0: return "Brake: ~g~[L] [M] [H]";
    case 1: return "Brake: ~r~[L] ~g~[M] [H]";
    case 2: return "Brake: ~g~[L] ~r~[M] ~g~[H]";
    case 3: return "Brake: ~g~[L] ~g~[M] ~r~[H]";
    default: return nullptr;
    }
}

const char* DirectionLine(int direction) {
    switch (direction) {
    case 1: return "Direction: ~g~Forward";
    case -1: return "Direction: ~r~Backward";
    default: return nullptr;
    }
}

void ApplyPreset(int preset) {
    OverlayState.panelX = Settings.panelPresets[preset].x;
    OverlayState.panelY = Settings.panelPresets[preset].y;
}

}  // namespace

void ShowSettingsLoad(const SettingsLoadRecord& load) {
    if (!load.loaded) {
        SetConsoleMessage(std::string(load.failedKey) + ": " + load.error);
        return;
    }
    ApplyPreset(0);
}

// Worked in double precision from the float anchor, then narrowed, so
// every line lands where the layout's numbers put it.
float PanelLineOffset(float anchor, double offset) {
    return static_cast<float>(static_cast<double>(anchor) + offset);
}

void FormatSpeedLine(char (&line)[100], float speed, bool metric) {
    const double value = static_cast<double>(speed);
    if (metric)
        FormatLine(line, "%s %3.0f %s", "Speed:", FormattedValue(value * 3.6), "km/h");
    else
        FormatLine(line, "%s %3.0f %s", "Speed:", FormattedValue(value * 2.23693629), "mph");
}

void FormatThrottleLine(char (&line)[100], float throttle) {
    FormatLine(line, "%s %3.0f %s", "Throttle:", FormattedValue(static_cast<double>(throttle)), "%");
}

void DrawDriverPanel() {
    const float x = OverlayState.panelX;
    const float y = OverlayState.panelY;
    const float lineX = PanelLineOffset(x, -0.05);
    const float scale = 0.3f;
    const int alpha = Settings.textOpacity;

    DrawBox(x, y, 0.12f, 0.12f, Settings.backgroundOpacity);

    char line[100];
    FormatSpeedLine(line, DriveState.speed, Settings.useMetricSystem);
    DrawText(line, lineX, PanelLineOffset(y, -0.05), scale, alpha);

    FormatThrottleLine(line, DriveState.throttle);
    DrawText(line, lineX, PanelLineOffset(y, -0.025), scale, alpha);

    if (const char* brake = BrakeLine(DriveState.brakeLevel)) DrawText(brake, lineX, y, scale, alpha);
    if (const char* direction = DirectionLine(DriveState.direction))
        DrawText(direction, lineX, PanelLineOffset(y, 0.025), scale, alpha);
}

void CyclePanelPosition() {
    switch (OverlayState.panelSlot) {
    case 0:
    case 1:
    case 2:
        OverlayState.panelSlot += 1;
        ApplyPreset(OverlayState.panelSlot);
        break;
    case 3:
        OverlayState.panelSlot = 4;
        OverlayState.panelVisible = false;
        break;
    case 4:
        OverlayState.panelSlot = 0;
        OverlayState.panelVisible = true;
        ApplyPreset(0);
        break;
    default:  // a slot the cycle never writes: leave everything alone
        break;
    }
}
