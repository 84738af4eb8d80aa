// Emscripten's libc++ (LLVM 14) has std::to_chars and std::from_chars for
// integers only. The plug-in's code uses two floating-point forms: the
// console writes fixed-point text, the panel positions are read as floats.
// The page's build supplies those two through the C library (a page has
// no locale to switch, and musl's strtof rounds correctly), with the
// results the plug-in's own build gets.
#pragma once
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <system_error>

namespace std {

inline to_chars_result to_chars(char* first, char* last, double value, chars_format format, int precision) {
    if (format != chars_format::fixed) return {last, errc::value_too_large};
    int count = std::snprintf(first, static_cast<size_t>(last - first), "%.*f", precision, value);
    if (count < 0 || count >= last - first) return {last, errc::value_too_large};
    return {first + count, errc()};
}

// For the decimal text ParsePanelPosition hands over: out of range when
// it overflows, or when a number with a nonzero digit rounds to zero.
inline from_chars_result from_chars(const char* first, const char* last, float& value,
                                    chars_format = chars_format::general) {
    const std::string text(first, last);
    char* end = nullptr;
    float parsed = std::strtof(text.c_str(), &end);
    if (end == text.c_str()) return {first, errc::invalid_argument};
    const char* stop = first + (end - text.c_str());
    if (std::isinf(parsed)) return {stop, errc::result_out_of_range};
    size_t e = text.find_first_of("eE");
    if (parsed == 0.0f && text.substr(0, e).find_first_of("123456789") != std::string::npos)
        return {stop, errc::result_out_of_range};
    value = parsed;
    return {stop, errc()};
}

}  // namespace std
