// Just enough JSON for the page's answers: strings escaped, numbers to
// nine digits, a float's worth.
#pragma once
#include <string>

std::string JsonString(const std::string& text);
std::string JsonNumber(double value);
