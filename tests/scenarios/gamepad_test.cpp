// Driving with a gamepad: while the pad gave the game its last input, its
// buttons do what the keys do, with the same ticks; Y boards and leaves.
#include <filesystem>
#include <fstream>
#include <iterator>

#include "driving_story.h"

namespace {

const char* const PadNatives[] = {"IS_USING_KEYBOARD_AND_MOUSE", "IS_DISABLED_CONTROL_PRESSED",
                                  "IS_DISABLED_CONTROL_JUST_PRESSED", "GET_DISABLED_CONTROL_NORMAL"};

// The shipped Velquorin.ini, byte for byte: use_gamepad=1.
std::string Shipped() {
    std::ifstream in(std::filesystem::path(VELQUORIN_SOURCE_DIR) / "Velquorin.ini", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

class Gamepad : public DrivingStory {
protected:
    int metro = 0;

    void StandAtTheCabDoor(const std::string& settings) {
        Start(settings);
        sim::SetTrainsMove(false);
        metro = sim::AddTrain("metrotrain", {0, 0, 0});
        sim::SetNearbyList({metro});
        sim::PlacePlayer(CabOf(metro));
        sim::RunFrames(20);
    }
    // A button down for one pass, long after the last press.
    void Tap(sim::pad::Button button, uint32_t after = 1000) {
        sim::AdvanceClock(after);
        sim::PadDown(button);
        sim::RunFrame();
        sim::PadUp(button);
    }
    void Pull(sim::pad::Button trigger, int frames, float travel = 1.0f) {
        sim::SetTrigger(trigger, travel);
        sim::RunFrames(frames);
        sim::SetTrigger(trigger, 0.0f);
    }
    std::string Throttle() { return Panel().at(1); }
    std::string Brake() { return Panel().at(2); }
};

TEST_F(Gamepad, APadDriveFromTheCabDoorAndBack) {
    StandAtTheCabDoor(Shipped());
    Tap(sim::pad::X);  // on foot: the pad is now the last device used
    sim::RunFrames(20);
    EXPECT_EQ(Panel(), std::vector<std::string>{"Press Y to drive"});
    Tap(sim::pad::Y);
    ASSERT_EQ(sim::Get(metro).driver, sim::Player()) << "Y boards";
    const int character = sim::Player();
    Tap(sim::pad::LB);
    EXPECT_EQ(Panel().at(3), "Direction: ~r~Backward") << "at a standstill";

    Pull(sim::pad::RT, 125);  // 2 s
    Tap(sim::pad::LB);
    EXPECT_EQ(Panel().at(3), "Direction: ~r~Backward") << "not while moving";
    const std::string byTrigger = Throttle();
    Pull(sim::pad::LT, 250);
    EXPECT_EQ(Throttle(), "Throttle:   0 %");
    Hold(vk::W, 125);
    EXPECT_EQ(byTrigger, Throttle()) << "RT raises the throttle as W does";
    Hold(vk::S, 250);

    Tap(sim::pad::A);
    EXPECT_EQ(Brake(), "Brake: ~r~[L] ~g~[M] [H]");
    Tap(sim::pad::X, 150);
    EXPECT_EQ(Brake(), "Brake: ~r~[L] ~g~[M] [H]") << "within the brakes' shared 200 ms";
    Tap(sim::pad::X, 100);
    EXPECT_EQ(Brake(), "Brake: ~g~[L] ~r~[M] ~g~[H]");
    Tap(sim::pad::RB);
    EXPECT_EQ(Brake(), "Brake: ~g~[L] ~g~[M] ~r~[H]");
    EXPECT_TRUE(sim::ControlDisabled(69)) << "RB's attack taken with the handbrake";

    Tap(sim::pad::DpadLeft);
    Tap(sim::pad::DpadRight);
    EXPECT_EQ(drive::DoorsOf(metro), "oooo");
    const float x = drive::PanelBox()->x;
    Tap(sim::pad::DpadDown);
    EXPECT_NE(drive::PanelBox()->x, x) << "the panel moved";
    EXPECT_FALSE(sim::GameReacted().wheelShown);

    Tap(sim::pad::Y);
    EXPECT_FALSE(sim::GameReacted().ownExit);
    EXPECT_EQ(sim::Player(), character);
    EXPECT_EQ(drive::CallsAmong({"PlaceEntity"}),
              std::vector<std::string>{"PlaceEntity " + std::to_string(character) + " -2 3.25 1 0 0 0 0"});
}

// Whichever gave the last input drives: a key press takes the pad's
// trigger out of the pass, a pad press puts it back.
TEST_F(Gamepad, KeyboardThenPadThenKeyboardInOneDrive) {
    StandAtTheCabDoor("[gameplay]\nuse_gamepad=1\n");  // a step a frame
    ASSERT_TRUE(Board(metro));
    Hold(vk::W, 10);
    EXPECT_EQ(Throttle(), "Throttle:  10 %") << "the keyboard, last used";
    Pull(sim::pad::RT, 10);
    EXPECT_EQ(Throttle(), "Throttle:  20 %") << "the pad, last used";
    sim::SetTrigger(sim::pad::RT, 1.0f);
    sim::RunFrames(5);
    Press(vk::J);  // the keyboard again, the trigger still pulled
    sim::RunFrames(10);
    EXPECT_EQ(Throttle(), "Throttle:  25 %") << "the trigger is no longer read";
    EXPECT_TRUE(drive::CallsAmong({"GET_DISABLED_CONTROL_NORMAL"}).empty());
    EXPECT_EQ(Brake(), "Brake: ~r~[L] ~g~[M] [H]");
}

TEST_F(Gamepad, ATriggerCountsAsHeldBeyondHalfItsTravel) {
    for (const auto& [travel, throttle] : {std::pair{0.4f, "Throttle:   0 %"}, std::pair{0.6f, "Throttle:  10 %"}}) {
        SCOPED_TRACE(travel);
        Restart();
        StandAtTheCabDoor("[gameplay]\nuse_gamepad=1\n");
        ASSERT_TRUE(Board(metro));
        Tap(sim::pad::A);  // the pad in use; the light brake on
        Pull(sim::pad::RT, 10, travel);
        EXPECT_EQ(Throttle(), throttle);
    }
}

// use_gamepad=0: the pad is never asked about, and its buttons do nothing.
TEST_F(Gamepad, WithTheSettingOffNoPadNativeIsCalled) {
    StandAtTheCabDoor("[gameplay]\nuse_gamepad=0\n");
    Tap(sim::pad::Y);
    ASSERT_EQ(sim::Get(metro).driver, 0) << "Y does not board";
    ASSERT_TRUE(Board(metro));
    for (sim::pad::Button button : {sim::pad::A, sim::pad::LB, sim::pad::DpadLeft, sim::pad::Y}) {
        Tap(button);
        for (const char* native : PadNatives) EXPECT_TRUE(sim::CallsTo(native).empty()) << native;
    }
    Pull(sim::pad::RT, 10);
    EXPECT_EQ(Panel(), (std::vector<std::string>{"Speed:   0 km/h", "Throttle:   0 %", "Brake: ~g~[L] [M] [H]",
                                                 "Direction: ~g~Forward"}));
}
