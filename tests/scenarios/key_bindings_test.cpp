// Bindings written as key names: a player who writes throttle_up=Up drives
// with the Up key, and every file of numbers reads exactly as it always did,
// down to the calls the plug-in makes on the settings file.
#include "driving_story.h"

namespace {

// Every action on a key other than its default, by name: mixed case,
// blanks around the name, aliases and Windows' own OEM names.
const std::string NamedKeys = std::string(
    "[keys]\n"
    "open_left_doors = num4 \n"
    "open_right_doors=Numpad6\n"
    "reload_ini_file_modifier=\tCtrl\n"
    "reload_ini_file=r\n"
    "enter_exit=E\n"
    "throttle_up=up\n"
    "throttle_down=DOWN\n"
    "brake_light=Semicolon\n"
    "brake_medium=oem_7\n"
    "brake_hard=BackSlash\n"
    "change_direction=RShift\n"
    "toggle_gui_position=f7\n") + FourPresets;

namespace key {
constexpr uint32_t Numpad4 = 100, Numpad6 = 102, Control = 17, R = 82, E = 69, Up = 38, Down = 40;
constexpr uint32_t Semicolon = 186, Quote = 222, Backslash = 220, RightShift = 161, F7 = 118;
}  // namespace key

// What a load asks of the settings file, in order: every row read as
// before, and the text of the key rows named (EveryKeyRow: all twelve) after
// their number.
const std::string EveryKeyRow = "*";

std::vector<std::string> LoadCalls(const std::string& textReadFor = "") {
    const std::string file = "\".\\Velquorin.ini\")";
    const char* const intRows[][3] = {
        {"gameplay", "enter_realistic", "1"}, {"gameplay", "use_metric_system", "1"},
        {"gameplay", "max_speed_freight", "50"}, {"gameplay", "max_speed_metro", "35"},
        {"keys", "open_left_doors", "97"}, {"keys", "open_right_doors", "99"},
        {"keys", "reload_ini_file_modifier", "18"}, {"keys", "reload_ini_file", "73"},
        {"keys", "enter_exit", "70"}, {"keys", "throttle_up", "87"}, {"keys", "throttle_down", "83"},
        {"keys", "brake_light", "74"}, {"keys", "brake_medium", "75"}, {"keys", "brake_hard", "76"},
        {"keys", "change_direction", "162"}, {"keys", "toggle_gui_position", "116"},
    };
    std::vector<std::string> calls;
    auto readInt = [&](const char* section, const char* name, const char* fallback) {
        calls.push_back(std::string("GetPrivateProfileIntA(\"") + section + "\", \"" + name + "\", " + fallback +
                        ", " + file);
    };
    for (const auto& row : intRows) {
        readInt(row[0], row[1], row[2]);
        if (textReadFor == row[1] || (textReadFor == EveryKeyRow && std::string(row[0]) == "keys"))
            calls.push_back(std::string("GetPrivateProfileStringA(\"keys\", \"") + row[1] + "\", \"\", 100, " + file);
    }
    for (const char* position : {"gui_position_x_0", "gui_position_y_0", "gui_position_x_1", "gui_position_y_1",
                                 "gui_position_x_2", "gui_position_y_2", "gui_position_x_3", "gui_position_y_3"})
        calls.push_back(std::string("GetPrivateProfileStringA(\"gui\", \"") + position + "\", \"0.0\", 100, " + file);
    readInt("gui", "background_opacity", "255");
    readInt("gui", "text_opacity", "255");
    readInt("gameplay", "speed_steps_per_second", "0");
    readInt("gui", "show_hints", "0");
    readInt("gameplay", "write_log", "0");
    readInt("keys", "toggle_console", "117");
    readInt("gameplay", "use_gamepad", "0");
    return calls;
}

}  // namespace

class KeyBindings : public DrivingStory {
protected:
    // The throttle after that key was held for three frames, then let go
    // back to 0 with the default throttle-down key.
    std::string ThrottleAfterHolding(uint32_t key) {
        Hold(key, 3);
        std::string line = Panel().at(1);
        Hold(vk::S, 3);
        return line;
    }
};

