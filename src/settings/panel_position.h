// Text of a panel position to a float.
#pragma once

// Skips leading white space, then takes the longest prefix of the form
// [+-] digits-with-at-most-one-point [eE [+-] digits] and ignores the rest.
// No such number: std::invalid_argument("invalid stof argument"). Too large
// for a float: std::out_of_range("stof argument out of range"). Otherwise
// the number correctly rounded to the nearest float (tiny ones to a
// subnormal or zero, no error).
float ParsePanelPosition(const char* text);
