// Control dispatch: the held keys, and the pad's buttons while the pad is in
// use, to driving actions, once per frame, in a fixed order. A button does
// what its key does, with the same tick. Repeatable actions wait strictly
// more than their interval since they last fired; the throttle takes the
// pass's steps (one a frame unless speed_steps_per_second paces them).
#include <cstdint>

#include "driving/action_timers.h"
#include "driving/driving.h"
#include "driving/pad_controls_state.h"
#include "driving/pad_state.h"
#include "driving/step_pacing.h"
#include "host/key_table.h"
#include "host/game_controls.h"
#include "host/natives.h"
#include "host/platform.h"
#include "settings/settings.h"

ActionTimerRecord ActionTimers;

namespace {

// A button of the pad, read only while the pad gave the last input. The
// plug-in took its control from the game at the pass's start, so it is
// read through the IS_DISABLED_ form.
bool PadHeld(uint16_t control) {
    return PadState.inUse && IS_DISABLED_CONTROL_PRESSED(PlayerControlGroup, control) != 0;
}

bool TriggerHeld(uint16_t control) {
    return PadState.inUse && GET_DISABLED_CONTROL_NORMAL(PlayerControlGroup, control) > TriggerHeldAbove;
}

// A key or the pad button that does what it does: one action, one tick.
bool Held(uint32_t vk, uint16_t padControl) { return PadHeld(padControl) || IsKeyHeld(vk); }

// Unsigned subtraction keeps the test right across the counter's wrap. The
// tick is taken before the action runs, so a slow action cannot re-fire.
bool FireIfDue(bool held, uint32_t& lastTick, uint32_t interval) {
    if (!held) return false;
    uint32_t now = static_cast<uint32_t>(GetTickCount());
    if (now - lastTick <= interval) return false;
    lastTick = now;
    return true;
}

void ToggleBrake(int level) { DriveState.brakeLevel = DriveState.brakeLevel == level ? 0 : level; }

}  // namespace

void HandleDrivingKeys() {
    const SettingsRecord& keys = Settings;
    if (DriveState.speed == 0.0f &&
        FireIfDue(Held(keys.changeDirectionKey, PadControl::Direction), ActionTimers.directionTick, 500))
        DriveState.direction = DriveState.direction == 1 ? -1 : 1;

    const bool up = TriggerHeld(PadControl::ThrottleUp) || IsKeyHeld(keys.throttleUpKey);
    const bool down = TriggerHeld(PadControl::ThrottleDown) || IsKeyHeld(keys.throttleDownKey);
    for (int step = 0; step < StepPacing.stepsThisPass; ++step) {
        if (up && DriveState.throttle + 1.0f <= 100.0f) DriveState.throttle += 1.0f;
        if (down && DriveState.throttle - 1.0f >= 0.0f) DriveState.throttle -= 1.0f;
    }

    if (FireIfDue(Held(keys.brakeLightKey, PadControl::BrakeLight), ActionTimers.brakeTick, 200)) ToggleBrake(1);
    if (FireIfDue(Held(keys.brakeMediumKey, PadControl::BrakeMedium), ActionTimers.brakeTick, 200)) ToggleBrake(2);
    if (FireIfDue(Held(keys.brakeHardKey, PadControl::BrakeHard), ActionTimers.brakeTick, 200)) ToggleBrake(3);

    if (FireIfDue(Held(keys.openLeftDoorsKey, PadControl::LeftDoors), ActionTimers.doorTick, 200)) OpenLeftDoors();
    if (FireIfDue(Held(keys.openRightDoorsKey, PadControl::RightDoors), ActionTimers.doorTick, 200))
        OpenRightDoors();
}

bool PanelPositionKeyFires() {
    return FireIfDue(Held(Settings.toggleGuiPositionKey, PadControl::PanelPosition), ActionTimers.panelPositionTick,
                     200);
}

bool ReloadChordFires() {
    return IsKeyHeld(Settings.reloadIniFileModifierKey) &&
           FireIfDue(IsKeyHeld(Settings.reloadIniFileKey), ActionTimers.reloadTick, 500);
}

// Y is the game's own leave in a vehicle and its own enter on foot.
bool EnterExitKeyFires() {
    const uint16_t padEnterExit = DriveState.driving ? PadControl::Leave : PadControl::Board;
    return FireIfDue(Held(Settings.enterExitKey, padEnterExit), ActionTimers.enterExitTick, 500);
}

bool ConsoleKeyFires() { return FireIfDue(IsKeyHeld(Settings.toggleConsoleKey), ActionTimers.consoleTick, 500); }
