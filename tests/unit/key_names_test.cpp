#include "host/key_names.h"

#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <string>

namespace {

std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// Walks the whole table: each spelling (as written, in lower case, padded
// with blanks) reads as its code, the code reads back as the name that
// comes first for it, and that first name is never an alias of an earlier
// main name.
TEST(KeyNames, EveryNameReadsAsItsCodeAndBackAsItsMainName) {
    std::set<std::string> spellings;
    std::set<uint32_t> codesSeen;
    bool inAliases = false;
    for (size_t i = 0; i < KeyNameCount; ++i) {
        const KeyName& key = KeyNames[i];
        SCOPED_TRACE(key.name);
        EXPECT_TRUE(spellings.insert(Upper(key.name)).second) << "two names share a spelling";
        EXPECT_EQ(KeyCodeOfName(key.name), key.code);
        EXPECT_EQ(KeyCodeOfName((" \t" + Lower(key.name) + "  ").c_str()), key.code);
        bool isAlias = !codesSeen.insert(key.code).second;
        EXPECT_FALSE(inAliases && !isAlias) << "a main name after the first alias";
        inAliases = inAliases || isAlias;
        const char* mainName = KeyNameOfCode(key.code);
        ASSERT_NE(mainName, nullptr);
        EXPECT_EQ(KeyCodeOfName(mainName), key.code);
        if (!isAlias) EXPECT_STREQ(mainName, key.name);
    }
    // 103 keys, 33 aliases; and a few read as the documentation spells them.
    EXPECT_EQ(codesSeen.size(), 103u);
    EXPECT_EQ(KeyNameCount, 136u);
    EXPECT_STREQ(KeyNameOfCode(97), "NUMPAD1");
    EXPECT_STREQ(KeyNameOfCode(18), "MENU");
    EXPECT_STREQ(KeyNameOfCode(222), "OEM_7");
    EXPECT_EQ(KeyCodeOfName("LCtrl"), 162u);
    EXPECT_EQ(KeyCodeOfName("quote"), 222u);
    EXPECT_EQ(KeyCodeOfName("F24"), 135u);
}

TEST(KeyNames, NumbersAndNearMissesAreNoNames) {
    for (const char* text : {"", "   ", "0", "1", "87", "Wx", "W W", "F25", "NUMPAD", "VK_W", "OEM_8", "F\x01"}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(KeyCodeOfName(text), 0u);
    }
    EXPECT_EQ(KeyCodeOfName(nullptr), 0u);
    for (uint32_t code : {0u, 1u, 48u, 57u, 91u, 254u, 255u}) EXPECT_EQ(KeyNameOfCode(code), nullptr) << code;
}

}  // namespace
