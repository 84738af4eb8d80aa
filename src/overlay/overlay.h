// The overlay room's operations: drawing primitives, the driver panel and
// its position cycle, the debug console.
#pragma once
#include <string>

#include "overlay/overlay_state.h"
#include "settings/settings.h"

// Drawing primitives.
void DrawText(const char* text, float x, float y, float scale, int alpha);
void DrawBox(float x, float y, float width, float height, int alpha);
int FormatLine(char (&buffer)[100], const char* format, ...) __attribute__((format(printf, 2, 3)));
// A number as the lines and the console format it: a NaN without its sign.
double FormattedValue(double value);

// Driver panel. Its two formatted lines: the speed, given in metres per
// second, in km/h or mph, and the throttle in percent.
void FormatSpeedLine(char (&line)[100], float speed, bool metric);
void FormatThrottleLine(char (&line)[100], float throttle);
// A line's place from the panel's anchor and the layout's offset.
float PanelLineOffset(float anchor, double offset);
void DrawDriverPanel();
void CyclePanelPosition();
// After each load of the settings: the panel at preset 0, or, after a load
// that failed, its error posted to the console as "key: text" and the
// panel left where it was. Slot and visibility stay as they are.
void ShowSettingsLoad(const SettingsLoadRecord& load);

// Debug console.
void DrawConsole();
void ToggleConsole();
void SetConsoleMessage(const std::string& text);
std::string FormatNumber(float value);
