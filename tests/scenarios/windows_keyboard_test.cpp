// Keys as Windows sends them: both Control, Shift and Alt keys under one
// generic code, the keypad under the navigation codes while NumLock is
// off, and only the key pressed last repeating. Every binding answers to
// the key the player pressed. The tick moves in Windows' 15.6 ms steps.
#include "driving_story.h"

namespace {

const char* const Forward = "Direction: ~g~Forward";
const char* const Backward = "Direction: ~r~Backward";

}  // namespace

class WindowsKeyboard : public DrivingStory {
protected:
    // A fresh game with these settings, the player in the cab of a metro
    // train standing still.
    int BoardStandingMetro(const std::string& settings = "") {
        Restart(settings);
        sim::SetTickGranularity(sim::TickGranularity::Coarse);
        sim::SetTrainsMove(false);
        const int metro = sim::AddTrain("metrotrain", {0, 0, 0});
        EXPECT_TRUE(Board(metro));
        return metro;
    }
    std::string Direction() { return Panel().at(3); }
};

TEST_F(WindowsKeyboard, TheShippedKeysReverseWithLeftControlOrAltGrAndNotRightControl) {
    BoardStandingMetro();  // the shipped file's keys are the defaults: change_direction=LCONTROL
    Press(vk::RightControl);
    EXPECT_EQ(Direction(), Forward) << "right Control is not LCONTROL";
    Press(vk::LeftControl);
    EXPECT_EQ(Direction(), Backward) << "Windows sends it as 17; it still is the left Control";
    Press(vk::AltGr);
    EXPECT_EQ(Direction(), Forward) << "AltGr on a European layout sends a left Control first";
}

TEST_F(WindowsKeyboard, EachSideFiresItsOwnBindingAndTheGenericNameFiresFromBoth) {
    const struct {
        const char* binding;
        uint32_t fires;
        uint32_t doesNot;  // 0: the other side fires too
        uint32_t firesToo;
    } rows[] = {
        {"LCONTROL", vk::LeftControl, vk::RightControl, 0}, {"RCONTROL", vk::RightControl, vk::LeftControl, 0},
        {"LSHIFT", vk::LeftShift, vk::RightShift, 0},       {"RSHIFT", vk::RightShift, vk::LeftShift, 0},
        {"LMENU", vk::LeftAlt, vk::RightAlt, 0},            {"RMENU", vk::RightAlt, vk::LeftAlt, 0},
        {"CONTROL", vk::LeftControl, 0, vk::RightControl},  {"SHIFT", vk::LeftShift, 0, vk::RightShift},
        {"ALT", vk::LeftAlt, 0, vk::RightAlt},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.binding);
        BoardStandingMetro(std::string("[keys]\nchange_direction=") + row.binding + "\n");
        if (row.doesNot) {
            Press(row.doesNot);
            EXPECT_EQ(Direction(), Forward) << "the other side's key";
        }
        Press(row.fires);
        EXPECT_EQ(Direction(), Backward);
        if (row.firesToo) {
            Press(row.firesToo);
            EXPECT_EQ(Direction(), Forward) << "the other side's key, under the generic name";
        }
    }
}

TEST_F(WindowsKeyboard, TheReloadChordsModifierIsTheAltKeyItsNameSays) {
    const struct {
        const char* modifier;
        bool leftAltReloads;
        bool rightAltReloads;
    } rows[] = {{"ALT", true, true}, {"LMENU", true, false}, {"RMENU", false, true}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.modifier);
        BoardStandingMetro(std::string("[keys]\nreload_ini_file_modifier=") + row.modifier + "\n");
        PressReloadChord(vk::LeftAlt, vk::I);
        EXPECT_EQ(!sim::ProfileCalls().empty(), row.leftAltReloads) << "left Alt + I";
        PressReloadChord(vk::RightAlt, vk::I);
        EXPECT_EQ(!sim::ProfileCalls().empty(), row.rightAltReloads) << "right Alt + I";
    }
}

// The keypad with NumLock off sends End for keypad 1, as the dedicated End
// key does, but not extended.
TEST_F(WindowsKeyboard, KeypadOneOpensTheLeftDoorsWithNumLockOnOrOffAndEndOnlyWhenBoundByName) {
    int metro = BoardStandingMetro();
    sim::SetNumLock(false);
    Press(vk::End);
    EXPECT_EQ(drive::DoorsOf(metro), "----") << "End is not the keypad's 1";
    Press(vk::Numpad1);
    EXPECT_EQ(drive::DoorsOf(metro), "o-o-") << "keypad 1, NumLock off";
    sim::SetNumLock(true);
    Press(vk::Numpad1);
    EXPECT_EQ(drive::DoorsOf(metro), "----") << "keypad 1, NumLock on";
    sim::KeyDown(vk::LeftShift);  // NumLock turned around: keypad 1 sends End, not extended
    Press(vk::Numpad1);
    EXPECT_EQ(drive::DoorsOf(metro), "o-o-") << "keypad 1 under Shift";

    metro = BoardStandingMetro("[keys]\nopen_left_doors=END\n");
    sim::SetNumLock(false);
    Press(vk::End);
    EXPECT_EQ(drive::DoorsOf(metro), "o-o-") << "the End key";
    Press(vk::Numpad1);
    EXPECT_EQ(drive::DoorsOf(metro), "----") << "keypad 1 with NumLock off is an End key too";
    Press(vk::NumLock);
    ASSERT_TRUE(sim::NumLockOn());
    Press(vk::Numpad1);
    EXPECT_EQ(drive::DoorsOf(metro), "----") << "with NumLock on it is keypad 1, not End";
    sim::KeyDown(vk::LeftShift);
    Press(vk::Numpad1);
    EXPECT_EQ(drive::DoorsOf(metro), "o-o-") << "but End under Shift";
}

// Held, a debounced action fires again once its interval has passed,
// whether the tick moves by the millisecond or in Windows' 15.6 ms steps:
// never sooner, and no later than two frames after.
TEST_F(WindowsKeyboard, AHeldKeyFiresOncePerIntervalUnderEitherTick) {
    const struct {
        const char* action;
        uint32_t key;
        size_t line;
        uint32_t interval;
    } rows[] = {{"light brake", vk::J, 2, 200}, {"change direction", vk::LeftControl, 3, 500}};
    for (sim::TickGranularity tick : {sim::TickGranularity::Millisecond, sim::TickGranularity::Coarse}) {
        for (const auto& row : rows) {
            SCOPED_TRACE(std::string(row.action) +
                         (tick == sim::TickGranularity::Coarse ? ", coarse tick" : ", millisecond tick"));
            BoardStandingMetro();
            sim::SetTickGranularity(tick);
            std::vector<uint32_t> fired;
            std::string shown = Panel().at(row.line);
            sim::KeyDown(row.key);
            for (int frame = 0; frame < 200; ++frame) {
                sim::RunFrame(16);
                if (Panel().at(row.line) != shown) fired.push_back(sim::Now());
                shown = Panel().at(row.line);
            }
            sim::KeyUp(row.key);
            ASSERT_GE(fired.size(), 5u);
            for (size_t i = 1; i < fired.size(); ++i) {
                EXPECT_GT(fired[i] - fired[i - 1], row.interval);
                EXPECT_LE(fired[i] - fired[i - 1], row.interval + 32);
            }
        }
    }
}
