// Key messages arrive on the host's schedule, possibly between two halves
// of a script pass; each field is one aligned 32-bit store, so a reader
// never sees a field half written, and no lock is needed.
#include "host/key_table.h"

KeyRecord KeyTable[KeyCodeCount];
uint8_t KeyHeard[KeyCodeCount];

void OnKeyboardMessage(VqDword key, uint16_t, uint8_t, int, int isWithAlt, int wasDownBefore, int isUpNow) noexcept {
    if (key >= KeyCodeCount) return;
    KeyRecord& record = KeyTable[key];
    record.tick = static_cast<uint32_t>(GetTickCount());
    record.withAlt = isWithAlt;
    record.wasDown = wasDownBefore;
    record.released = isUpNow;
    KeyHeard[key] = 1;
}

bool IsKeyHeld(uint32_t vk) noexcept {
    if (vk >= KeyCodeCount) return false;
    if (!KeyHeard[vk]) return false;
    const KeyRecord& record = KeyTable[vk];
    uint32_t now = static_cast<uint32_t>(GetTickCount());
    // Age in modulo-2^32 arithmetic, so the counter's wrap changes nothing.
    if (now - record.tick >= KeyHoldMilliseconds) return false;
    return record.released == 0;
}
