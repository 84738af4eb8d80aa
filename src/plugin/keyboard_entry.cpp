// A key message: first into the key table, where the next pass finds it
// held, then noted for the log. Nothing here waits, throws or allocates.
#include "plugin/keyboard_entry.h"

#include "host/key_table.h"
#include "log/log.h"

void OnKeyboardMessage(VqDword key, uint16_t, uint8_t scanCode, int isExtended, int isWithAlt, int wasDownBefore,
                       int isUpNow) noexcept {
    if (key >= KeyCodeCount) return;
    StampKeyMessage(key, scanCode, isExtended, isWithAlt, wasDownBefore, isUpNow);
    NoteKeyMessage(key, scanCode, isExtended, isWithAlt, isUpNow);
}
