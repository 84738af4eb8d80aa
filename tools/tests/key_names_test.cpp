// What players write for keys, and the code the checker suggests.
#include <gtest/gtest.h>

#include "key_names.h"

TEST(KeyNames, PlayersSpellingsGiveTheVirtualKeyCode) {
    const struct {
        const char* written;
        int code;
    } cases[] = {
        {"W", 87},          {"w", 87},        {"A", 65},          {"Z", 90},         {"7", 55},
        {"F1", 112},        {"F5", 116},      {"f12", 123},       {"Numpad1", 97},   {"numpad 3", 99},
        {"Num0", 96},       {"Alt", 18},      {"Ctrl", 17},       {"left ctrl", 162}, {"LControl", 162},
        {"VK_LCONTROL", 162}, {"Shift", 16},  {"Space", 32},      {"Enter", 13},     {"Tab", 9},
        {"banana", -1},     {"F25", -1},      {"", -1},
    };
    for (const auto& c : cases) EXPECT_EQ(GuessKeyCode(c.written), c.code) << c.written;
}

TEST(KeyNames, CodesReadBack) {
    EXPECT_EQ(KeyLabel(87), "W");
    EXPECT_EQ(KeyLabel(116), "F5");
    EXPECT_EQ(KeyLabel(97), "Numpad 1");
    EXPECT_EQ(KeyLabel(162), "Left Ctrl");
    EXPECT_EQ(KeyLabel(300), "");
}

TEST(KeyNames, ATypoFindsTheKeyItMissed) {
    std::vector<std::string> keys = {"throttle_up", "throttle_down", "brake_light", "brake_hard"};
    EXPECT_EQ(NearestName("throtle_up", keys), "throttle_up");
    EXPECT_EQ(NearestName("BRAKE_LIGTH", keys), "brake_light");
    EXPECT_EQ(NearestName("volume", keys), "");
}
