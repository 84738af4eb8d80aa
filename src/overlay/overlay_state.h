// What the overlay shows: the driver panel's place and the debug console.
#pragma once
#include <string>

struct OverlayRecord {
    bool panelVisible = true;
    int panelSlot = 0;  // preset last applied by the cycle; 4 means hidden
    float panelX = 0.0f;
    float panelY = 0.0f;
    bool consoleVisible = false;
    std::string consoleText;  // every message so far, newest first, each ending in a line feed
};

extern OverlayRecord OverlayState;
