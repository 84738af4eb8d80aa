// The speed model, read from the value each train is given every frame.
// Expected speeds are worked out here by hand, frame by frame, in single
// precision; the value given to the game is then v - 0.059 in double,
// narrowed (drive::Sent).
#include <algorithm>
#include <cmath>

#include "driving_story.h"
#ifndef _WIN32
#include "driving/drive_state.h"
#endif

namespace {

// The model's speed as the game sees it, back from the value it was given.
double SpeedFrom(float sent) { return static_cast<double>(sent) + 0.059; }

uint32_t BrakeKey(int level) {
    switch (level) {
    case 1: return vk::J;
    case 2: return vk::K;
    case 3: return vk::L;
    default: return 0;
    }
}

}  // namespace

class SpeedModel : public DrivingStory {
protected:
    // Drives a parked train to set throttle and brake, gets off, and boards
    // `train`: the boarding frame's update is the first one `train` gets.
    void SetControlsOnAParkedTrain(int throttleFrames, int brakeLevel, bool backward = false) {
        int parked = sim::AddTrain("metrotrain", {-100.0f, 0, 0});
        ASSERT_TRUE(Board(parked));
        if (backward) Press(vk::LeftControl);
        if (throttleFrames > 0) Hold(vk::W, throttleFrames);
        if (brakeLevel > 0) Press(BrakeKey(brakeLevel));
        Press(vk::F);
        ASSERT_EQ(sim::Get(parked).driver, 0);
    }
};

TEST_F(SpeedModel, AStandingTrainWithNoThrottleIsGivenMinusPointZeroFiveNineEitherWay) {
    Start();
    const float standing = static_cast<float>(0.0 - 0.059);
    for (const char* model : {"freight", "metrotrain"}) {
        SCOPED_TRACE(model);
        int train = sim::AddTrain(model, {0, 0, 0});
        ASSERT_TRUE(Board(train));
        EXPECT_EQ(SentThisFrame(train), standing);
        sim::RunFrame();
        EXPECT_EQ(SentThisFrame(train), standing);
        Press(vk::LeftControl);
        ASSERT_EQ(Panel().at(3), "Direction: ~r~Backward");
        EXPECT_EQ(SentThisFrame(train), standing);
        sim::RunFrame();
        EXPECT_EQ(SentThisFrame(train), standing);
        Press(vk::LeftControl);
        Press(vk::F);
    }
}

TEST_F(SpeedModel, BackwardAtTenIsGivenMinusTenPointZeroFiveNine) {
    Start();
    SetControlsOnAParkedTrain(0, 0, /*backward=*/true);
    // Boarded at 10.005 with no throttle: drag alone takes it to 10.
    const float boardedAt = 10.0f + 0.005f;
    ASSERT_EQ(boardedAt - 0.005f, 10.0f);
    int metro = sim::AddTrain("metrotrain", {0, 0, 0}, boardedAt);
    ASSERT_TRUE(Board(metro));
    EXPECT_EQ(SentThisFrame(metro), static_cast<float>(static_cast<double>(-1.0f * 10.0f) - 0.059));
    EXPECT_EQ(SentThisFrame(metro), -10.059f);
}

TEST_F(SpeedModel, FirstFramesOfAFreightTrainWorkedByHand) {
    // Top speed 1: at throttle n the limit is n hundredths.
    Start("[gameplay]\nmax_speed_freight=1\n");
    int freight = sim::AddTrain("freight", {0, 0, 0});
    ASSERT_TRUE(Board(freight));
    sim::KeyDown(vk::W);

    // Throttle 1, limit 0.01: 0 + 0.02 is over it, no step; drag leaves 0.
    sim::RunFrame();
    EXPECT_EQ(SentThisFrame(freight), drive::Sent(0.0f));

    // Throttle 2, limit 2 x 0.01 = 0.02: 0 + 0.02 equals it, which steps.
    ASSERT_EQ((2.0f * 0.01f) * 1.0f, 0.0f + 0.02f);
    float v2 = 0.0f + 0.02f;
    v2 = v2 - 0.004f;
    sim::RunFrame();
    EXPECT_EQ(SentThisFrame(freight), drive::Sent(v2));

    // Throttle 3, limit 0.03: 0.016 + 0.02 = 0.036 is over it, drag only.
    float v3 = v2 - 0.004f;
    sim::RunFrame();
    EXPECT_EQ(SentThisFrame(freight), drive::Sent(v3));

    // Throttle 4, limit 0.04: 0.012 + 0.02 = 0.032 is under it, a step.
    float v4 = v3 + 0.02f;
    v4 = v4 - 0.004f;
    sim::RunFrame();
    EXPECT_EQ(SentThisFrame(freight), drive::Sent(v4));
    sim::KeyUp(vk::W);
}

