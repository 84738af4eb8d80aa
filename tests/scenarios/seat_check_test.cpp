// The player leaves the driver's seat the game's way, not by F: killed,
// pulled out, switched to another character, or the train deleted. The
// drive ends by itself, nobody is moved, and the left train runs on.
#include "driving_story.h"

class SeatCheck : public DrivingStory {};

TEST_F(SeatCheck, LeftTheGamesWayTheDriveEndsWithinHalfASecondAndTheTrainRunsOn) {
    const struct {
        const char* how;
        uint32_t endsAfter;  // ms from the last frame in the seat, at 16 ms a frame
        void (*leave)(int train);
    } rows[] = {
        {"killed at speed", 528, [](int) { sim::PlacePlayer({30, 40, 0}); }},
        {"another character in the seat", 528, [](int train) { sim::SeatDriver(train, sim::AddCharacter({})); }},
        {"switched to another character", 528, [](int) { sim::SwitchPlayerCharacter(); }},
        {"the train deleted", 16, [](int train) { sim::DeleteEntity(train); }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.how);
        Restart();
        int metro = sim::AddTrain("metrotrain", {0, 0, 0});
        ASSERT_TRUE(Board(metro));
        Hold(vk::W, 30);
        row.leave(metro);
        const uint32_t left = sim::Now();
        std::string throttle = Panel().at(1);
        uint32_t endedAfter = 0;
        size_t switches = 0, placed = 0;
        float sent[2] = {};
        for (int frame = 0; frame < 40; ++frame) {
            sim::KeyDown(vk::W);  // the player keeps W held on foot
            sim::RunFrame();
            switches += sim::CallsTo("HostBoardingSwitch").size();
            placed += sim::CallsTo("PlaceEntity").size();
            if (!Panel().empty()) throttle = Panel().at(1);
            if (Panel().empty() && !endedAfter) endedAfter = sim::Now() - left;
            sent[0] = sent[1], sent[1] = SentThisFrame(metro);
        }
        sim::KeyUp(vk::W);
        EXPECT_EQ(endedAfter, row.endsAfter);
        EXPECT_EQ(switches, 1u) << "HostBoardingSwitch(0), once";
        EXPECT_EQ(sim::BoardingSwitch(), 0);
        EXPECT_EQ(placed, 0u) << "nobody is moved";
        if (row.endsAfter > 16) EXPECT_NEAR(sent[1] - sent[0], 0.035, 1e-4) << "the left train still gains";
        if (row.endsAfter == 16) metro = sim::AddTrain("metrotrain", {50, 0, 0});
        ASSERT_TRUE(Board(metro));
        EXPECT_EQ(Panel().at(1), throttle) << "W on foot changed nothing";
    }
}

// The game may seat the player a frame late, or take them out briefly:
// each pass that finds them in the seat starts the half second over.
TEST_F(SeatCheck, ASeatEmptyForLessThanHalfASecondAtATimeKeepsTheDrive) {
    Start();
    const int metro = sim::AddTrain("metrotrain", {0, 0, 0});
    ASSERT_TRUE(Board(metro));
    const int player = sim::Player();
    for (int time = 0; time < 2; ++time) {
        sim::PlacePlayer({-5, 0, 0});  // from the frame right after boarding on
        sim::RunFrames(19);            // 304 ms
        sim::SeatDriver(metro, player);
        sim::RunFrame();
    }
    EXPECT_EQ(Panel().size(), 4u) << "still driving";
    EXPECT_EQ(sim::BoardingSwitch(), 1);
}
