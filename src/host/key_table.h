// The key state table: the keyboard handler stamps every key message into
// it, the script fiber asks whether a key is held.
#pragma once
#include <cstdint>

#include "host/platform.h"

struct KeyRecord {
    uint32_t tick = 0;      // GetTickCount() when the latest message arrived
    int32_t withAlt = 0;    // recorded as delivered; nothing reads it
    int32_t wasDown = 0;    // recorded as delivered; nothing reads it
    int32_t released = 0;   // nonzero for a key-up message
};

constexpr uint32_t KeyCodeCount = 255;  // codes 0 to 254; 255 and above never act
constexpr uint32_t KeyHoldMilliseconds = 5000;

extern KeyRecord KeyTable[KeyCodeCount];
// Nonzero once a key has had any message. A record that never received one
// is not held: comparing the clock with tick + 5000 alone would count an
// untouched record (tick 0) as held whenever the counter is below 5000,
// which happens again after every wrap of the 49.7-day counter, and the
// throttle would climb with no key touched.
extern uint8_t KeyHeard[KeyCodeCount];

// One message into the key's record, and into its twin's (key_twins.h);
// a code of 255 or more changes nothing. Returns the tick the message
// arrived at.
uint32_t StampKeyMessage(uint32_t key, uint8_t scanCode, int isExtended, int isWithAlt, int wasDownBefore,
                         int isUpNow) noexcept;
bool IsKeyHeld(uint32_t vk) noexcept;
