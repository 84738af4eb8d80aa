#include "plugin/guarded.h"

#include <string>

#include "log/log.h"
#include "overlay/overlay.h"

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