TEST_F(SpeedModel, FirstFramesOfAMetroTrainWorkedByHand) {
    Start();
    int metro = sim::AddTrain("metrotrain", {0, 0, 0});
    ASSERT_TRUE(Board(metro));
    sim::KeyDown(vk::W);
    // Limits 0.35, 0.70, 1.05 are far above: a full step less drag each frame.
    float v = 0.0f;
    for (int frame = 1; frame <= 3; ++frame) {
        v = v + 0.04f;
        v = v - 0.005f;
        sim::RunFrame();
        EXPECT_EQ(SentThisFrame(metro), drive::Sent(v)) << "frame " << frame;
    }
    sim::KeyUp(vk::W);
    // Throttle held at 3: still far below the limit, still gaining.
    v = v + 0.04f;
    v = v - 0.005f;
    sim::RunFrame();
    EXPECT_EQ(SentThisFrame(metro), drive::Sent(v));
}

TEST_F(SpeedModel, FullThrottleSettlesInsideItsBandAndNeverPassesTheLimitLessDrag) {
    struct Case {
        const char* model;
        float limit;     // top speed from the settings file at full throttle
        float drag;
        float bandDepth; // the lowest the speed dips below the limit, once settled
    };
    const Case cases[] = {{"freight", 5.0f, 0.004f, 0.024f}, {"metrotrain", 10.0f, 0.005f, 0.045f}};
    const double tolerance = 1e-5;  // single-precision rounding at these speeds
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        Restart("[gameplay]\nmax_speed_freight=5\nmax_speed_metro=10\n");
        int train = sim::AddTrain(c.model, {0, 0, 0});
        ASSERT_TRUE(Board(train));

        std::vector<double> speeds;
        auto frame = [&] {
            sim::RunFrame();
            speeds.push_back(SpeedFrom(SentThisFrame(train)));
#ifndef _WIN32
            const float v = PluginGlobal<DriveRecord>("DriveState").speed;
            EXPECT_LE(v, c.limit - c.drag);
            EXPECT_GE(v, 0.0f);
#endif
        };
        sim::KeyDown(vk::W);
        for (int i = 0; i < 100; ++i) frame();
        sim::KeyUp(vk::W);
        ASSERT_EQ(Panel().at(1), "Throttle: 100 %");
        for (int i = 0; i < 700; ++i) frame();

        const double top = static_cast<double>(c.limit) - static_cast<double>(c.drag);
        const double bottom = static_cast<double>(c.limit) - static_cast<double>(c.bandDepth);
        EXPECT_LE(*std::max_element(speeds.begin(), speeds.end()), top + tolerance);
        auto settled = std::find_if(speeds.begin(), speeds.end(), [&](double v) { return v >= bottom - tolerance; });
        ASSERT_NE(settled, speeds.end()) << "never reached the band; last speed " << speeds.back();
        ASSERT_LT(settled - speeds.begin(), 500);
        int rises = 0, falls = 0;
        for (auto it = settled; it != speeds.end(); ++it) {
            ASSERT_GE(*it, bottom - tolerance) << "left the band at frame " << (it - speeds.begin());
            ASSERT_LE(*it, top + tolerance);
            if (it != settled) (*it > *(it - 1) ? rises : falls) += 1;
        }
        EXPECT_GT(rises, 0) << "it keeps hunting the limit";
        EXPECT_GT(falls, 0);
    }
}

// Net change per frame for every model and brake, from a speed of 10 with
// the throttle shut (no step) or wide open (a step every frame).
TEST_F(SpeedModel, EachBrakeLevelTakesItsShareEveryFrame) {
    struct Case {
        const char* model;
        int brake;
        bool throttleOpen;
        float step, brakeValue, drag;
        double net;  // the change per frame, as the driver's manual gives it
    };
    const Case cases[] = {
        {"freight", 0, true, 0.02f, 0.0f, 0.004f, +0.016},    {"freight", 0, false, 0.02f, 0.0f, 0.004f, -0.004},
        {"freight", 1, true, 0.02f, 0.01f, 0.004f, +0.006},   {"freight", 1, false, 0.02f, 0.01f, 0.004f, -0.014},
        {"freight", 2, true, 0.02f, 0.02f, 0.004f, -0.004},   {"freight", 2, false, 0.02f, 0.02f, 0.004f, -0.024},
        {"freight", 3, true, 0.02f, 0.03f, 0.004f, -0.014},   {"freight", 3, false, 0.02f, 0.03f, 0.004f, -0.034},
        {"metrotrain", 0, true, 0.04f, 0.0f, 0.005f, +0.035}, {"metrotrain", 0, false, 0.04f, 0.0f, 0.005f, -0.005},
        {"metrotrain", 1, true, 0.04f, 0.01f, 0.005f, +0.025}, {"metrotrain", 1, false, 0.04f, 0.01f, 0.005f, -0.015},
        {"metrotrain", 2, true, 0.04f, 0.03f, 0.005f, +0.005}, {"metrotrain", 2, false, 0.04f, 0.03f, 0.005f, -0.035},
        {"metrotrain", 3, true, 0.04f, 0.06f, 0.005f, -0.025}, {"metrotrain", 3, false, 0.04f, 0.06f, 0.005f, -0.065},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.model) + " brake " + std::to_string(c.brake) +
                     (c.throttleOpen ? " throttle open" : " throttle shut"));
        Restart();
        SetControlsOnAParkedTrain(c.throttleOpen ? 100 : 0, c.brake);
        int train = sim::AddTrain(c.model, {0, 0, 0}, 10.0f);
        ASSERT_TRUE(Board(train));

        float v = 10.0f;
        for (int frame = 0; frame < 3; ++frame) {
            const float before = v;
            if (c.throttleOpen) v = v + c.step;
            if (c.brake > 0) v = v - c.brakeValue;
            v = v - c.drag;
            if (frame > 0) sim::RunFrame();
            ASSERT_EQ(SentThisFrame(train), drive::Sent(v)) << "frame " << frame;
            EXPECT_NEAR(static_cast<double>(v) - static_cast<double>(before), c.net, 1e-5);
        }
    }
}

