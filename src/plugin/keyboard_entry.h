// The keyboard handler the script-hook library calls for every key message,
// on the game's window thread, on its own schedule.
#pragma once
#include <cstdint>

#include "host/platform.h"

void OnKeyboardMessage(VqDword key, uint16_t repeats, uint8_t scanCode, int isExtended, int isWithAlt,
                       int wasDownBefore, int isUpNow) noexcept;
