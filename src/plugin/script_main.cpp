// ScriptMain: load the settings, then one pass per game frame, for ever.
#include "plugin/script_main.h"

#include "driving/driving.h"
#include "host/script_hook.h"
#include "log/log.h"
#include "overlay/boarding_hint.h"
#include "overlay/overlay.h"
#include "plugin/guarded.h"
#include "settings/load_settings.h"

void LoadSettingsAndPlacePanel() {
    const SettingsLoadRecord load = LoadSettings();
    LogSettingsLoad(load);
    ShowSettingsLoad(load);
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
        Guarded([] { LogDriveEnd(EndDriveOfLastSession()); });
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
