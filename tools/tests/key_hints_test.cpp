// The key names the checker and the desk show, and the name it suggests
// for text that is none.
#include <gtest/gtest.h>

#include "key_hints.h"

TEST(KeyHints, WhatPlayersWriteLeadsToTheNameTheyMeant) {
    const struct {
        const char* written;
        const char* meant;
    } cases[] = {
        {"Wx", "W"},           {"left ctrl", "LCONTROL"}, {"VK_LCONTROL", "LCONTROL"}, {"numpad 1", "NUMPAD1"},
        {"Keypad3", "NUMPAD3"}, {"spacebar", "SPACE"},     {"oem 1", "OEM_1"},          {"banana", ""},
        {"WW", "W"},            {"LEXX", ""},              {"-", ""},                   {"\xd6", ""},
        {"Strg", "CONTROL"},    {"Bild ab", "NEXT"},       {"Pos1", "HOME"},            {"mnus", "MINUS"},
        {"LEER", "SPACE"},
    };
    for (const auto& c : cases) EXPECT_EQ(NearestKeyName(c.written), c.meant) << c.written;
}

TEST(KeyHints, ABindingIsShownByTheNameTheFileWrote) {
    EXPECT_EQ(ShownKeyName(18, " alt"), "ALT");
    EXPECT_EQ(ShownKeyName(18, "18"), "MENU");
    EXPECT_EQ(ShownKeyName(18, "ctrl"), "MENU");  // a name of another key says nothing of this one
    EXPECT_EQ(ShownKeyName(300), "");
}

TEST(KeyHints, ATypoFindsTheKeyItMissed) {
    std::vector<std::string> keys = {"throttle_up", "throttle_down", "brake_light", "brake_hard"};
    EXPECT_EQ(NearestName("throtle_up", keys), "throttle_up");
    EXPECT_EQ(NearestName("BRAKE_LIGTH", keys), "brake_light");
    EXPECT_EQ(NearestName("volume", keys), "");
}
