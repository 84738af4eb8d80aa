// Key messages arrive on the host's schedule, possibly between two halves
// of a script pass; each field is one aligned 32-bit store, so a reader
// never sees a field half written, and no lock is needed.
#include "host/key_table.h"

KeyRecord KeyTable[KeyCodeCount];
uint8_t KeyHeard[KeyCodeCount];

namespace {

constexpr uint32_t NoTwin = KeyCodeCount;
constexpr uint8_t RightShiftScanCode = 0x36;

// The keypad with NumLock off: navigation code, keypad key, in the
// keypad's order 0 to 9, then the decimal point.
constexpr uint8_t KeypadAsNavigation[][2] = {
    {45, 96}, {35, 97}, {40, 98}, {34, 99}, {37, 100}, {12, 101},
    {39, 102}, {36, 103}, {38, 104}, {33, 105}, {46, 110},
};

struct KeypadKeyTable {
    uint8_t keypadKeyOf[47] = {};
};
constexpr KeypadKeyTable BuildKeypadKeyTable() {
    KeypadKeyTable table{};
    for (const auto& pair : KeypadAsNavigation) table.keypadKeyOf[pair[0]] = pair[1];
    return table;
}
constexpr KeypadKeyTable KeypadKeys = BuildKeypadKeyTable();

// Window messages name both Shift, Control and Alt keys by the generic
// code, and the keypad with NumLock off by the navigation code; the
// settings name the left or right key, or the keypad key. The record a
// message also stands for makes a binding answer to the key the player
// pressed, whichever way Windows named it.
uint32_t TwinOf(uint32_t key, uint8_t scanCode, int isExtended) {
    switch (key) {
    case 16: return scanCode == RightShiftScanCode ? 161 : 160;
    case 17: return isExtended ? 163 : 162;
    case 18: return isExtended ? 165 : 164;
    case 160: case 161: return 16;
    case 162: case 163: return 17;
    case 164: case 165: return 18;
    default: break;
    }
    // Extended: one of the dedicated navigation keys, no keypad key.
    if (isExtended || key >= sizeof KeypadKeys.keypadKeyOf) return NoTwin;
    const uint8_t keypadKey = KeypadKeys.keypadKeyOf[key];
    return keypadKey ? keypadKey : NoTwin;
}

void Stamp(uint32_t key, uint32_t tick, int isWithAlt, int wasDownBefore, int isUpNow) noexcept {
    KeyRecord& record = KeyTable[key];
    record.tick = tick;
    record.withAlt = isWithAlt;
    record.wasDown = wasDownBefore;
    record.released = isUpNow;
    KeyHeard[key] = 1;
}

}  // namespace

void OnKeyboardMessage(VqDword key, uint16_t, uint8_t scanCode, int isExtended, int isWithAlt, int wasDownBefore,
                       int isUpNow) noexcept {
    if (key >= KeyCodeCount) return;
    const uint32_t tick = static_cast<uint32_t>(GetTickCount());
    Stamp(key, tick, isWithAlt, wasDownBefore, isUpNow);
    const uint32_t twin = TwinOf(key, scanCode, isExtended);
    if (twin != NoTwin) Stamp(twin, tick, isWithAlt, wasDownBefore, isUpNow);
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
