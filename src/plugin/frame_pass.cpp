// One pass of the frame loop: every step of a game frame, in its order.
// Each room does its own part; what one room's result starts in another
// (a key that boards, a boarding the hint and the log tell of) is handed
// on here and nowhere else. Input comes before the controls act on it,
// the speed model after them, drawing last.
#include "driving/driving.h"
#include "driving/step_pacing.h"
#include "log/log.h"
#include "overlay/boarding_hint.h"
#include "overlay/overlay.h"
#include "plugin/guarded.h"
#include "plugin/script_main.h"
#include "settings/settings.h"

namespace {

// The enter/exit key: leave the train, or board the one a look finds.
// Metro trains post the distance to their cab door whatever came of the
// look, and again before a boarding.
void ToggleBoarding() {
    EnterExitOutcome outcome;
    if (DriveState.driving) {
        outcome = LeaveTrain();
    } else {
        const BoardingLook look = LookForTrainToBoard();
        if (look.metro) SetConsoleMessage(FormatNumber(look.toBoardingPoint));
        if (look.verdict == BoardingVerdict::Boards) {
            if (look.metro) SetConsoleMessage(FormatNumber(look.toBoardingPoint));
            outcome = BoardTrain(look);
        } else {
            outcome.look = look;
            outcome.train = look.train;
        }
    }
    NoteEnterExitPress(outcome);
    LogEnterExit(outcome);
}

// Control dispatch, in its fixed order. The driving flag is read once:
// boarding in this pass starts the driving keys in the next.
void HandleControls(const DriveEnding& seatCheck) {
    if (DriveState.driving) {
        HandleDrivingKeys();
        if (PanelPositionKeyFires()) CyclePanelPosition();
    }
    if (ReloadChordFires()) LoadSettingsAndPlacePanel();
    // A press in the pass where the seat check ended the drive is the one
    // the player left with (the game's exit is on F too): it does not board.
    if (EnterExitKeyFires() && !seatCheck.ended) ToggleBoarding();
    if (ConsoleKeyFires()) ToggleConsole();
}

}  // namespace

// The flag tests of the drawing steps come after the keys, so what this
// pass's keys changed shows in this pass's drawing.
void RunFramePass() {
    Guarded([] {
        // The game ignores a control taken for this frame only: first, so
        // it has none of the keys the pass may act on.
        TakeGameControlsForPass(HintSaysEnterExitBoardsHere());
        WriteKeyLines();     // the keys' first messages since the last pass, to the log
        PaceStepsForPass();  // how many speed steps this pass takes
        const DriveEnding seatCheck = EndDriveIfPlayerLeftSeat();
        LogDriveEnd(seatCheck);
        HandleControls(seatCheck);
        UpdateSpeed();
        if (OverlayState.consoleVisible) DrawConsole();
        if (OverlayState.panelVisible && DriveState.driving) DrawDriverPanel();
        if (Settings.showHints) {
            if (BoardingHintWantsLook()) TakeBoardingLook(LookForTrainToBoard());
            ShowBoardingHint();
        }
    });
}
