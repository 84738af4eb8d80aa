#include "settings/panel_position.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <stdexcept>
#include <string>

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// from_chars reports underflow to zero as out of range too; only overflow is
// an error. Out of range means above 3e38 or below 1e-45, so the power of ten
// of the leading digit tells the two apart.
bool Overflows(const std::string& number) {
    size_t e = number.find_first_of("eE");
    std::string mantissa = number.substr(0, e);
    size_t point = std::min(mantissa.find('.'), mantissa.size());
    size_t lead = mantissa.find_first_of("123456789");
    if (lead == std::string::npos) return false;
    long long power = lead < point ? static_cast<long long>(point - lead) - 1
                                   : -static_cast<long long>(lead - point);
    long long exponent = e == std::string::npos ? 0 : std::strtoll(number.c_str() + e + 1, nullptr, 10);
    return std::clamp(exponent, -(1LL << 40), 1LL << 40) + power > 0;
}

}  // namespace

float ParsePanelPosition(const char* text) {
    const char* p = text ? text : "";
    while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
    const char* start = *p == '+' ? p + 1 : p;  // from_chars takes no '+'
    if (*p == '+' || *p == '-') ++p;
    int digits = 0;
    bool point = false;
    for (;; ++p) {
        if (IsDigit(*p)) {
            ++digits;
        } else if (*p == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (digits == 0) throw std::invalid_argument("invalid stof argument");
    if (*p == 'e' || *p == 'E') {
        const char* q = p + 1;
        if (*q == '+' || *q == '-') ++q;
        if (IsDigit(*q)) {
            while (IsDigit(*q)) ++q;
            p = q;
        }
    }
    const std::string number(start, p);
    float value = 0.0f;
    auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error == std::errc::result_out_of_range) {
        if (Overflows(number)) throw std::out_of_range("stof argument out of range");
        return number[0] == '-' ? -0.0f : 0.0f;
    }
    if (error != std::errc() || end != number.data() + number.size())
        throw std::invalid_argument("invalid stof argument");
    return value;
}
