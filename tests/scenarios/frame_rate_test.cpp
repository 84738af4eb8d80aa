// The same train at any frame rate: with speed_steps_per_second the speed
// model and the throttle keys step by the tick counter, not by the frame.
// Speeds are read back from the value the train is given each frame, so the
// stories run alike on both builds.
#include <algorithm>
#include <cmath>
#include <vector>

#include "driving_story.h"

namespace {

constexpr float MetroNetGain = 0.035f;  // acceleration 0.04 less drag 0.005, per step

double SpeedFrom(float sent) { return static_cast<double>(sent) + 0.059; }

}  // namespace

class FrameRate : public DrivingStory {
protected:
    // A fresh plug-in with these settings, Windows' 64 Hz tick, and the
    // player seated in a metro train at rest.
    int BoardAMetro(const std::string& settings, bool coarse = true) {
        Restart(settings);
        if (coarse) sim::SetTickGranularity(sim::TickGranularity::Coarse);
        int metro = sim::AddTrain("metrotrain", {0, 0, 0});
        EXPECT_TRUE(Board(metro));
        return metro;
    }

    // Frames at fps for that many seconds, with the key held down as the
    // keyboard repeats it; the speed the train was given after each one.
    std::vector<double> Run(int metro, int fps, double seconds, uint32_t held = 0) {
        std::vector<double> speeds;
        for (int frame = 0; frame < static_cast<int>(seconds * fps); ++frame) {
            if (held) sim::KeyDown(held);
            sim::RunFrameMicroseconds(1000000 / fps);
            speeds.push_back(SpeedFrom(SentThisFrame(metro)));
        }
        return speeds;
    }

    struct Drive {
        double afterTenSeconds = 0;
        double secondsToStop = 0;
        int mostStepsInAPass = 0;
    };

    // Full throttle for ten seconds, then W let go and the hard brake on
    // (the throttle stays at 100) until the train stands.
    Drive FullThrottleThenHardBrake(int fps) {
        int metro = BoardAMetro("[gameplay]\nspeed_steps_per_second=60\n");
        Drive drive;
        std::vector<double> speeds = Run(metro, fps, 10.0, vk::W);
        sim::KeyUp(vk::W);
        double before = 0;
        for (double speed : speeds) {
            int steps = static_cast<int>(std::lround((speed - before) / MetroNetGain));
            drive.mostStepsInAPass = std::max(drive.mostStepsInAPass, steps);
            before = speed;
        }
        drive.afterTenSeconds = speeds.back();

        sim::KeyDown(vk::L);
        const uint32_t braked = sim::Now();
        int frames = 0;
        for (; frames < 30 * fps && SentThisFrame(metro) != drive::Sent(0.0f); ++frames) {
            sim::RunFrameMicroseconds(1000000 / fps);
            if (frames == 0) sim::KeyUp(vk::L);
        }
        EXPECT_EQ(Panel().at(2), "Brake: ~g~[L] ~g~[M] ~r~[H]") << fps << " frames a second";
        drive.secondsToStop = (sim::Now() - braked) / 1000.0;
        return drive;
    }
};

TEST_F(FrameRate, TheStepRateIsReadLastAsAWholeNumberUpToAThousandAndAnythingElseIsZero) {
    struct Row {
        const char* text;
        uint32_t steps;
    } rows[] = {{nullptr, 0}, {"0", 0}, {"1", 1}, {"60", 60}, {"1000", 1000},
                {"1001", 0},  {"-60", 0}, {"abc", 0}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text ? row.text : "(absent)");
        // Off the train, which the game then reports at 10 m/s, and on
        // again with no throttle: drag alone, 0.005 a step, for a second at
        // 144 frames a second (and, once a frame, the boarding frame's step).
        const std::string settings = row.text ? std::string("[gameplay]\nspeed_steps_per_second=") + row.text + "\n" : "";
        int metro = BoardAMetro(settings, /*coarse=*/false);
        Press(vk::F);
        sim::Get(metro).speed = 10.0f;
        ASSERT_TRUE(Board(metro));
        Run(metro, 144, 1.0);
        const double steps = (10.0 - SpeedFrom(SentThisFrame(metro))) / 0.005;
        const double due = row.steps == 0 ? 144 + 1 : row.steps;
        EXPECT_NEAR(steps, due, row.steps == 0 ? 0.5 : 0.01 * due + 1.5);
    }

    // A panel position that fails to convert ends the load before the key:
    // it keeps the value of the load before.
    Restart("[gameplay]\nspeed_steps_per_second=60\n");
    sim::WriteSettingsFile("[gameplay]\nspeed_steps_per_second=0\n[gui]\ngui_position_x_0=left\n");
    PressReloadChord();
    int metro = sim::AddTrain("metrotrain", {0, 0, 0});
    ASSERT_TRUE(Board(metro));
    Run(metro, 240, 1.0, vk::W);
    EXPECT_NEAR(std::stoi(Panel().at(1).substr(10)), 60, 1) << "still 60 steps a second, not one a frame";
}

