// Control dispatch: which held keys act, in which frame, and how often.
// Exact clocks come from sim::SetClock followed by a frame of step 0.
#include "driving_story.h"

namespace {

std::string PresetsWithFirst(float x0, float y0) {
    return "[gui]\n"
           "gui_position_x_0=" + std::to_string(x0) + "\ngui_position_y_0=" + std::to_string(y0) + "\n"
           "gui_position_x_1=0.9\ngui_position_y_1=0.15\n"
           "gui_position_x_2=0.1\ngui_position_y_2=0.85\n"
           "gui_position_x_3=0.9\ngui_position_y_3=0.85\n";
}
const std::string Presets = PresetsWithFirst(0.1f, 0.15f);

const char* const Released = "Brake: ~g~[L] [M] [H]";
const char* const Light = "Brake: ~r~[L] ~g~[M] [H]";
const char* const Medium = "Brake: ~g~[L] ~r~[M] ~g~[H]";
const char* const Hard = "Brake: ~g~[L] ~g~[M] ~r~[H]";

// Everything a player could notice this frame.
std::string Shown(int train) {
    std::string shown;
    for (const std::string& line : sim::PanelLines()) shown += line + " | ";
    if (const sim::DrawnBox* box = drive::PanelBox())
        shown += "box at " + std::to_string(box->x) + "," + std::to_string(box->y);
    if (sim::ConsoleDrawn()) shown += " console";
    shown += " doors " + drive::DoorsOf(train) + " switch " + std::to_string(sim::BoardingSwitch());
    return shown;
}

void At(uint32_t clock) {
    sim::SetClock(clock);
    sim::RunFrame(0);
}

}  // namespace

class Controls : public DrivingStory {
protected:
    int metro = 0;

    void StartDriving(const std::string& settings = Presets) {
        Start(settings);
        sim::SetTrainsMove(false);
        metro = sim::AddTrain("metrotrain", {0, 0, 0});
        ASSERT_TRUE(Board(metro));
    }

    void PressTogether(std::initializer_list<uint32_t> keys) {
        sim::AdvanceClock(1000);
        for (uint32_t key : keys) sim::KeyDown(key);
        sim::RunFrame();
        for (uint32_t key : keys) sim::KeyUp(key);
    }

    std::string BrakeLine() { return Panel().at(2); }
    std::string ThrottleLine() { return Panel().at(1); }
};

// Held without a break, an action fires, stays quiet for exactly its
// interval, and fires again one millisecond later; also across the wrap of
// the tick counter.
TEST_F(Controls, EveryIntervalIsStrict) {
    struct Case {
        const char* action;
        std::vector<uint32_t> keys;
        uint32_t interval;
    };
    const Case cases[] = {
        {"change direction", {vk::LeftControl}, 500}, {"light brake", {vk::J}, 200},
        {"medium brake", {vk::K}, 200},                {"hard brake", {vk::L}, 200},
        {"left doors", {vk::Numpad1}, 200},            {"right doors", {vk::Numpad3}, 200},
        {"panel position", {vk::F5}, 200},             {"reload", {vk::Alt, vk::I}, 500},
        {"enter or exit", {vk::F}, 500},               {"console", {vk::F6}, 500},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.action);
        Restart();
        ASSERT_NO_FATAL_FAILURE(StartDriving());
        float firstX = 0.2f;  // each frame below reads a new preset 0, should a reload fire
        auto rewrite = [&] {
            firstX += 0.05f;
            sim::WriteSettingsFile(PresetsWithFirst(firstX, 0.15f));
        };
        for (uint32_t t : {sim::Now() + 1000, 0xFFFFFFF0u}) {
            SCOPED_TRACE("fired at " + std::to_string(t));
            At(t - 100);
            const std::string before = Shown(metro);

            sim::SetClock(t);
            rewrite();
            for (uint32_t key : c.keys) sim::KeyDown(key);
            sim::RunFrame(0);
            const std::string fired = Shown(metro);
            EXPECT_NE(fired, before);

            rewrite();
            At(t + c.interval);
            EXPECT_EQ(Shown(metro), fired) << "not yet due after exactly " << c.interval << " ms";

            rewrite();
            At(t + c.interval + 1);
            EXPECT_NE(Shown(metro), fired) << "due after " << c.interval + 1 << " ms";
            for (uint32_t key : c.keys) sim::KeyUp(key);
        }
    }
}

