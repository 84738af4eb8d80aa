// One whole drive, as a player would make it, reading the panel at each step.
#include <cmath>

#include "driving_story.h"

namespace {

const std::string Settings =
    "[gui]\n"
    "gui_position_x_0=0.1\ngui_position_y_0=0.15\n"
    "gui_position_x_1=0.9\ngui_position_y_1=0.15\n"
    "gui_position_x_2=0.1\ngui_position_y_2=0.85\n"
    "gui_position_x_3=0.9\ngui_position_y_3=0.85\n";

std::vector<std::string> Lines(const char* speed, const char* throttle, const char* brake, const char* direction) {
    return {speed, throttle, brake, direction};
}

}  // namespace

class FullDrive : public DrivingStory {
protected:
    void ExpectPanelAt(float x, float y) {
        const sim::DrawnBox* box = drive::PanelBox();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->x, x);
        EXPECT_EQ(box->y, y);
    }
};

TEST_F(FullDrive, BoardRunBrakeTurnOpenTheDoorsMoveThePanelReloadAndLeave) {
    const char* const Released = "Brake: ~g~[L] [M] [H]";
    const char* const Hard = "Brake: ~g~[L] ~g~[M] ~r~[H]";
    const char* const Forward = "Direction: ~g~Forward";
    const char* const Backward = "Direction: ~r~Backward";
    Start(Settings);
    Press(vk::F6);

    // Half a metre behind the cab of a standing metro train.
    int metro = sim::AddTrain("metrotrain", {20.0f, 30.0f, 0.0f});
    int carriage = sim::Get(metro).carriage;
    const sim::Vec3 cab = CabOf(metro);
    sim::PlacePlayer({cab.x, cab.y - 0.5f, cab.z});
    Press(vk::F);
    ASSERT_EQ(sim::Get(metro).driver, sim::Player());
    EXPECT_EQ(Panel(), Lines("Speed:   0 km/h", "Throttle:   0 %", Released, Forward));
    ExpectPanelAt(0.1f, 0.15f);
    EXPECT_EQ(sim::ConsoleTextDrawn(), "0.500000\n0.500000\n");

    Hold(vk::W, 50);
    EXPECT_EQ(Panel().at(1), "Throttle:  50 %");

    // Half of 35 is 17.5: it settles 0.005 to 0.045 below, 63 km/h.
    sim::RunFrames(600);
    for (int frame = 0; frame < 60; ++frame) {
        sim::RunFrame();
        ASSERT_EQ(Panel(), Lines("Speed:  63 km/h", "Throttle:  50 %", Released, Forward)) << "frame " << frame;
    }
    EXPECT_GT(sim::Get(metro).position.y, 30.0f + 100.0f) << "the train went somewhere";

    // Throttle shut, hard brake: about 0.065 a frame, some 270 frames to stand.
    Hold(vk::S, 50);
    EXPECT_EQ(Panel().at(1), "Throttle:   0 %");
    Press(vk::L);
    EXPECT_EQ(Panel().at(2), Hard);
    int frames = 1;
    while (SentThisFrame(metro) != drive::Sent(0.0f) && frames < 400) {
        sim::RunFrame();
        ++frames;
    }
    EXPECT_GT(frames, 240);
    EXPECT_LT(frames, 290);
    EXPECT_EQ(Panel(), Lines("Speed:   0 km/h", "Throttle:   0 %", Hard, Forward));

    Press(vk::L);
    Press(vk::LeftControl);
    EXPECT_EQ(Panel(), Lines("Speed:   0 km/h", "Throttle:   0 %", Released, Backward));
    EXPECT_EQ(SentThisFrame(metro), drive::Sent(0.0f, -1));

    Press(vk::Numpad1);
    EXPECT_EQ(drive::DoorsOf(metro) + " " + drive::DoorsOf(carriage), "o-o- -o-o");
    Press(vk::Numpad1);
    EXPECT_EQ(drive::DoorsOf(metro) + " " + drive::DoorsOf(carriage), "---- ----");
    Press(vk::Numpad3);
    EXPECT_EQ(drive::DoorsOf(metro) + " " + drive::DoorsOf(carriage), "-o-o o-o-");
    Press(vk::Numpad3);
    EXPECT_EQ(drive::DoorsOf(metro) + " " + drive::DoorsOf(carriage), "---- ----");

    const std::vector<std::string> standing = Lines("Speed:   0 km/h", "Throttle:   0 %", Released, Backward);
    const std::pair<float, float> cycle[] = {{0.9f, 0.15f}, {0.1f, 0.85f}, {0.9f, 0.85f}};
    for (const auto& [x, y] : cycle) {
        Press(vk::F5);
        ExpectPanelAt(x, y);
        EXPECT_EQ(Panel(), standing);
    }
    Press(vk::F5);
    EXPECT_TRUE(Panel().empty());
    EXPECT_EQ(drive::PanelBox(), nullptr);
    Press(vk::F5);
    ExpectPanelAt(0.1f, 0.15f);
    EXPECT_EQ(Panel(), standing);

    sim::WriteSettingsFile("[gameplay]\nuse_metric_system=0\n[gui]\ngui_position_x_0=0.25\ngui_position_y_0=0.3\n");
    sim::AdvanceClock(400);
    PressReloadChord();
    ExpectPanelAt(0.25f, 0.3f);
    EXPECT_EQ(Panel(), Lines("Speed:   0 mph", "Throttle:   0 %", Released, Backward));

    Press(vk::F);
    EXPECT_TRUE(Panel().empty());
    EXPECT_EQ(sim::BoardingSwitch(), 0);
    const sim::Vec3 exit = drive::Plus(sim::Get(metro).position, drive::MetroExit);
    const sim::Vec3 at = sim::Get(sim::Player()).position;
    EXPECT_NEAR(at.x, exit.x, 0.01);
    EXPECT_NEAR(at.y, exit.y, 0.01);
    EXPECT_NEAR(at.z, exit.z, 0.01);
    EXPECT_EQ(sim::Get(sim::Player()).seatedIn, 0);
}
