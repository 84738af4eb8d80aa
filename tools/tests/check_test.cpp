// The settings checker on one file per kind of mistake: the status a
// player's script would see and the line that tells them what is wrong.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

#include "log_summary.h"
#include "settings_check.h"

namespace {

struct Checked {
    int status;
    std::string text;
};

// A value line: the key, the value, a * when it differs, the default.
bool ShowsValue(const std::string& text, const std::string& pattern) {
    return std::regex_search(text, std::regex("\\n  " + pattern + "\\n"));
}

Checked CheckPath(const std::string& path) {
    std::FILE* out = std::tmpfile();
    int status = CheckSettingsFile(path.c_str(), out);
    std::rewind(out);
    std::string text;
    for (int c; (c = std::fgetc(out)) != EOF;) text += static_cast<char>(c);
    std::fclose(out);
    return {status, text};
}

Checked Check(const std::string& name) { return CheckPath(std::string(SETTINGS_CORPUS) + "/" + name); }

struct Case {
    const char* file;
    int status;
    const char* says;
};

const Case Cases[] = {
    {"clean.ini", 0, "No mistakes found."},
    {"letter_binding.ini", 1, "reload_ini_file_modifier = ALT: on foot LMENU (one of ALT's two keys) also opens the "
                              "character wheel, and Velquorin leaves it to the game there. Its other key, RMENU, does "
                              "nothing in the game."},
    {"clean.ini", 0, "toggle_gui_position        F5 (116)       switch character (166), replay editor (318)\n"},
    {"binding_typo.ini", 1, "warning: line 2: throttle_up = Wx reads as 0: did you mean W?"},
    {"binding_typo.ini", 1, "warning: line 3: change_direction = Left Ctrl reads as 0: did you mean LCONTROL?"},
    {"named_binding.ini", 1, "open_left_doors and brake_light are both on NUMPAD1 (97)"},
    {"binding_too_high.ini", 1, "warning: line 2: toggle_gui_position = 300 never fires"},
    {"two_actions_one_key.ini", 1, "throttle_up and brake_hard are both on W (87)"},
    {"one_press_two_codes.ini", 1, "brake_light on CONTROL (17) and change_direction on LCONTROL (162): Windows "
                                   "sends LCONTROL (162) as CONTROL (17) too, so one press does each of them."},
    {"one_press_two_codes.ini", 1, "brake_hard on END (35) and open_left_doors on NUMPAD1 (97): with NumLock off "
                                   "Windows sends NUMPAD1 (97) as END (35) too"},
    {"altgr_pair.ini", 1, "change_direction on LCONTROL (162) and brake_hard on RMENU (165): on keyboards with AltGr"},
    {"binding_on_console_key.ini", 1, "enter_exit and toggle_console are both on F6 (117)"},
    {"binding_on_console_key.ini", 1, "toggle_console = F6: on foot F6 also switches character, and Velquorin leaves it "
                                      "to the game there."},
    {"key_typo.ini", 1, "warning: line 2: unknown key throtle_up in [keys]: the value is ignored and the default "
                        "applies. Did you mean throttle_up?"},
    {"section_typo.ini", 1, "warning: line 1: unknown section [gamplay]"},
    {"section_typo.ini", 1, "Did you mean [gameplay]?"},
    {"panel_off_screen.ini", 1, "gui_position_x_2 = 1.25 puts panel position 2 off the screen"},
    {"opacity_too_high.ini", 1, "background_opacity = 400 is outside 0 (clear) to 255 (solid)"},
    {"opacity_negative.ini", 1, "text_opacity = -5 is outside 0 (clear) to 255 (solid)"},
    {"top_speed_zero.ini", 1, "max_speed_freight = 0: a top speed of 0, so the freight train never moves."},
    {"top_speed_minus_zero.ini", 1, "max_speed_metro = 0: a top speed of 0"},
    {"top_speed_minus_zero.ini", 1, "0 errors, 4 warnings."},  // and the default keys' three on foot
    {"switch_as_word.ini", 1, "use_metric_system = yes is no number, so it reads as 0 (off)."},
    {"step_rate_too_high.ini", 1, "warning: line 2: speed_steps_per_second = 5000 is more than 1000, so it reads as 0 "
                                  "(once a frame): the train speeds up and slows down faster on a faster machine."},
    {"step_rate_negative.ini", 1, "speed_steps_per_second = 4294967236 (-60 wraps to 4294967236) is more than 1000"},
    {"step_rate_as_word.ini", 1, "speed_steps_per_second = sixty is no number, so it reads as 0 (once a frame)"},
    {"bom_hides_section.ini", 1, "warning: line 1: the file starts with a UTF-8 byte-order mark"},
    {"header_unclosed.ini", 1, "warning: line 1: the header [gameplay has no ']'"},
    {"header_two_brackets.ini", 1, "The game ends the section's name at the first, [keys]"},
    {"key_before_section.ini", 1, "warning: line 1: \"max_speed_metro = 60\" comes before any [section]"},
    {"position_not_a_number.ini", 2, "error: line 2: gui_position_y_1: invalid stof argument"},
    {"position_out_of_range.ini", 2, "error: line 2: gui_position_x_0: stof argument out of range"},
    {"values_that_do_nothing.ini", 1, "line 2: enter_exit=1 is a mouse button: the game never sends it to plug-ins."},
    {"values_that_do_nothing.ini", 1, "line 3: brake_light=7 is a code Windows gives no key"},
    {"values_that_do_nothing.ini", 1, "gui_position_x_1 = 0,92 reads as 0: the game stops at the comma. Write 0.92,"},
    {"values_that_do_nothing.ini", 1, "line 6: text_opacity = 0: the panel's text and the hint on foot are clear"},
    {"values_that_do_nothing.ini", 1, "line 7: background_opacity = 0: the panel's box is clear"},
    {"keys_typed_as_characters.ini", 1, "\x96 names no key. Where it is a key of your keyboard, the settings page's"},
    {"keys_typed_as_characters.ini", 1, "throttle_down = - reads as 0: did you mean MINUS, the key of - on a US"},
    {"keys_typed_as_characters.ini", 1, "brake_hard = ENTF reads as 0: did you mean DELETE?"},
};

TEST(SettingsCheck, EachMistakeIsNamedWithItsStatus) {
    for (const Case& c : Cases) {
        Checked checked = Check(c.file);
        EXPECT_EQ(checked.status, c.status) << c.file << "\n" << checked.text;
        EXPECT_NE(checked.text.find(c.says), std::string::npos) << c.file << " should say: " << c.says << "\n"
                                                                 << checked.text;
    }
}

TEST(SettingsCheck, EffectiveValuesStandBesideTheirDefaults) {
    // 40 m/s is 144 km/h; 38 is the Up arrow.
    Checked checked = Check("clean.ini");
    EXPECT_TRUE(ShowsValue(checked.text, R"(max_speed_metro +40 m/s \(144 km/h\) +\* default 35 m/s \(126 km/h\))"))
        << checked.text;
    EXPECT_TRUE(ShowsValue(checked.text, R"(throttle_up +UP \(38\) +\* default W \(87\))"));
    EXPECT_TRUE(ShowsValue(checked.text, R"(max_speed_freight +50 m/s \(180 km/h\) +default 50 m/s \(180 km/h\))"));
    EXPECT_TRUE(ShowsValue(checked.text, R"(speed_steps_per_second +60 a second +\* default 0 \(per frame\))"));
    // A binding written as a name is shown by that name.
    checked = Check("letter_binding.ini");
    EXPECT_TRUE(ShowsValue(checked.text, R"(reload_ini_file_modifier +ALT \(18\) +default MENU \(18\))")) << checked.text;
}

TEST(SettingsCheck, AfterAnErrorTheLaterKeysShowWhatTheGameStartsWith) {
    // The load stops at gui_position_y_1: it and the ten keys after it
    // but write_log are never read, and at start the record holds the
    // defaults.
    Checked checked = Check("position_not_a_number.ini");
    EXPECT_NE(checked.text.find("posts \"Velquorin.ini: gui_position_y_1 is no number (invalid stof argument)\" to"),
              std::string::npos) << checked.text;
    EXPECT_NE(checked.text.find("defaults):\n    gui_position_y_1, gui_position_x_2, gui_position_y_2, "
                                "gui_position_x_3, gui_position_y_3,\n    background_opacity, text_opacity, "
                                "speed_steps_per_second, show_hints, toggle_console and\n    use_gamepad.\n"),
              std::string::npos);
    EXPECT_TRUE(ShowsValue(checked.text, R"(write_log +0 \(off\) +default 0 \(off\))")) << "read all the same";
    EXPECT_TRUE(ShowsValue(checked.text, R"(text_opacity {15}255 {24}default 255 {22}\(not read\))")) << checked.text;
    EXPECT_TRUE(ShowsValue(checked.text, R"(gui_position_x_1 +0 +default 0)"));
}

TEST(SettingsCheck, TheValuesAreTheGamesAfterAByteOrderMarkOrAnOddHeader) {
    // Our reader skips the mark and would read 60; Windows' loses the header.
    Checked checked = Check("bom_hides_section.ini");
    EXPECT_TRUE(ShowsValue(checked.text, R"(max_speed_metro +35 m/s \(126 km/h\) +default 35 m/s \(126 km/h\))"))
        << checked.text;
    // Windows opens a section at "[gameplay" with no ']'; ours does not.
    EXPECT_TRUE(ShowsValue(Check("header_unclosed.ini").text, R"(max_speed_metro +60 m/s \(216 km/h\) +\* .*)"));
}

TEST(SettingsCheck, WhatIsNoSettingsFileIsRefusedAtOnceWithTheReason) {
    std::string dir = ::testing::TempDir() + "velquorin-strange-files";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    ASSERT_EQ(mkfifo((dir + "/fifo.ini").c_str(), 0600), 0);  // opening it would wait for a writer
    std::ofstream(dir + "/huge.ini").close();
    std::filesystem::resize_file(dir + "/huge.ini", (16u << 20) + 1);  // sparse: no disk space taken
    const struct {
        std::string path, says;
    } cases[] = {
        {dir + "/no-such-file.ini", "there is no such file"},
        {dir + "/fifo.ini", "it is a named pipe (FIFO), not a file"},
        {"/dev/zero", "it is a device, not a file"},
        {dir, "it is a folder, not a file"},
        {dir + "/huge.ini", "it holds 16777217 bytes, and no file above 16 MiB is read"},
    };
    for (const auto& c : cases) {
        Checked checked = CheckPath(c.path);
        EXPECT_EQ(checked.status, 2) << c.path;
        EXPECT_NE(checked.text.find("error: cannot check " + c.path + ": " + c.says), std::string::npos)
            << checked.text;
    }
    std::filesystem::remove_all(dir);
}

TEST(SettingsCheck, AFileOfOddLinesListsTheFirstHundredOfEachKindAndCountsTheRest) {
    std::string path = ::testing::TempDir() + "velquorin-many-odd-lines.ini";
    std::string text = "[keys]\n";
    for (int i = 0; i < 250; ++i) text += "unknown_" + std::to_string(i) + "=1\nbare_" + std::to_string(i) + "\n";
    std::ofstream(path, std::ios::binary) << text;
    Checked checked = CheckPath(path);
    std::remove(path.c_str());
    EXPECT_EQ(checked.status, 1);
    const std::regex unknownKey("\nwarning: line \\d+: unknown key ");
    EXPECT_EQ(std::distance(std::sregex_iterator(checked.text.begin(), checked.text.end(), unknownKey),
                            std::sregex_iterator()), 100);
    EXPECT_NE(checked.text.find("unknown key unknown_99 in [keys]"), std::string::npos) << checked.text;
    EXPECT_NE(checked.text.find("\n150 more warnings about unknown keys are not listed (the first 100 are).\n"
                                "150 more warnings about lines without '=' are not listed (the first 100 are).\n"),
              std::string::npos) << checked.text;
    // And the three of a file that keeps the default keys on foot.
    EXPECT_NE(checked.text.find("\n0 errors, 503 warnings.\n"), std::string::npos) << checked.text;
}

TEST(SettingsCheck, ControlBytesFromTheFileReachNoTerminal) {
    // A key name that would retitle the window and clear the screen, and a
    // NUL inside a line that must not cut it.
    std::string path = ::testing::TempDir() + "velquorin-control-bytes.ini";
    const char text[] = "[keys]\n\x1b]0;owned\x07\x1b[2Jx=1\nthrottle\0_up\x7f=2\n";
    std::ofstream(path, std::ios::binary) << std::string(text, sizeof text - 1);
    Checked checked = CheckPath(path);
    std::remove(path.c_str());
    auto raw = [](char c) { return (static_cast<unsigned char>(c) < 32 && c != '\t' && c != '\n') || c == '\x7f'; };
    EXPECT_EQ(std::count_if(checked.text.begin(), checked.text.end(), raw), 0) << checked.text;
    EXPECT_NE(checked.text.find("unknown key \\x1b]0;owned\\x07\\x1b[2Jx in [keys]"), std::string::npos) << checked.text;
    EXPECT_NE(checked.text.find("unknown key throttle\\x00_up\\x7f in [keys]"), std::string::npos) << checked.text;
}

}  // namespace

// A player sends the game folder's log alone: the last of two sessions,
// with a settings error the next load fixed and three drives, summed up.
TEST(SettingsCheck, ALogIsSummedUpFromItsLastStartWithEachDrivesEnd) {
    std::FILE* out = std::tmpfile();
    EXPECT_EQ(CheckSettingsAndLog(std::string(SETTINGS_CORPUS) + "/player_log/Velquorin.log", out), 0);
    std::rewind(out);
    std::string text;
    for (int c; (c = std::fgetc(out)) != EOF;) text += static_cast<char>(c);
    std::fclose(out);
    EXPECT_NE(text.find(":\n  last session: Velquorin 1.0.0+new\n  game reloads since: 1\n  keys seen (0), each as its "
                        "first message came:\n  last settings load: every value read\n  boardings: 3 boarded\n"
                        "  drives, each as it ended:\n    train 3 (freight): by the seat check: the player is no "
                        "longer in the driver's seat\n    train 5 (metrotrain): by F\n"
                        "    train 5 (metrotrain): by a game reload\n"), std::string::npos) << text;
}
