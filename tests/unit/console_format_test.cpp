// The console's text helpers and the bounded line formatter.
#include <gtest/gtest.h>

#include <clocale>
#include <cstring>
#include <locale>
#include <string>

#include "overlay/overlay.h"

TEST(FormatNumber, WritesSixDecimalsWithNoFillOrPlusSign) {
    struct Row {
        float value;
        const char* text;
    } rows[] = {
        {12.5f, "12.500000"},
        {3.0f, "3.000000"},
        {1234.5678f, "1234.567749"},  // the float nearest 1234.5678 is 1234.5677490234375
        {-2.75f, "-2.750000"},
        {0.0f, "0.000000"},
        {1e10f, "10000000000.000000"},
        {-0.0000001f, "-0.000000"},
        {0.0000005f, "0.000000"},  // the float lies just below one half of the last place
        {0.0000015f, "0.000002"},  // and this one just above
        {123456789.0f, "123456792.000000"},
    };
    for (const Row& row : rows) EXPECT_EQ(FormatNumber(row.value), row.text) << row.text;
}

TEST(FormatNumber, KeepsTheDecimalPointUnderACommaLocale) {
    const char* const names[] = {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "nl_NL.UTF-8", "German_Germany.1252"};
    std::locale comma;
    bool found = false;
    for (const char* name : names) {
        try {
            comma = std::locale(name);
            found = true;
            break;
        } catch (const std::runtime_error&) {
        }
    }
    if (!found) GTEST_SKIP() << "no locale with a decimal comma is installed";
    const std::locale previous = std::locale::global(comma);
    const std::string previousC = std::setlocale(LC_ALL, nullptr);
    std::setlocale(LC_ALL, comma.name().c_str());
    const std::string text = FormatNumber(1234.5f);
    std::locale::global(previous);
    std::setlocale(LC_ALL, previousC.c_str());
    EXPECT_EQ(text, "1234.500000");
}

TEST(SetConsoleMessage, PutsEachMessageFirstWithItsOwnLineFeed) {
    OverlayState.consoleText.clear();
    SetConsoleMessage(FormatNumber(12.5f));
    EXPECT_EQ(OverlayState.consoleText, "12.500000\n");
    SetConsoleMessage("A");
    SetConsoleMessage("B");
    EXPECT_EQ(OverlayState.consoleText, "B\nA\n12.500000\n");
    SetConsoleMessage("");
    EXPECT_EQ(OverlayState.consoleText, "\nB\nA\n12.500000\n");
}

TEST(SetConsoleMessage, KeepsLineFeedsAndMarkersInsideAMessage) {
    OverlayState.consoleText = "old\n";
    SetConsoleMessage("two\nlines ~r~red\n");
    EXPECT_EQ(OverlayState.consoleText, "two\nlines ~r~red\n\nold\n");
}

TEST(SetConsoleMessage, NeverTrimsTheText) {
    OverlayState.consoleText.clear();
    for (int post = 0; post < 5000; ++post) SetConsoleMessage(std::to_string(post));
    const std::string& text = OverlayState.consoleText;
    EXPECT_EQ(text.compare(0, 10, "4999\n4998\n"), 0);
    EXPECT_EQ(text.substr(text.size() - 6), "2\n1\n0\n");
    // 10 one-digit, 90 two-digit, 900 three-digit and 4000 four-digit posts.
    EXPECT_EQ(text.size(), 10u * 2 + 90u * 3 + 900u * 4 + 4000u * 5);
}

TEST(FormatLine, FormatsThePanelsLines) {
    char line[100];
    EXPECT_EQ(FormatLine(line, "%s %3.0f %s", "Throttle:", 5.0, "%"), 15);
    EXPECT_STREQ(line, "Throttle:   5 %");
    EXPECT_EQ(FormatLine(line, "%s %3.0f %s", "Speed:", -2.4, "mph"), 14);
    EXPECT_STREQ(line, "Speed:  -2 mph");
    EXPECT_EQ(FormatLine(line, "%s %3.0f %s", "Throttle:", 100.0, "%"), 15);
    EXPECT_STREQ(line, "Throttle: 100 %");
}

TEST(FormatLine, StopsAt99CharactersAndReturnsTheFullCount) {
    struct Guarded {
        char line[100];
        char after[16];
    } g;
    std::memset(&g, '#', sizeof g);
    const std::string longText(150, 'x');
    EXPECT_EQ(FormatLine(g.line, "%s!", longText.c_str()), 151);
    EXPECT_EQ(std::strlen(g.line), 99u);
    EXPECT_EQ(std::string(g.line), std::string(99, 'x'));
    for (char c : g.after) EXPECT_EQ(c, '#');

    const std::string exact(99, 'y');
    EXPECT_EQ(FormatLine(g.line, "%s", exact.c_str()), 99);
    EXPECT_EQ(std::string(g.line), exact);
}
