// The page's stand-in for the game: the script-hook library's native calls
// and Windows' profile functions, for the plug-in's own drawing and
// settings code. Only the drawing natives do anything; each is recorded.
#pragma once
#include <string>
#include <vector>

struct DrawnBox {
    float x, y, width, height;  // centre and full size, in screen fractions
    int alpha;
};

struct DrawnText {
    std::string text;
    float x, y;  // top-left, in screen fractions
    float scale;
    int alpha;
};

struct DrawnFrame {
    std::vector<DrawnBox> boxes;
    std::vector<DrawnText> texts;
};

// Everything drawn since the last call, which starts a new frame.
DrawnFrame TakeDrawnFrame();
