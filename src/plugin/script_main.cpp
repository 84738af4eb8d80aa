// ScriptMain: load the settings, then one pass per game frame, for ever.
// An exception that left this function would unwind into the host and end
// the player's game, so the start and each pass run inside a guard that
// posts the error's text to the console and carries on with the next frame.
#include "plugin/script_main.h"

#include <exception>
#include <string>

#include "driving/drive_state.h"
#include "driving/step_pacing.h"
#include "host/script_hook.h"
#include "log/log.h"
#include "overlay/boarding_hint.h"
#include "overlay/overlay_state.h"
#include "settings/settings.h"

namespace {

// A host that fails every frame would otherwise add a line per frame, and
// every post copies the whole console: the same error twice in a row is
// posted once.
void ReportFault(const char* what) noexcept {
    try {
        std::string line = std::string("error: ") + what;
        const std::string& console = OverlayState.consoleText;
        if (console.compare(0, line.size() + 1, line + '\n') == 0) return;
        LogError(what);
        SetConsoleMessage(line);
    } catch (...) {
        // Out of memory even for the message: drop it and keep running.
    }
}

template <typename Step>
void Guarded(Step step) noexcept {
    try {
        step();
    } catch (const std::exception& error) {
        ReportFault(error.what());
    } catch (...) {
        ReportFault("unknown exception");
    }
}

}  // namespace

void RunFramePass() {
    Guarded([] {
        TakeGameControlsForPass(HintSaysEnterExitBoardsHere());
        WriteKeyLines();
        PaceStepsForPass();
        EndDriveIfPlayerLeftSeat();
        HandleControls();
        UpdateSpeed();
        if (OverlayState.consoleVisible) DrawConsole();
        if (OverlayState.panelVisible && DriveState.driving) DrawDriverPanel();
        if (Settings.showHints) ShowBoardingHint();
    });
}

// The host starts ScriptMain again, on a new fiber, each time the game
// reloads; the old fiber is dropped where it waited, so nothing the loop
// owns may live on its stack across scriptWait. The globals keep their
// values, but no handle of the old session means anything now.
bool ScriptStartedBefore = false;

void ScriptMain() {
    if (ScriptStartedBefore) {
        LogGameReload();
        ForgetKeysSeen();
        Guarded(EndDriveOfLastSession);
        ForgetBoardingHint();
    } else {
        LogPluginStarted();
    }
    ScriptStartedBefore = true;
    Guarded(LoadSettingsAndPlacePanel);
    for (;;) {
        RunFramePass();
        scriptWait(0);
    }
}
