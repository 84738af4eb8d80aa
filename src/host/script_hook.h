// The eight functions of the script-hook library, under plain names.
// On Windows an import library made from ScriptHookV.def maps each plain
// name to the library's MSVC-decorated export; in Linux builds the
// simulated host defines them.
#pragma once
#include <cstdint>
#include "host/platform.h"

typedef void (*ScriptFunction)();
typedef void (*KeyboardHandler)(VqDword key, uint16_t repeats, uint8_t scanCode,
                                int isExtended, int isWithAlt, int wasDownBefore, int isUpNow);

extern "C" {
VQ_IMPORT void scriptRegister(void* module, ScriptFunction script);
VQ_IMPORT void scriptUnregister(ScriptFunction script);
VQ_IMPORT void keyboardHandlerRegister(KeyboardHandler handler);
VQ_IMPORT void keyboardHandlerUnregister(KeyboardHandler handler);
VQ_IMPORT void scriptWait(VqDword milliseconds);
VQ_IMPORT void nativeInit(uint64_t hash);
VQ_IMPORT void nativePush64(uint64_t value);
VQ_IMPORT uint64_t* nativeCall();
}
