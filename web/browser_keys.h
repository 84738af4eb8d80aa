// A key pressed in the browser as Windows' virtual-key code, the number
// the game's keyboard handler is given.
#pragma once
#include <cstdint>
#include <string>

// What a press binds: the code (0 for none: the page keeps waiting) and a
// line for the player, empty when there is nothing to say.
struct BrowserKeyBinding {
    uint32_t virtualKey;
    std::string note;
};

// code, key and keyCode are the KeyboardEvent's: the physical key
// ("ShiftLeft", "Semicolon"), what it types on the player's layout ("ö")
// and the browser's number for it. keyCodeIsWindows says the browser
// hands on the number Windows sends (Chromium-based browsers on Windows);
// elsewhere a key whose code depends on the layout is taken by its place
// on a US keyboard, and the note says so.
BrowserKeyBinding VirtualKeyOfBrowserKey(const std::string& code, const std::string& key, int keyCode,
                                         bool keyCodeIsWindows);
