// The player leaves the driver's seat the game's way, not by F. The drive
// ends by itself, nobody is moved, and the left train runs on.
#include "driving_story.h"

class SeatCheck : public DrivingStory {};

TEST_F(SeatCheck, LeftTheGamesWayTheDriveEndsByItselfAndTheTrainRunsOn) {
    const struct {
        const char* how;
        uint32_t endsAfter;  // ms after the last pass in the seat, at 16 ms a frame
        void (*leave)(int train);
    } rows[] = {{"killed at speed", 528, [](int) { sim::PlacePlayer({30, 40, 0}); }},
                {"another character in the seat", 528, [](int t) { sim::SeatDriver(t, sim::AddCharacter({})); }},
                {"switched to another character", 528, [](int) { sim::SwitchPlayerCharacter(); }},
                {"the train deleted", 16, [](int t) { sim::DeleteEntity(t); }}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.how);
        Restart();
        int metro = sim::AddTrain("metrotrain", {0, 0, 0});
        ASSERT_TRUE(Board(metro));
        Hold(vk::W, 30);
        row.leave(metro);
        std::string throttle = Panel().at(1);
        std::vector<std::string> ends;
        uint32_t left = sim::Now(), endedAfter = 0;
        float sent[2] = {};
        for (int frame = 0; frame < 40; ++frame) {
            sim::KeyDown(vk::W);  // held on foot too
            sim::RunFrame();
            const std::vector<std::string> calls = drive::CallsAmong({"HostBoardingSwitch", "PlaceEntity"});
            ends.insert(ends.end(), calls.begin(), calls.end());
            if (!Panel().empty()) throttle = Panel().at(1);
            if (Panel().empty() && !endedAfter) endedAfter = sim::Now() - left;
            sent[0] = sent[1], sent[1] = SentThisFrame(metro);
        }
        EXPECT_EQ(endedAfter, row.endsAfter);
        EXPECT_EQ(ends, std::vector<std::string>{"HostBoardingSwitch 0"}) << "once, and nobody moved";
        if (row.endsAfter > 16) EXPECT_NEAR(sent[1] - sent[0], 0.035, 1e-4) << "the left train still gains";
        if (row.endsAfter == 16) metro = sim::AddTrain("metrotrain", {50, 0, 0});
        ASSERT_TRUE(Board(metro));
        EXPECT_EQ(Panel().at(1), throttle) << "W on foot changed nothing";
    }
}

// The game may seat the player a frame late, or take them out briefly:
// a pass that finds them in the seat starts the half second over.
TEST_F(SeatCheck, ASeatEmptyForLessThanHalfASecondAtATimeKeepsTheDrive) {
    Start();
    const int metro = sim::AddTrain("metrotrain", {0, 0, 0}), player = sim::Player();
    ASSERT_TRUE(Board(metro));
    for (int time = 0; time < 2; ++time) {
        sim::PlacePlayer({-5, 0, 0});  // from the frame right after boarding on
        sim::RunFrames(19);            // 304 ms
        sim::SeatDriver(metro, player);
        sim::RunFrame();
    }
    EXPECT_EQ(Panel().size(), 4u) << "still driving";
}

// The game's own exit (also on F) takes the player out at the cab door, and
// a press of F comes in the pass where the seat check ends the drive: that
// press left the train, so it does not board it again.
TEST_F(SeatCheck, APressOfFAsTheSeatCheckEndsTheDriveBoardsNothingThen) {
    Start();
    const int metro = sim::AddTrain("metrotrain", {0, 0, 0});
    ASSERT_TRUE(Board(metro));
    sim::PlacePlayer(CabOf(metro));
    sim::RunFrames(32);  // 496 ms of the seat check's 500
    sim::TapKey(vk::F);
    EXPECT_EQ(drive::CallsAmong({"HostBoardingSwitch", "PutCharacterInSeat"}),
              std::vector<std::string>{"HostBoardingSwitch 0"});
    EXPECT_TRUE(Panel().empty());
    EXPECT_TRUE(Board(metro)) << "the next press boards";
}