TEST_F(Controls, TheBrakesShareOneTickSoTheLightBrakeWinsWhileHeld) {
    StartDriving();
    const uint32_t t = sim::Now() + 1000;
    sim::SetClock(t);
    sim::KeyDown(vk::J);
    sim::KeyDown(vk::K);
    sim::RunFrame(0);
    EXPECT_EQ(BrakeLine(), Light);
    At(t + 201);
    EXPECT_EQ(BrakeLine(), Released) << "the light brake takes the tick again";

    sim::KeyUp(vk::J);
    At(t + 350);
    EXPECT_EQ(BrakeLine(), Released) << "149 ms after the light brake: the medium one waits";
    At(t + 402);
    EXPECT_EQ(BrakeLine(), Medium);
    sim::KeyUp(vk::K);
}

TEST_F(Controls, BothDoorKeysHeldOnlyWorkTheLeftSide) {
    StartDriving();
    const uint32_t t = sim::Now() + 1000;
    sim::SetClock(t);
    sim::KeyDown(vk::Numpad1);
    sim::KeyDown(vk::Numpad3);
    sim::RunFrame(0);
    EXPECT_EQ(drive::DoorsOf(metro), "o-o-");
    At(t + 201);
    EXPECT_EQ(drive::DoorsOf(metro), "----");
    EXPECT_EQ(drive::CallsAmong({"DoorIsOpen"}), std::vector<std::string>{"DoorIsOpen " + std::to_string(metro) + " 0"});

    sim::KeyUp(vk::Numpad1);
    At(t + 402);
    EXPECT_EQ(drive::DoorsOf(metro), "-o-o");
    sim::KeyUp(vk::Numpad3);
}

TEST_F(Controls, BrakeKeysToggleTheirOwnLevel) {
    StartDriving();
    const std::pair<uint32_t, const char*> presses[] = {
        {vk::J, Light}, {vk::J, Released}, {vk::J, Light}, {vk::K, Medium},
        {vk::J, Light}, {vk::K, Medium},   {vk::L, Hard},  {vk::L, Released},
    };
    for (const auto& [key, line] : presses) {
        Press(key);
        EXPECT_EQ(BrakeLine(), line) << "after key " << key;
    }
}

TEST_F(Controls, TheThrottleStepsOncePerFrameBetweenZeroAndAHundred) {
    StartDriving();
    Hold(vk::W, 100);
    EXPECT_EQ(ThrottleLine(), "Throttle: 100 %");
    Hold(vk::W, 1);
    EXPECT_EQ(ThrottleLine(), "Throttle: 100 %");
    Hold(vk::S, 30);
    EXPECT_EQ(ThrottleLine(), "Throttle:  70 %");
    Hold(vk::S, 71);
    EXPECT_EQ(ThrottleLine(), "Throttle:   0 %");
}

TEST_F(Controls, BothThrottleKeysHeldRaiseThenLower) {
    StartDriving();
    const std::pair<int, const char*> cases[] = {
        {0, "Throttle:   0 %"},   // up to 1, down to 0
        {50, "Throttle:  50 %"},  // up to 51, down to 50
        {50, "Throttle:  99 %"},  // at 100 up is refused, down is not
    };
    for (const auto& [raise, line] : cases) {
        Hold(vk::W, raise);
        PressTogether({vk::W, vk::S});
        EXPECT_EQ(ThrottleLine(), line);
    }
}

