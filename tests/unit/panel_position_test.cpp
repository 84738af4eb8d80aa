#include "settings/panel_position.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <stdexcept>

namespace {

TEST(PanelPosition, ParsesTheLongestNumberPrefix) {
    const float subnormal = std::numeric_limits<float>::denorm_min() * 3;  // 4.2e-45
    const std::pair<const char*, float> cases[] = {
        {"0.85", 0.85f}, {"-0.1", -0.1f}, {".5", 0.5f},     {"1e-1", 0.1f},    {"0.5px", 0.5f},
        {"  +3", 3.0f},  {"\t\n\v\f\r7", 7.0f}, {"1.", 1.0f}, {"1e", 1.0f},      {"1e+", 1.0f},
        {"2E+2x", 200.0f}, {"0x1p3", 0.0f}, {"1.2.3", 1.2f}, {"1e-50", 0.0f},    {"4.2e-45", subnormal},
        {"3.40282356e38", std::numeric_limits<float>::max()},
        // halfway between 1 and the next float, plus a little: naive double rounding gives 1
        {"1.000000059604644775390625001", std::nextafter(1.0f, 2.0f)},
        {"1.000000059604644775390625", 1.0f},
    };
    for (const auto& [text, want] : cases) {
        SCOPED_TRACE(text);
        float got = ParsePanelPosition(text);
        EXPECT_EQ(std::memcmp(&got, &want, sizeof got), 0) << got;
    }
    EXPECT_TRUE(std::signbit(ParsePanelPosition("-1e-50")));
}

TEST(PanelPosition, RejectsWhatIsNoNumber) {
    for (const char* text : {"abc", "", "   ", ".", "-", "+.", "e5", "inf", "nan", "-infinity", ",5", "+-1"}) {
        SCOPED_TRACE(text);
        try {
            ParsePanelPosition(text);
            ADD_FAILURE() << "no error";
        } catch (const std::invalid_argument& e) {
            EXPECT_STREQ(e.what(), "invalid stof argument");
        }
    }
}

TEST(PanelPosition, RejectsWhatOverflowsAFloat) {
    for (const char* text : {"1e39", "-1e39", "3.40282357e38", "1e99999999999999999999", "0.0001e43"}) {
        SCOPED_TRACE(text);
        try {
            ParsePanelPosition(text);
            ADD_FAILURE() << "no error";
        } catch (const std::out_of_range& e) {
            EXPECT_STREQ(e.what(), "stof argument out of range");
        }
    }
}

}  // namespace
