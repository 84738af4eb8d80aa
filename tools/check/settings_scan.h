// A line-by-line look at a settings file: what our reader and Windows' own
// make of each line, and the mistakes that shape alone reveals.
#pragma once
#include <string>
#include <string_view>
#include <vector>

// How many findings of one kind the report lists; it counts the rest, so
// a file of thousands of odd lines gives a report a player can read.
constexpr int ListedOfAKind = 100;

struct Finding {
    enum Level { Warning, Note } level = Warning;
    int line = 0;  // 0: about the file or the values, not one line
    std::string message;
};

// Findings of one kind past the first ListedOfAKind, counted, not listed.
struct UnlistedFindings {
    Finding::Level level;
    const char* kind;  // what they are about, in plural words ("unknown keys")
    int count;
};

struct ScannedKey {
    int line = 0;
    std::string section;  // as our reader files it ("" before any header)
    std::string name;
    std::string value;
    bool counted = false;  // the first of its name in the first section of its name
};

struct SettingsScan {
    std::vector<Finding> findings;
    std::vector<UnlistedFindings> unlisted;  // in the order their kinds first went past the limit
    std::vector<ScannedKey> keys;
};

SettingsScan ScanSettingsText(const std::string& bytes);

// The line of the key the plug-in reads for (section, name), or 0.
int LineOfKey(const SettingsScan& scan, const char* section, const char* name);

// The file as Windows' reader takes it, rewritten so that every reader
// takes it the same way: a header glued to a UTF-8 byte-order mark on the
// first line is lost (the keys under it land before any header, where
// nothing reads them), a header with two ']' ends at the first, and a
// header with none is closed. Loading this gives the values the game uses.
std::string GameView(const std::string& bytes);

// One line of that view: a view into the line, and whether a ']' closes it.
struct GameLine {
    std::string_view text;
    bool closed;
};
GameLine GameLineOf(std::string_view line, bool gluedToByteOrderMark);
