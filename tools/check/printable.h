// Text from a player's file, made safe to print on a terminal.
#pragma once
#include <string>

// Every byte below 32 but the tab, and 127, written as \xNN, so a settings
// file can neither move the cursor nor retitle the window, and a NUL shows.
std::string Printable(const std::string& text);
