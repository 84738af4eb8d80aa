// The game's own controls and their default keys and pad buttons. The game
// never reads a key as we do: it maps keys and pad buttons to controls and
// acts on those, so a key Velquorin uses may also do something in the game.
#pragma once
#include <cstdint>

#include "host/key_twins.h"

enum class PadButton : uint8_t {
    None, A, B, X, Y, LB, RB, LT, RT, L3, R3, DpadUp, DpadDown, DpadLeft, DpadRight, Back, Start,
    LeftStick, RightStick,
};

// A physical key is named by a code: a modifier by its left or right code
// (162 is the left Ctrl key, never 17), a keypad key by its NumLock-on
// code, a dedicated navigation key by its own. 0 fills an unused place.
struct GameControl {
    const char* name;  // without the game's INPUT_ prefix
    uint8_t keys[2];
    PadButton pad;
};

constexpr uint16_t GameControlCount = 361;
// The group the control natives are asked with: the player's controls.
constexpr int PlayerControlGroup = 0;
extern const GameControl GameControls[GameControlCount];

// The physical keys whose press fires a binding, as the key table counts
// them: a generic modifier is its left and right keys, a navigation code
// also the keypad key that sends it with NumLock off. A binding of 0 or of
// 255 and above is fired by none. Returns how many it wrote (0 to 2).
constexpr int KeysFiringBinding(uint32_t binding, uint8_t (&keys)[2]) {
    if (binding == 0 || binding >= 255) return 0;
    switch (binding) {
    case 16: keys[0] = 160, keys[1] = 161; return 2;
    case 17: keys[0] = 162, keys[1] = 163; return 2;
    case 18: keys[0] = 164, keys[1] = 165; return 2;
    default: break;
    }
    keys[0] = static_cast<uint8_t>(binding);
    for (const auto& pair : KeypadAsNavigation)
        if (pair[0] == binding) {
            keys[1] = pair[1];
            return 2;
        }
    return 1;
}

// Whether the control's default keyboard key is one of the keys given.
constexpr bool ControlOnKeys(const GameControl& control, const uint8_t* keys, int count) {
    for (uint8_t own : control.keys)
        for (int i = 0; own != 0 && i < count; ++i)
            if (own == keys[i]) return true;
    return false;
}
