// Drawing a frame of the game's screen with cairo, for the pictures.
#pragma once
#include <cairo.h>

#include <vector>

#include "sim/sim.h"

// The frame in screen pixels (ScreenWidth x ScreenHeight) on cr, from the
// background up: every box, then every text line.
void DrawScreen(cairo_t* cr, const std::vector<sim::DrawnText>& texts, const std::vector<sim::DrawnBox>& boxes);