// At 60 steps a second the player's machine makes no difference: ten
// seconds of full throttle and the hard brake's stop agree within 1 % at
// 30, 60, 144 and 240 frames a second, on Windows' coarse 15.6 ms tick,
// and a fast machine never takes more than two steps in one frame.
TEST_F(FrameRate, FourFrameRatesDriveTheSameTrainOnTheCoarseClock) {
    const Drive at60 = FullThrottleThenHardBrake(60);
    ASSERT_NEAR(at60.afterTenSeconds, 600 * MetroNetGain, 0.1) << "about 600 steps in ten seconds";
    ASSERT_GT(at60.secondsToStop, 10.0);
    for (int fps : {30, 144, 240}) {
        SCOPED_TRACE(std::to_string(fps) + " frames a second");
        const Drive drive = FullThrottleThenHardBrake(fps);
        EXPECT_NEAR(drive.afterTenSeconds, at60.afterTenSeconds, 0.01 * at60.afterTenSeconds);
        EXPECT_NEAR(drive.secondsToStop, at60.secondsToStop, 0.01 * at60.secondsToStop);
        if (fps > 60) EXPECT_LE(drive.mostStepsInAPass, 2);
    }
}

// At 1,000 steps a second, a second of full throttle drives the same train
// at 240, 60 and 4 frames a second: every pass takes all the steps due.
TEST_F(FrameRate, AThousandStepsASecondHoldDownToFourFramesASecond) {
    std::vector<double> speeds;
    for (int fps : {240, 60, 4}) {
        SCOPED_TRACE(std::to_string(fps) + " frames a second");
        speeds.push_back(Run(BoardAMetro("[gameplay]\nspeed_steps_per_second=1000\n"), fps, 1.0, vk::W).back());
        EXPECT_EQ(Panel().at(1), "Throttle: 100 %");
        EXPECT_NEAR(speeds.back(), speeds.front(), 0.01 * speeds.front());
    }
}

// A pause, an alt-tab or a loading screen: the next pass counts a quarter
// of a second at most, 15 steps, not the 1,800 that are due; boarding
// starts the count afresh; a tick counter that wraps after 49.7 days keeps
// the pace.
TEST_F(FrameRate, AClockJumpTakesAtMostAQuarterSecondOfStepsAndBoardingStartsTheCountAfresh) {
    Start("[gameplay]\nspeed_steps_per_second=60\n");
    int metro = sim::AddTrain("metrotrain", {0, 0, 0}, 10.0f);
    // Press(F) comes a second after the last frame: without a fresh count
    // the boarding frame would take fifteen steps of drag.
    ASSERT_TRUE(Board(metro));
    EXPECT_EQ(SentThisFrame(metro), drive::Sent(10.0f)) << "no step in the boarding frame";

    sim::KeyDown(vk::W);
    sim::RunFrames(10, 100);  // six steps a frame
    ASSERT_EQ(Panel().at(1), "Throttle:  60 %");
    sim::AdvanceClock(30'000);
    sim::KeyDown(vk::W);  // the keyboard's repeat, after the pause
    sim::RunFrame(16);
    EXPECT_EQ(Panel().at(1), "Throttle:  75 %");
    sim::RunFrame(50);
    EXPECT_EQ(Panel().at(1), "Throttle:  78 %") << "the dropped steps do not come later";
    sim::KeyUp(vk::W);

    sim::SetClock(0xFFFFFFFFu - 200);  // 49.7 days on: one pass of 15 steps
    sim::KeyDown(vk::S);
    sim::RunFrame(0);
    const std::string before = Panel().at(1);
    for (int frame = 0; frame < 20; ++frame) {  // across the wrap: 20 frames of 3 steps
        sim::KeyDown(vk::S);
        sim::RunFrame(50);
    }
    EXPECT_LT(sim::Now(), 1000u);
    EXPECT_EQ(std::stoi(before.substr(10)) - std::stoi(Panel().at(1).substr(10)), 60) << before;
}
