// Key messages arrive on the host's schedule, possibly between two halves
// of a script pass; each field is one aligned 32-bit store, so a reader
// never sees a field half written, and no lock is needed.
#include "host/key_table.h"

#include "host/key_twins.h"

KeyRecord KeyTable[KeyCodeCount];
uint8_t KeyHeard[KeyCodeCount];

namespace {

void Stamp(uint32_t key, uint32_t tick, int isWithAlt, int wasDownBefore, int isUpNow) noexcept {
    KeyRecord& record = KeyTable[key];
    record.tick = tick;
    record.withAlt = isWithAlt;
    record.wasDown = wasDownBefore;
    record.released = isUpNow;
    KeyHeard[key] = 1;
}

}  // namespace

uint32_t StampKeyMessage(uint32_t key, uint8_t scanCode, int isExtended, int isWithAlt, int wasDownBefore,
                         int isUpNow) noexcept {
    if (key >= KeyCodeCount) return 0;
    const uint32_t tick = static_cast<uint32_t>(GetTickCount());
    Stamp(key, tick, isWithAlt, wasDownBefore, isUpNow);
    // Eleven comparisons at most for the keypad: still constant time.
    const uint32_t twin = TwinKeyOf(key, scanCode, isExtended);
    if (twin != NoTwinKey) Stamp(twin, tick, isWithAlt, wasDownBefore, isUpNow);
    return tick;
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
