// Control dispatch: the held keys to driving actions, once per frame, in a
// fixed order. Repeatable actions wait strictly more than their interval
// since they last fired; the throttle takes the pass's steps (one a frame
// unless speed_steps_per_second paces them).
#include <cstdint>

#include "driving/action_timers.h"
#include "driving/drive_state.h"
#include "driving/step_pacing.h"
#include "host/key_table.h"
#include "overlay/overlay_state.h"
#include "settings/settings.h"

ActionTimerRecord ActionTimers;

namespace {

// Unsigned subtraction keeps the test right across the counter's wrap. The
// tick is taken before the action runs, so a slow action cannot re-fire.
bool FireIfDue(uint32_t vk, uint32_t& lastTick, uint32_t interval) {
    if (!IsKeyHeld(vk)) return false;
    uint32_t now = static_cast<uint32_t>(GetTickCount());
    if (now - lastTick <= interval) return false;
    lastTick = now;
    return true;
}

void ToggleBrake(int level) { DriveState.brakeLevel = DriveState.brakeLevel == level ? 0 : level; }

void HandleDrivingKeys() {
    const SettingsRecord& keys = Settings;
    if (DriveState.speed == 0.0f && FireIfDue(keys.changeDirectionKey, ActionTimers.directionTick, 500))
        DriveState.direction = DriveState.direction == 1 ? -1 : 1;

    const bool up = IsKeyHeld(keys.throttleUpKey), down = IsKeyHeld(keys.throttleDownKey);
    for (int step = 0; step < StepPacing.stepsThisPass; ++step) {
        if (up && DriveState.throttle + 1.0f <= 100.0f) DriveState.throttle += 1.0f;
        if (down && DriveState.throttle - 1.0f >= 0.0f) DriveState.throttle -= 1.0f;
    }

    if (FireIfDue(keys.brakeLightKey, ActionTimers.brakeTick, 200)) ToggleBrake(1);
    if (FireIfDue(keys.brakeMediumKey, ActionTimers.brakeTick, 200)) ToggleBrake(2);
    if (FireIfDue(keys.brakeHardKey, ActionTimers.brakeTick, 200)) ToggleBrake(3);

    if (FireIfDue(keys.openLeftDoorsKey, ActionTimers.doorTick, 200)) OpenLeftDoors();
    if (FireIfDue(keys.openRightDoorsKey, ActionTimers.doorTick, 200)) OpenRightDoors();

    if (FireIfDue(keys.toggleGuiPositionKey, ActionTimers.panelPositionTick, 200)) CyclePanelPosition();
}

}  // namespace

void HandleControls() {
    // Read once: boarding this frame starts the driving keys next frame.
    const bool driving = DriveState.driving;
    if (driving) HandleDrivingKeys();

    if (IsKeyHeld(Settings.reloadIniFileModifierKey) &&
        FireIfDue(Settings.reloadIniFileKey, ActionTimers.reloadTick, 500))
        LoadSettingsAndPlacePanel();

    if (FireIfDue(Settings.enterExitKey, ActionTimers.enterExitTick, 500)) ToggleBoarding();

    if (FireIfDue(Settings.toggleConsoleKey, ActionTimers.consoleTick, 500))
        OverlayState.consoleVisible = !OverlayState.consoleVisible;
}