TEST_F(KeyBindings, EveryActionBoundByNameDrivesWithThatKey) {
    Start(NamedKeys);
    EXPECT_EQ(sim::ProfileCalls(), LoadCalls(EveryKeyRow));
    sim::SetTrainsMove(false);
    int metro = sim::AddTrain("metrotrain", {0, 0, 0});
    sim::SetNearbyList({metro});
    sim::PlacePlayer(CabOf(metro));
    Press(vk::F);
    ASSERT_TRUE(Panel().empty()) << "F is no longer the enter key";
    Press(key::E);
    ASSERT_EQ(sim::Get(metro).driver, sim::Player());

    Press(key::RightShift);
    EXPECT_EQ(Panel().at(3), "Direction: ~r~Backward");
    Hold(key::Up, 3);
    Hold(key::Down, 1);
    sim::RunFrame();
    EXPECT_EQ(Panel().at(1), "Throttle:   2 %");
    Press(key::Semicolon);
    EXPECT_EQ(Panel().at(2), "Brake: ~r~[L] ~g~[M] [H]");
    Press(key::Quote);
    EXPECT_EQ(Panel().at(2), "Brake: ~g~[L] ~r~[M] ~g~[H]");
    Press(key::Backslash);
    EXPECT_EQ(Panel().at(2), "Brake: ~g~[L] ~g~[M] ~r~[H]");
    Press(key::Numpad4);
    EXPECT_EQ(drive::DoorsOf(metro), "o-o-");
    Press(key::Numpad6);
    EXPECT_EQ(drive::DoorsOf(metro), "oooo");

    Press(key::F7);
    ASSERT_NE(drive::PanelBox(), nullptr);
    EXPECT_EQ(drive::PanelBox()->x, 0.3f) << "preset 1";
    PressReloadChord(key::Control, key::R);
    EXPECT_EQ(sim::ProfileCalls(), LoadCalls(EveryKeyRow)) << "Control + R reloaded";
    EXPECT_EQ(drive::PanelBox()->x, 0.1f) << "back at preset 0";

    Press(key::E);
    EXPECT_TRUE(Panel().empty());
    EXPECT_EQ(sim::BoardingSwitch(), 0);
}

// A value that reads as a number is that number, 0 included; only a 0 reads
// the text, and text that is no key name stays 0. An empty value is absent
// to the platform's reader: the default.
TEST_F(KeyBindings, NumbersAndTextThatIsNoNameReadAsBefore) {
    const std::string allNumbers =
        "[gameplay]\nenter_realistic=1\n[keys]\nopen_left_doors=97\nopen_right_doors=99\n"
        "reload_ini_file_modifier=18\nreload_ini_file=73\nenter_exit=70\nthrottle_up=87\nthrottle_down=83\n"
        "brake_light=74\nbrake_medium=75\nbrake_hard=76\nchange_direction=162\ntoggle_gui_position=116\n"
        "[gui]\nbackground_opacity=255\n";
    struct Case {
        std::string file;
        bool readsText;
        const char* withW;    // the throttle after holding W
        const char* withOne;  // after holding the key of code 1
    } cases[] = {
        {"[keys]\nthrottle_up=0\n", true, "Throttle:   0 %", "Throttle:   0 %"},
        {"[keys]\nthrottle_up=00\n", true, "Throttle:   0 %", "Throttle:   0 %"},
        {"[keys]\nthrottle_up=+0\n", true, "Throttle:   0 %", "Throttle:   0 %"},
        {"[keys]\nthrottle_up=Wx\n", true, "Throttle:   0 %", "Throttle:   0 %"},
        {"[keys]\nthrottle_up=1\n", false, "Throttle:   0 %", "Throttle:   3 %"},
        {"[keys]\nthrottle_up=\n", false, "Throttle:   3 %", "Throttle:   0 %"},
        {allNumbers, false, "Throttle:   3 %", "Throttle:   0 %"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        Restart(c.file);
        EXPECT_EQ(sim::ProfileCalls(), LoadCalls(c.readsText ? "throttle_up" : ""));
        int metro = sim::AddTrain("metrotrain", {0, 0, 0});
        ASSERT_TRUE(Board(metro));
        EXPECT_EQ(ThrottleAfterHolding(vk::W), c.withW);
        EXPECT_EQ(ThrottleAfterHolding(1), c.withOne);
    }
}
