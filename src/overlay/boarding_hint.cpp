// The hint on foot: a look for a train to board at most every 250 ms, its
// line drawn every pass in between, and the reason a press boarded nothing
// for 3 s. Every text lives in this record, so no pass allocates.
#include <cstdint>

#include "driving/pad_state.h"
#include "host/platform.h"
#include "overlay/boarding_hint.h"
#include "overlay/overlay_state.h"
#include "settings/settings.h"

namespace {

// A look costs the natives of a press, so it is not made every frame: at
// most four a second keeps the line as fresh as a walk needs.
constexpr uint32_t LookInterval = 250;
constexpr uint32_t ReasonShownFor = 3000;

struct BoardingHintRecord {
    bool looked = false;  // false: the next pass on foot looks at once
    uint32_t lookTick = 0;
    char line[100] = "";  // what the last look found; "" draws nothing
    bool boardsHere = false;  // the line is the one that says the key boards
    bool padAtLook = false;   // the line names Y while the pad is in use
    bool reasonShown = false;
    uint32_t reasonTick = 0;
    char reason[100] = "";
};

BoardingHintRecord BoardingHint;

uint32_t Now() { return static_cast<uint32_t>(GetTickCount()); }

void TakeLook(const BoardingLook& look, uint32_t now) {
    FormatOnFootHint(BoardingHint.line, look);
    BoardingHint.boardsHere = look.verdict == BoardingVerdict::Boards && BoardingHint.line[0] != '\0';
    BoardingHint.padAtLook = PadState.inUse;
    BoardingHint.lookTick = now;
    BoardingHint.looked = true;
}

}  // namespace

bool BoardingHintWantsLook() {
    // Hidden by the position cycle: the player asked for a clear screen.
    if (DriveState.driving || !OverlayState.panelVisible) return false;
    if (BoardingHint.padAtLook != PadState.inUse) return true;  // the line names the other key
    return !BoardingHint.looked || Now() - BoardingHint.lookTick > LookInterval;
}

void TakeBoardingLook(const BoardingLook& look) { TakeLook(look, Now()); }

void ShowBoardingHint() {
    if (DriveState.driving) {
        if (BoardingHint.looked || BoardingHint.reasonShown) ForgetBoardingHint();
        return;
    }
    if (!OverlayState.panelVisible) return;
    // Unsigned ticks: the reason expires across the counter's wrap too.
    if (BoardingHint.reasonShown && Now() - BoardingHint.reasonTick >= ReasonShownFor)
        BoardingHint.reasonShown = false;
    const char* line = BoardingHint.reasonShown ? BoardingHint.reason : BoardingHint.line;
    if (line[0] != '\0') DrawHintLine(line);
}

void NoteEnterExitPress(const EnterExitOutcome& outcome) {
    if (!Settings.showHints || outcome.result != EnterExitResult::NotBoarded) return;
    const uint32_t now = Now();
    FormatRefusalReason(BoardingHint.reason, outcome.look);
    BoardingHint.reasonShown = BoardingHint.reason[0] != '\0';
    BoardingHint.reasonTick = now;
    TakeLook(outcome.look, now);
}

void ForgetBoardingHint() { BoardingHint = BoardingHintRecord{}; }

bool HintSaysEnterExitBoardsHere() {
    // What the last pass drew: the hint shows nothing while the panel is
    // hidden, and a press's reason stands in its place for a while.
    return Settings.showHints && !DriveState.driving && OverlayState.panelVisible && BoardingHint.boardsHere &&
           !BoardingHint.reasonShown;
}