TEST_F(Controls, OnFootOnlyReloadEnterAndTheConsoleAct) {
    Start(Presets);
    sim::SetTrainsMove(false);
    int train = sim::AddTrain("metrotrain", {0, 0, 0});
    sim::SetNearbyList({train});
    sim::PlacePlayer(CabOf(train));
    const uint32_t t = sim::Now() + 1000;
    const uint32_t drivingKeys[] = {vk::LeftControl, vk::W, vk::S, vk::J, vk::K, vk::L,
                                    vk::Numpad1, vk::Numpad3, vk::F5};

    sim::SetClock(t);
    for (uint32_t key : drivingKeys) sim::KeyDown(key);
    for (int frame = 0; frame < 3; ++frame) {
        sim::RunFrame(0);
        EXPECT_TRUE(sim::Trace().empty()) << "no driving key asks the game anything on foot";
    }
    for (uint32_t key : drivingKeys) sim::KeyUp(key);

    sim::WriteSettingsFile(PresetsWithFirst(0.3f, 0.4f));
    sim::SetClock(t + 50);
    for (uint32_t key : {vk::Alt, vk::I, vk::F6}) sim::KeyDown(key);
    sim::RunFrame(0);
    for (uint32_t key : {vk::Alt, vk::I, vk::F6}) sim::KeyUp(key);
    EXPECT_TRUE(sim::ConsoleDrawn());

    sim::SetClock(t + 100);
    sim::TapKey(vk::F, 0);
    const std::vector<std::string> untouched = {"Speed:   0 km/h", "Throttle:   0 %", Released, "Direction: ~g~Forward"};
    EXPECT_EQ(Panel(), untouched);
    ASSERT_NE(drive::PanelBox(), nullptr);
    EXPECT_EQ(drive::PanelBox()->x, 0.3f) << "the reload on foot placed the panel";
    EXPECT_EQ(drive::PanelBox()->y, 0.4f);
    EXPECT_EQ(drive::DoorsOf(train), "----");

    // 200 ms after they were held on foot, every driving action is due:
    // holding them on foot took none of their ticks.
    sim::SetClock(t + 200);
    for (uint32_t key : {vk::W, vk::J, vk::LeftControl, vk::Numpad1, vk::F5}) sim::KeyDown(key);
    sim::RunFrame(0);
    const std::vector<std::string> acted = {"Speed:   0 km/h", "Throttle:   1 %", Light, "Direction: ~r~Backward"};
    EXPECT_EQ(Panel(), acted);
    EXPECT_EQ(drive::DoorsOf(train), "o-o-");
    ASSERT_NE(drive::PanelBox(), nullptr);
    EXPECT_EQ(drive::PanelBox()->x, 0.9f) << "moved on to preset 1";
}

TEST_F(Controls, DrivingKeysActFromThePassAfterBoarding) {
    Start();
    int metro = sim::AddTrain("metrotrain", {0, 0, 0});
    sim::SetNearbyList({metro});
    sim::PlacePlayer(CabOf(metro));
    sim::AdvanceClock(1000);
    for (uint32_t key : {vk::F, vk::W, vk::J}) sim::KeyDown(key);
    sim::RunFrame();
    EXPECT_EQ(Panel(), (std::vector<std::string>{"Speed:   0 km/h", "Throttle:   0 %", Released,
                                                 "Direction: ~g~Forward"}));
    sim::RunFrame();
    EXPECT_EQ(ThrottleLine(), "Throttle:   1 %");
    EXPECT_EQ(BrakeLine(), Light);
    EXPECT_EQ(sim::Get(metro).driver, sim::Player()) << "F is not due again yet";
}

TEST_F(Controls, LeavingRunsThatFramesDrivingKeysFirst) {
    StartDriving();
    PressTogether({vk::F, vk::W});
    EXPECT_EQ(sim::Get(metro).driver, 0);
    // Throttle 1 (limit 0.35) took effect before the player got off.
    float v = 0.0f + 0.04f;
    v = v - 0.005f;
    EXPECT_EQ(SentThisFrame(metro), drive::Sent(v));
}

TEST_F(Controls, TwoActionsOnOneKeyBothActInTheSameFrame) {
    Start("[keys]\nbrake_light=87\nenter_exit=O\ntoggle_console=O\n");
    int metro = sim::AddTrain("metrotrain", {0, 0, 0});
    sim::SetNearbyList({metro});
    sim::PlacePlayer(CabOf(metro));

    Press('O');
    EXPECT_EQ(sim::Get(metro).driver, sim::Player());
    EXPECT_TRUE(sim::ConsoleDrawn());
    EXPECT_EQ(Panel().size(), 4u);

    Press(vk::W);
    EXPECT_EQ(ThrottleLine(), "Throttle:   1 %");
    EXPECT_EQ(BrakeLine(), Light);
}

