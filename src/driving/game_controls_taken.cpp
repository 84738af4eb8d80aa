// Taking the game's controls on our keys for one pass: the game ignores a
// disabled control for the current frame only, so this runs at the start
// of every pass that needs it. The lists were worked out when the
// settings were loaded; a pass only issues them. It also asks, with
// use_gamepad on, whether the pad gave the last input.
#include "driving/driving.h"
#include "driving/pad_state.h"
#include "host/game_controls.h"
#include "host/natives.h"
#include "settings/controls_taken_state.h"
#include "settings/settings.h"

PadRecord PadState;

namespace {

// Also the controls the game derives from it, as the bridge every
// plug-in of this kind goes through passes.
constexpr int WithRelatedActions = 1;

void Take(const ControlList& list) {
    DisableControlActions(PlayerControlGroup, list.controls, list.count, WithRelatedActions);
}

}  // namespace

void TakeGameControlsForPass(bool atBoardingCabDoor) {
    // The group is ignored; 2 is what the bridge passes. With use_gamepad
    // off the pad is never asked about.
    PadState.inUse = Settings.useGamepad && IS_USING_KEYBOARD_AND_MOUSE(2) == 0;
    const ControlsTakenRecord& taken = ControlsTaken;
    if (DriveState.driving)
        Take(PadState.inUse ? taken.whileDrivingWithPad : taken.whileDriving);
    else if (atBoardingCabDoor)
        Take(PadState.inUse ? taken.atCabDoorWithPad : taken.atCabDoor);
}
