// The settings checker on one file per kind of mistake: the status a
// player's script would see and the line that tells them what is wrong.
#include <gtest/gtest.h>

#include <cstdio>
#include <regex>
#include <string>

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

Checked Check(const std::string& name) {
    std::FILE* out = std::tmpfile();
    int status = CheckSettingsFile((std::string(SETTINGS_CORPUS) + "/" + name).c_str(), out);
    std::rewind(out);
    std::string text;
    for (int c; (c = std::fgetc(out)) != EOF;) text += static_cast<char>(c);
    std::fclose(out);
    return {status, text};
}

struct Case {
    const char* file;
    int status;
    const char* says;
};

const Case Cases[] = {
    {"clean.ini", 0, "No mistakes found."},
    {"letter_binding.ini", 1,
     "warning: line 2: throttle_up = W is no number, so it reads as 0, a key code that never fires. W is 87: "
     "write throttle_up = 87."},
    {"named_binding.ini", 1, "Numpad1 is 97: write brake_light = 97."},
    {"binding_too_high.ini", 1, "warning: line 2: toggle_gui_position = 300 never fires"},
    {"two_actions_one_key.ini", 1, "throttle_up and brake_hard are both on 87 (W)"},
    {"binding_on_console_key.ini", 1, "the console (F6, fixed) and enter_exit are both on 117 (F6)"},
    {"key_typo.ini", 1, "warning: line 2: unknown key throtle_up in [keys]: the value is ignored and the default "
                        "applies. Did you mean throttle_up?"},
    {"section_typo.ini", 1, "warning: line 1: unknown section [gamplay]"},
    {"section_typo.ini", 1, "Did you mean [gameplay]?"},
    {"panel_off_screen.ini", 1, "gui_position_x_2 = 1.25 puts panel position 2 off the screen"},
    {"opacity_too_high.ini", 1, "background_opacity = 400 is outside 0 (clear) to 255 (solid)"},
    {"opacity_negative.ini", 1, "text_opacity = -5 is outside 0 (clear) to 255 (solid)"},
    {"top_speed_zero.ini", 1, "max_speed_freight = 0: a top speed of 0, so the freight train never moves."},
    {"switch_as_word.ini", 1, "use_metric_system = yes is no number, so it reads as 0 (off)."},
    {"bom_hides_section.ini", 1, "warning: line 1: the file starts with a UTF-8 byte-order mark"},
    {"header_unclosed.ini", 1, "warning: line 1: the header [gameplay has no ']'"},
    {"header_two_brackets.ini", 1, "our reader takes the section [keys]] (up to the last ']'), Windows takes [keys]"},
    {"key_before_section.ini", 1, "warning: line 1: \"max_speed_metro = 60\" comes before any [section]"},
    {"position_not_a_number.ini", 2, "error: line 2: gui_position_y_1: invalid stof argument"},
    {"position_out_of_range.ini", 2, "error: line 2: gui_position_x_0: stof argument out of range"},
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
    EXPECT_TRUE(ShowsValue(checked.text, R"(throttle_up +38 \(Up\) +\* default 87 \(W\))"));
    EXPECT_TRUE(ShowsValue(checked.text, R"(max_speed_freight +50 m/s \(180 km/h\) +default 50 m/s \(180 km/h\))"));
}

TEST(SettingsCheck, AfterAnErrorTheLaterKeysShowWhatTheGameStartsWith) {
    // The load stops at gui_position_y_1: it and the six keys after it are
    // never read, and at start the record holds zeros.
    Checked checked = Check("position_not_a_number.ini");
    EXPECT_NE(checked.text.find("this key and the 6 after it"), std::string::npos) << checked.text;
    EXPECT_TRUE(ShowsValue(checked.text, R"(text_opacity +0 \(not loaded\) +\* default 255)"));
    EXPECT_TRUE(ShowsValue(checked.text, R"(gui_position_x_1 +0 +default 0)"));
}

TEST(SettingsCheck, AByteOrderMarkIsSkippedByOurReader) {
    // Wine and our reader skip the mark, so the value counts here; the
    // warning is about Windows.
    Checked checked = Check("bom_hides_section.ini");
    EXPECT_TRUE(ShowsValue(checked.text, R"(max_speed_metro +60 m/s \(216 km/h\) +\* default 35 m/s \(126 km/h\))"))
        << checked.text;
}

TEST(SettingsCheck, AMissingFileIsAnError) {
    Checked checked = Check("no-such-file.ini");
    EXPECT_EQ(checked.status, 2);
    EXPECT_NE(checked.text.find("error: cannot read"), std::string::npos);
}

}  // namespace