TEST_F(SpeedModel, ASpeedAboveTheLimitAtBoardingOnlyDragsDown) {
    Start();
    SetControlsOnAParkedTrain(10, 0);  // metro limit (10 x 0.01) x 35, about 3.5
    int metro = sim::AddTrain("metrotrain", {0, 0, 0}, 20.0f);
    ASSERT_TRUE(Board(metro));
    float v = 20.0f - 0.005f;
    EXPECT_EQ(SentThisFrame(metro), drive::Sent(v));
    for (int frame = 0; frame < 5; ++frame) {
        v = v - 0.005f;
        sim::RunFrame();
        EXPECT_EQ(SentThisFrame(metro), drive::Sent(v));
    }
}

TEST_F(SpeedModel, CoastingWithNoThrottleStopsAtExactlyZeroAndStays) {
    Start();
    int metro = sim::AddTrain("metrotrain", {0, 0, 0}, 0.012f);
    ASSERT_TRUE(Board(metro));
    float v = 0.012f - 0.005f;
    EXPECT_EQ(SentThisFrame(metro), drive::Sent(v));
    v = v - 0.005f;  // about 0.002
    sim::RunFrame();
    EXPECT_EQ(SentThisFrame(metro), drive::Sent(v));
    // 0.002 less 0.005 would be below zero: it stops there.
    for (int frame = 0; frame < 3; ++frame) {
        sim::RunFrame();
        EXPECT_EQ(SentThisFrame(metro), drive::Sent(0.0f));
    }
}

TEST_F(SpeedModel, NoTrainBoardedYetMeansNoSpeedIsSetForAnyTrain) {
    Start();
    int metro = sim::AddTrain("metrotrain", {0, 0, 0}, 3.0f);
    sim::RunFrames(5);
    EXPECT_EQ(sim::Get(metro).applyCount, 0);
}

// Near standstill the two precisions part in the last place: the 0.059
// comes off in double.
TEST_F(SpeedModel, TheStandstillOffsetIsTakenOffInDoublePrecision) {
    Start();
    const float boardedAt = 0x1.89375cp-8f;  // about 0.006
    const float v = boardedAt - 0.005f;      // about 0.001 after one drag
    ASSERT_NE(static_cast<float>(static_cast<double>(v) - 0.059), v - 0.059f);
    int metro = sim::AddTrain("metrotrain", {0, 0, 0}, boardedAt);
    ASSERT_TRUE(Board(metro));
    EXPECT_EQ(SentThisFrame(metro), static_cast<float>(static_cast<double>(v) - 0.059));
}

// Throttle 7 of a top speed of 3: (7 x 0.01) x 3 rounds to 0.21000001,
// 7 x (0.01 x 3) to 0.20999999. A speed 0.02 below the first reaches it
// exactly, and equality steps.
TEST_F(SpeedModel, TheLimitIsThrottleHundredthsTimesTopSpeedInThatOrder) {
    Start("[gameplay]\nmax_speed_freight=3\n");
    SetControlsOnAParkedTrain(7, 0);
    const float limit = (7.0f * 0.01f) * 3.0f;
    ASSERT_NE(limit, 7.0f * (0.01f * 3.0f));
    const float boardedAt = limit - 0.02f;
    ASSERT_EQ(boardedAt + 0.02f, limit);
    int freight = sim::AddTrain("freight", {0, 0, 0}, boardedAt);
    ASSERT_TRUE(Board(freight));
    float v = boardedAt + 0.02f;
    v = v - 0.004f;
    EXPECT_EQ(SentThisFrame(freight), drive::Sent(v));
}
