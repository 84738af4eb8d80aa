// The simulated keyboard: a physical key pressed or let go becomes the
// window messages Windows sends for it, with the generic modifier codes,
// scan codes and extended flags, the WM_SYSKEY rules of Alt and F10, the
// keypad's NumLock codes (turned around by Shift), and the repeat of the
// key pressed last.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>

#include "sim/host_internal.h"
#include "sim/sim.h"

namespace sim {
namespace {

// ---------------------------------------------------------------------------
// [SECTION] The keys: what each physical key sends. A keypad key sends its
// navigation code instead while NumLock is off.
struct PhysicalKey {
    uint32_t id;         // sim::key name: the code the settings use for the key
    uint8_t code;        // wParam of its messages
    uint8_t scanCode;
    bool extended;
    uint8_t numLockOffCode = 0;
};

constexpr PhysicalKey Keys[] = {
    {'A', 'A', 0x1E, false}, {'B', 'B', 0x30, false}, {'C', 'C', 0x2E, false}, {'D', 'D', 0x20, false},
    {'E', 'E', 0x12, false}, {'F', 'F', 0x21, false}, {'G', 'G', 0x22, false}, {'H', 'H', 0x23, false},
    {'I', 'I', 0x17, false}, {'J', 'J', 0x24, false}, {'K', 'K', 0x25, false}, {'L', 'L', 0x26, false},
    {'M', 'M', 0x32, false}, {'N', 'N', 0x31, false}, {'O', 'O', 0x18, false}, {'P', 'P', 0x19, false},
    {'Q', 'Q', 0x10, false}, {'R', 'R', 0x13, false}, {'S', 'S', 0x1F, false}, {'T', 'T', 0x14, false},
    {'U', 'U', 0x16, false}, {'V', 'V', 0x2F, false}, {'W', 'W', 0x11, false}, {'X', 'X', 0x2D, false},
    {'Y', 'Y', 0x15, false}, {'Z', 'Z', 0x2C, false},
    {'1', '1', 0x02, false}, {'2', '2', 0x03, false}, {'3', '3', 0x04, false}, {'4', '4', 0x05, false},
    {'5', '5', 0x06, false}, {'6', '6', 0x07, false}, {'7', '7', 0x08, false}, {'8', '8', 0x09, false},
    {'9', '9', 0x0A, false}, {'0', '0', 0x0B, false},
    {112, 112, 0x3B, false}, {113, 113, 0x3C, false}, {114, 114, 0x3D, false}, {115, 115, 0x3E, false},
    {116, 116, 0x3F, false}, {117, 117, 0x40, false}, {118, 118, 0x41, false}, {119, 119, 0x42, false},
    {120, 120, 0x43, false}, {121, 121, 0x44, false}, {122, 122, 0x57, false}, {123, 123, 0x58, false},
    {8, 8, 0x0E, false},    {9, 9, 0x0F, false},    {13, 13, 0x1C, false},  {19, 19, 0x45, false},
    {20, 20, 0x3A, false},  {27, 27, 0x01, false},  {32, 32, 0x39, false},  {145, 145, 0x46, false},
    {186, 186, 0x27, false}, {187, 187, 0x0D, false}, {188, 188, 0x33, false}, {189, 189, 0x0C, false},
    {190, 190, 0x34, false}, {191, 191, 0x35, false}, {192, 192, 0x29, false}, {219, 219, 0x1A, false},
    {220, 220, 0x2B, false}, {221, 221, 0x1B, false}, {222, 222, 0x28, false}, {226, 226, 0x56, false},
    // Modifiers: the generic code on both sides; the generic name is the left key.
    {key::LeftShift, 16, 0x2A, false}, {key::RightShift, 16, 0x36, false}, {key::Shift, 16, 0x2A, false},
    {key::LeftControl, 17, 0x1D, false}, {key::RightControl, 17, 0x1D, true}, {key::Control, 17, 0x1D, false},
    {key::LeftAlt, 18, 0x38, false}, {key::RightAlt, 18, 0x38, true}, {key::Alt, 18, 0x38, false},
    {key::LeftWindows, 91, 0x5B, true}, {key::RightWindows, 92, 0x5C, true}, {key::Menu, 93, 0x5D, true},
    // The keypad.
    {key::Numpad0, 96, 0x52, false, 45}, {key::Numpad1, 97, 0x4F, false, 35}, {key::Numpad2, 98, 0x50, false, 40},
    {key::Numpad3, 99, 0x51, false, 34}, {key::Numpad4, 100, 0x4B, false, 37}, {key::Numpad5, 101, 0x4C, false, 12},
    {key::Numpad6, 102, 0x4D, false, 39}, {key::Numpad7, 103, 0x47, false, 36}, {key::Numpad8, 104, 0x48, false, 38},
    {key::Numpad9, 105, 0x49, false, 33}, {key::NumpadDecimal, 110, 0x53, false, 46},
    {key::NumpadMultiply, 106, 0x37, false}, {key::NumpadAdd, 107, 0x4E, false},
    {key::NumpadSubtract, 109, 0x4A, false}, {key::NumpadDivide, 111, 0x35, true},
    {key::NumpadEnter, 13, 0x1C, true}, {key::NumLock, 144, 0x45, true},
    // The dedicated navigation keys: the keypad's NumLock-off codes, extended.
    {key::Insert, 45, 0x52, true}, {key::End, 35, 0x4F, true}, {key::Down, 40, 0x50, true},
    {key::PageDown, 34, 0x51, true}, {key::Left, 37, 0x4B, true}, {key::Right, 39, 0x4D, true},
    {key::Home, 36, 0x47, true}, {key::Up, 38, 0x48, true}, {key::PageUp, 33, 0x49, true},
    {key::Delete, 46, 0x53, true},
};

const PhysicalKey* Find(uint32_t id) {
    for (const PhysicalKey& k : Keys)
        if (k.id == id) return &k;
    return nullptr;
}

// AltGr on a European layout: Windows makes it a left Control and a right Alt.
constexpr PhysicalKey AltGrControl{key::AltGr, 17, 0x1D, false};
constexpr PhysicalKey AltGrAlt{key::AltGr, 18, 0x38, true};

// ---------------------------------------------------------------------------
// [SECTION] The keyboard's state
constexpr uint32_t IdCount = 0x200;
constexpr uint32_t NoKey = IdCount;

struct KeyboardState {
    bool down[IdCount] = {};
    bool pressed[IdCount] = {};  // went down since the last frame began
    // The game reads its input once a frame, as it began: each key then,
    // as the frame before began, and whether it went down in between.
    bool downAtFrame[IdCount] = {};
    bool downAtLastFrame[IdCount] = {};
    bool pressedBeforeFrame[IdCount] = {};
    bool numLock = true;
    bool otherKeySinceAlt = false;  // decides how the release of Alt is sent
    bool shiftLifted = false;       // let go by Windows for a keypad key under Shift
    bool repeatOn = true;
    uint64_t repeatDelay = 500'000;  // microseconds
    uint64_t repeatInterval = 1'000'000 / 30;
    uint32_t repeating = NoKey;     // the key pressed last, while it is held
    uint64_t nextRepeatAt = 0;
};

KeyboardState& Keyboard() {
    static KeyboardState keyboard;
    return keyboard;
}

bool Down(uint32_t id) { return id < IdCount && Keyboard().down[id]; }

bool AltDown() { return Down(key::LeftAlt) || Down(key::RightAlt) || Down(key::Alt) || Down(key::AltGr); }

bool ControlDown() {
    return Down(key::LeftControl) || Down(key::RightControl) || Down(key::Control) || Down(key::AltGr);
}

constexpr uint32_t ShiftKeys[] = {key::LeftShift, key::RightShift, key::Shift};

bool ShiftDown() { return Down(key::LeftShift) || Down(key::RightShift) || Down(key::Shift); }

bool IsKeypad(const PhysicalKey* k) { return k && k->numLockOffCode; }

bool KeypadDown() {
    for (const PhysicalKey& k : Keys)
        if (IsKeypad(&k) && Down(k.id)) return true;
    return false;
}

// WM_SYSKEYDOWN and WM_SYSKEYUP: Alt, and any key while Alt is held, as
// long as no Control is held with it (Control + Alt is AltGr's way); F10
// always, Control or not.
bool SystemKeyMessage(const PhysicalKey& k) {
    if (k.code == 121) return true;
    if (ControlDown()) return false;
    return AltDown();
}

// Shift held turns NumLock around for the keypad while NumLock is on; with
// NumLock off the keypad sends its navigation codes, Shift or not.
uint8_t CodeOf(const PhysicalKey& k) {
    const bool navigation = !Keyboard().numLock || ShiftDown();
    return k.numLockOffCode && navigation ? k.numLockOffCode : k.code;
}

void SendDown(const PhysicalKey& k, bool wasDown) {
    SendKeyMessage(CodeOf(k), SystemKeyMessage(k) ? 1 : 0, wasDown ? 1 : 0, 0, k.scanCode, k.extended ? 1 : 0);
}

void SendUp(const PhysicalKey& k, int withAlt) {
    SendKeyMessage(CodeOf(k), withAlt, 1, 1, k.scanCode, k.extended ? 1 : 0);
}

void SendDownOf(uint32_t id, const PhysicalKey* k, bool wasDown) {
    if (id == key::AltGr) {
        SendDown(AltGrControl, wasDown);
        SendDown(AltGrAlt, wasDown);
    } else if (k) {
        SendDown(*k, wasDown);
    } else {
        SendKeyMessage(id, AltDown() && !ControlDown() ? 1 : 0, wasDown ? 1 : 0, 0);
    }
}

bool IsAlt(const PhysicalKey* k) { return k && k->code == 18; }

// A keypad key Shift turned into a navigation key comes without Shift:
// Windows sends a Shift key-up before it and, once the keypad is let go
// with Shift still held, a Shift key-down after it.
void SendHeldShifts(bool down) {
    for (uint32_t id : ShiftKeys) {
        if (!Down(id)) continue;
        const PhysicalKey& shift = *Find(id);
        if (down)
            SendDown(shift, false);
        else
            SendUp(shift, SystemKeyMessage(shift) ? 1 : 0);
    }
}

}  // namespace

// ---------------------------------------------------------------------------
// [SECTION] Pressing and letting go
void KeyDown(uint32_t id) {
    KeyboardState& kb = Keyboard();
    const PhysicalKey* k = Find(id);
    const bool wasDown = Down(id);
    if (id == key::AltGr || IsAlt(k)) {
        // The other Alt pressed under one held counts as another key.
        if (!AltDown()) kb.otherKeySinceAlt = false;
        else if (!wasDown) kb.otherKeySinceAlt = true;
    } else {
        kb.otherKeySinceAlt = true;
    }
    if (IsKeypad(k) && kb.numLock && ShiftDown() && !kb.shiftLifted) {
        SendHeldShifts(false);
        kb.shiftLifted = true;
    }
    if (id < IdCount) kb.down[id] = true;
    if (id < IdCount && !wasDown) kb.pressed[id] = true;
    SendDownOf(id, k, wasDown);
    if (id == key::NumLock && !wasDown) kb.numLock = !kb.numLock;
    if (!wasDown && id < IdCount) {
        kb.repeating = id;
        kb.nextRepeatAt = host::ClockMicroseconds() + kb.repeatDelay;
    }
}

void KeyUp(uint32_t id) {
    KeyboardState& kb = Keyboard();
    const PhysicalKey* k = Find(id);
    if (id < IdCount) kb.down[id] = false;
    if (kb.repeating == id) kb.repeating = NoKey;
    if (id == key::AltGr) {
        SendUp(AltGrControl, 0);
        SendUp(AltGrAlt, 0);
    } else if (IsAlt(k) && !AltDown()) {
        // The last Alt let go after another key comes as WM_KEYUP; a lone
        // tap of it as WM_SYSKEYUP. Under the other Alt it is a key like any.
        const bool lone = !kb.otherKeySinceAlt && !ControlDown();
        SendUp(*k, lone ? 1 : 0);
    } else if (k) {
        SendUp(*k, SystemKeyMessage(*k) ? 1 : 0);
        if (IsKeypad(k) && kb.shiftLifted && !KeypadDown()) {
            kb.shiftLifted = false;
            SendHeldShifts(true);
        }
    } else {
        SendKeyMessage(id, AltDown() && !ControlDown() ? 1 : 0, 1, 1);
    }
}

void TapKey(uint32_t id, uint32_t step) {
    KeyDown(id);
    RunFrame(step);
    KeyUp(id);
}

void SetNumLock(bool on) { Keyboard().numLock = on; }
bool NumLockOn() { return Keyboard().numLock; }

void SetKeyRepeat(bool on, uint32_t delayMilliseconds, uint32_t perSecond) {
    KeyboardState& kb = Keyboard();
    kb.repeatOn = on && perSecond > 0;
    kb.repeatDelay = uint64_t{delayMilliseconds} * 1000;
    kb.repeatInterval = perSecond > 0 ? 1'000'000 / perSecond : 0;
}

namespace keyboard {

void Reset() { Keyboard() = KeyboardState{}; }

// A jump of the clock by hours with a key held would be millions of
// repeats; only the last ten seconds' are sent, which leave the key table
// as all of them would.
constexpr uint64_t RepeatCatchUp = 10'000'000;

bool NextRepeatBy(uint64_t until, uint64_t& at) {
    KeyboardState& kb = Keyboard();
    if (!kb.repeatOn || kb.repeating == NoKey || kb.nextRepeatAt > until) return false;
    if (until - kb.nextRepeatAt > RepeatCatchUp) {
        const uint64_t skipped = (until - kb.nextRepeatAt - RepeatCatchUp) / kb.repeatInterval + 1;
        kb.nextRepeatAt += skipped * kb.repeatInterval;
    }
    at = kb.nextRepeatAt;
    return true;
}

void Repeat() {
    KeyboardState& kb = Keyboard();
    if (kb.repeating == NoKey) return;
    kb.nextRepeatAt += kb.repeatInterval;
    SendDownOf(kb.repeating, Find(kb.repeating), true);
}

// The ids that are this physical key: the generic name of a modifier is
// its left key, AltGr is a left Control and a right Alt at once.
template <typename Test>
bool AnyIdOf(uint8_t code, Test test) {
    switch (code) {
    case 160: return test(key::LeftShift) || test(key::Shift);
    case 161: return test(key::RightShift);
    case 162: return test(key::LeftControl) || test(key::Control) || test(key::AltGr);
    case 163: return test(key::RightControl);
    case 164: return test(key::LeftAlt) || test(key::Alt);
    case 165: return test(key::RightAlt) || test(key::AltGr);
    case 13: return test(13) || test(key::NumpadEnter);
    default: return test(code);
    }
}

bool PhysicalKeyHeld(uint8_t code) {
    return AnyIdOf(code, [](uint32_t id) { return id < IdCount && Keyboard().downAtFrame[id]; });
}

bool PhysicalKeyHeldLastFrame(uint8_t code) {
    return AnyIdOf(code, [](uint32_t id) { return id < IdCount && Keyboard().downAtLastFrame[id]; });
}

bool PhysicalKeyPressedSinceLastFrame(uint8_t code) {
    return AnyIdOf(code, [](uint32_t id) { return id < IdCount && Keyboard().pressedBeforeFrame[id]; });
}

void BeginFrame() {
    KeyboardState& kb = Keyboard();
    std::memcpy(kb.downAtLastFrame, kb.downAtFrame, sizeof kb.downAtFrame);
    std::memcpy(kb.downAtFrame, kb.down, sizeof kb.down);
    std::memcpy(kb.pressedBeforeFrame, kb.pressed, sizeof kb.pressed);
    std::memset(kb.pressed, 0, sizeof kb.pressed);
}

void ClockSet(uint64_t now) {
    KeyboardState& kb = Keyboard();
    if (kb.repeating != NoKey) kb.nextRepeatAt = now + kb.repeatInterval;
}

}  // namespace keyboard
}  // namespace sim
