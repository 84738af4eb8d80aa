// Key messages arrive on the host's schedule, possibly between two halves
// of a script pass; each field is one aligned 32-bit store, so a reader
// never sees a field half written, and no lock is needed.
#include "host/key_table.h"

KeyRecord KeyTable[KeyCodeCount];

namespace {
// A record that never received a message is not held. Comparing the clock
// with tick + 5000 alone would count an untouched record (tick 0) as held
// whenever the counter is below 5000, which happens again after every wrap
// of the 49.7-day counter: the throttle would climb with no key touched.
uint8_t keyHeard[KeyCodeCount];
}  // namespace

void OnKeyboardMessage(VqDword key, uint16_t, uint8_t, int, int isWithAlt, int wasDownBefore, int isUpNow) {
    if (key >= KeyCodeCount) return;
    KeyRecord& record = KeyTable[key];
    record.tick = static_cast<uint32_t>(GetTickCount());
    record.withAlt = isWithAlt;
    record.wasDown = wasDownBefore;
    record.released = isUpNow;
    keyHeard[key] = 1;
}

bool IsKeyHeld(uint32_t vk) {
    if (vk >= KeyCodeCount) return false;
    if (!keyHeard[vk]) return false;
    const KeyRecord& record = KeyTable[vk];
    uint32_t now = static_cast<uint32_t>(GetTickCount());
    // Age in modulo-2^32 arithmetic, so the counter's wrap changes nothing.
    if (now - record.tick >= KeyHoldMilliseconds) return false;
    return record.released == 0;
}
