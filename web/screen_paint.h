// A recorded frame as the page's canvas paints it, the way the desk
// simulator's screenshots show the game's screen.
#pragma once
#include <string>

#include "web_host.h"

// The frame for a canvas of width x height pixels, as JSON: "boxes", each
// [left, top, width, height, opacity], then "texts", one per line of text,
// each with its left x, its top y, its font size, its line number within
// its text, its opacity and its runs of one colour, [css colour, text].
std::string PaintedFrameJson(const DrawnFrame& frame, double width, double height);