// A code of 255 or more names no key. Were it cut to a byte, 326 would be F,
// 330 J and 418 left Control.
TEST_F(Controls, ABindingOf255OrMoreNeverFires) {
    Start("[keys]\nenter_exit=326\n");
    int metro = sim::AddTrain("metrotrain", {0, 0, 0});
    EXPECT_FALSE(Board(metro));
    sim::SendKeyMessage(326, 0, 0, 0);
    sim::RunFrame();
    EXPECT_EQ(sim::Get(metro).driver, 0);

    Restart("[keys]\nthrottle_up=255\nbrake_light=330\nchange_direction=418\n");
    metro = sim::AddTrain("metrotrain", {0, 0, 0});
    ASSERT_TRUE(Board(metro));
    sim::AdvanceClock(1000);
    for (uint32_t key : {255u, vk::J, vk::LeftControl, vk::W}) sim::KeyDown(key);
    sim::RunFrames(3);
    const std::vector<std::string> untouched = {"Speed:   0 km/h", "Throttle:   0 %", Released, "Direction: ~g~Forward"};
    EXPECT_EQ(Panel(), untouched);
}

TEST_F(Controls, DirectionChangesInTheFirstFrameThatFindsTheTrainStanding) {
    Start();
    // 0.01 less two drags of 0.005 is exactly 0.
    int metro = sim::AddTrain("metrotrain", {0, 0, 0}, 0.01f);
    ASSERT_TRUE(Board(metro));  // this pass: 0.01 to 0.005
    sim::KeyDown(vk::LeftControl);
    sim::RunFrame();  // dispatch finds 0.005; the model then stops the train
    EXPECT_EQ(Panel().at(3), "Direction: ~g~Forward");
    EXPECT_EQ(SentThisFrame(metro), drive::Sent(0.0f));
    sim::RunFrame();
    EXPECT_EQ(Panel().at(3), "Direction: ~r~Backward");
    sim::KeyUp(vk::LeftControl);
}

TEST_F(Controls, TheReloadChordNeedsBothKeysAndKeepsThePanelsSlot) {
    StartDriving();
    Press(vk::F5);
    Press(vk::F5);
    ASSERT_NE(drive::PanelBox(), nullptr);
    EXPECT_EQ(drive::PanelBox()->y, 0.85f) << "preset 2";

    sim::WriteSettingsFile(PresetsWithFirst(0.5f, 0.55f));
    Press(vk::I);
    EXPECT_EQ(drive::PanelBox()->x, 0.1f) << "I alone reloads nothing";
    Press(vk::Alt);
    EXPECT_EQ(drive::PanelBox()->x, 0.1f) << "Alt alone reloads nothing";
    PressTogether({vk::Alt, vk::I});
    EXPECT_EQ(drive::PanelBox()->x, 0.5f);
    EXPECT_EQ(drive::PanelBox()->y, 0.55f);

    Press(vk::F5);
    ASSERT_NE(drive::PanelBox(), nullptr);
    EXPECT_EQ(drive::PanelBox()->x, 0.9f) << "the slot stayed at 2, so on to preset 3";
    EXPECT_EQ(drive::PanelBox()->y, 0.85f);

    Press(vk::F5);
    EXPECT_TRUE(Panel().empty());
    sim::WriteSettingsFile(PresetsWithFirst(0.6f, 0.65f));
    PressTogether({vk::Alt, vk::I});
    EXPECT_TRUE(Panel().empty()) << "a hidden panel stays hidden";
    Press(vk::F5);
    ASSERT_NE(drive::PanelBox(), nullptr);
    EXPECT_EQ(drive::PanelBox()->x, 0.6f);
}

TEST_F(Controls, AReloadOfABrokenFileLeavesThePanelAndKeepsDriving) {
    StartDriving();
    sim::WriteSettingsFile("[gui]\ngui_position_x_0=abc\n");
    PressTogether({vk::Alt, vk::I});
    ASSERT_NE(drive::PanelBox(), nullptr);
    EXPECT_EQ(drive::PanelBox()->x, 0.1f);
    Press(vk::F6);
    // Newest first, above the two distance lines of the boarding.
    EXPECT_EQ(sim::ConsoleTextDrawn(),
              "Velquorin.ini:\ngui_position_x_0 is no number\n(invalid stof argument)\n0.000000\n0.000000\n");
    Hold(vk::W, 3);
    EXPECT_EQ(ThrottleLine(), "Throttle:   3 %");
}
