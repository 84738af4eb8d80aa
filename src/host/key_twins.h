// Which second record a key message also stands for. Window messages name
// both Shift, Control and Alt keys by the generic code, and the keypad with
// NumLock off by the navigation code; the settings may name the left or
// right key, or the keypad key. The key table stamps both records, and the
// settings checker asks the same table which two bindings one press fires.
#pragma once
#include <cstdint>

constexpr uint32_t NoTwinKey = 255;
constexpr uint8_t RightShiftScanCode = 0x36;

// The keypad with NumLock off: navigation code, keypad key, in the
// keypad's order 0 to 9, then the decimal point.
constexpr uint8_t KeypadAsNavigation[][2] = {
    {45, 96}, {35, 97}, {40, 98}, {34, 99}, {37, 100}, {12, 101},
    {39, 102}, {36, 103}, {38, 104}, {33, 105}, {46, 110},
};

constexpr uint32_t TwinKeyOf(uint32_t key, uint8_t scanCode, int isExtended) {
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
    if (isExtended) return NoTwinKey;
    for (const auto& pair : KeypadAsNavigation)
        if (pair[0] == key) return pair[1];
    return NoTwinKey;
}

// True when some message for one of the two codes also stamps the other:
// then one press fires a binding on each (CONTROL and LCONTROL, END and
// NUMPAD1 with NumLock off).
constexpr bool OnePressStampsBoth(uint32_t a, uint32_t b) {
    const uint8_t scanCodes[] = {0, RightShiftScanCode};
    for (int isExtended = 0; isExtended <= 1; ++isExtended)
        for (uint8_t scanCode : scanCodes)
            if (TwinKeyOf(a, scanCode, isExtended) == b || TwinKeyOf(b, scanCode, isExtended) == a) return true;
    return false;
}

// AltGr on many European keyboards: one press sends a left Control, then a
// right Alt, so it fires a binding on CONTROL or LCONTROL and one on MENU
// or RMENU at once.
constexpr bool AltGrStampsBoth(uint32_t a, uint32_t b) {
    auto control = [](uint32_t k) { return k == 17 || k == 162; };
    auto alt = [](uint32_t k) { return k == 18 || k == 165; };
    return (control(a) && alt(b)) || (control(b) && alt(a));
}
