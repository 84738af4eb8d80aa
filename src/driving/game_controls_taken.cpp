// Taking the game's controls on our keys for one pass: the game ignores a
// disabled control for the current frame only, so this runs at the start
// of every pass that needs it. The lists were worked out when the
// settings were loaded; a pass only issues them.
#include "driving/drive_state.h"
#include "host/natives.h"
#include "settings/controls_taken_state.h"

namespace {

constexpr int PlayerControls = 0;
// Also the controls the game derives from it, as the bridge every
// plug-in of this kind goes through passes.
constexpr int WithRelatedActions = 1;

void Take(const ControlList& list) {
    DisableControlActions(PlayerControls, list.controls, list.count, WithRelatedActions);
}

}  // namespace

void TakeGameControlsForPass(bool atBoardingCabDoor) {
    if (DriveState.driving)
        Take(ControlsTaken.whileDriving);
    else if (atBoardingCabDoor)
        Take(ControlsTaken.atCabDoor);
}
