// The key state table: the host stamps every key message into it, the
// script fiber asks whether a key is held.
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

void OnKeyboardMessage(VqDword key, uint16_t repeats, uint8_t scanCode, int isExtended, int isWithAlt,
                       int wasDownBefore, int isUpNow);
bool IsKeyHeld(uint32_t vk);
