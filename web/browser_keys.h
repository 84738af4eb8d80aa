// A key pressed in the browser as Windows' virtual-key code, the number
// the game's keyboard handler is given.
#pragma once
#include <cstdint>
#include <string>

// code and key are the KeyboardEvent's: the physical key ("ShiftLeft",
// "Numpad1") and what it types on the player's layout ("q"). A letter is
// taken by the layout's letter, as Windows does; every other key by its
// place. 0 for a key Windows has no code for.
uint32_t VirtualKeyOfBrowserKey(const std::string& code, const std::string& key);
