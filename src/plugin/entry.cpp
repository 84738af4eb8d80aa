// The library entry: bind to the script-hook library at load, unbind at
// unload. Nothing else happens here but closing the log at unload: no
// native, no shared record.
#include "host/script_hook.h"
#include "log/log.h"
#include "plugin/keyboard_entry.h"
#include "plugin/script_main.h"

#ifdef _WIN32
#define VQ_ENTRY extern "C" int __stdcall
#else
// The simulated host plays the Windows loader and calls this by name.
#define VQ_ENTRY extern "C" __attribute__((visibility("default"))) int
#endif

VQ_ENTRY DllMain(void* module, unsigned long reason, void* /*reserved*/) {
    switch (reason) {
    case 1:  // DLL_PROCESS_ATTACH
        scriptRegister(module, ScriptMain);
        keyboardHandlerRegister(OnKeyboardMessage);
        break;
    case 0:  // DLL_PROCESS_DETACH
        scriptUnregister(ScriptMain);
        keyboardHandlerUnregister(OnKeyboardMessage);
        CloseLog();
        break;
    default:  // thread attach and detach
        break;
    }
    return 1;
}
