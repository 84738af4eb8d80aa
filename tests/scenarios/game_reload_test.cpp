// The game reloads (a save loaded) while the plug-in stays: the script
// starts again on a new fiber, the old session's handles name nothing, and
// the game hands the same numbers out again.
#include "driving_story.h"

namespace {

// True when a call of this frame passed the handle as an entity argument.
bool AnyCallNames(int handle) {
    for (const sim::NativeCall& call : sim::Trace())
        if (!call.args.empty() && call.ArgInt(0) == handle) return true;
    return false;
}

}  // namespace

class GameReload : public DrivingStory {
protected:
    void SetUp() override {
        DrivingStory::SetUp();
        sim::SetTickGranularity(sim::TickGranularity::Coarse);
    }
};

TEST_F(GameReload, WhileDrivingAtSpeedEndsTheDriveAndKeepsTheThrottleAndTheConsole) {
    Start(FourPresets);
    const int oldTrain = sim::AddTrain("metrotrain", {0, 0, 0});
    ASSERT_TRUE(Board(oldTrain));  // the console holds the distance to its cab, twice
    Press(vk::F6);
    Press(vk::F5);  // the panel at preset 1
    Hold(vk::W, 30);
    sim::RunFrames(20);
    ASSERT_GT(sim::Get(oldTrain).speed, 0.0f);
    const std::string console = sim::ConsoleTextDrawn();

    sim::ReloadGame();
    const int newTrain = sim::AddTrain("freight", {0, 500, 0});  // a stranger's, under the old number
    ASSERT_EQ(newTrain, oldTrain);
    sim::RunFrame();
    EXPECT_TRUE(Panel().empty()) << "no panel on foot";
    EXPECT_FALSE(AnyCallNames(oldTrain)) << "no native to the old handle";
    EXPECT_EQ(sim::CallsTo("HostBoardingSwitch").size(), 1u);
    EXPECT_EQ(sim::BoardingSwitch(), 0);
    EXPECT_FALSE(sim::ProfileCalls().empty()) << "the settings are read as at the first start";
    EXPECT_EQ(sim::ConsoleTextDrawn(), console);
    Hold(vk::W, 10);
    sim::RunFrames(30);
    EXPECT_EQ(sim::Get(newTrain).applyCount, 0) << "the stranger's train is never driven";
    EXPECT_EQ(sim::Get(newTrain).driver, 0);

    ASSERT_TRUE(Board(newTrain)) << "F beside the new train boards it";
    EXPECT_EQ(Panel().at(1), "Throttle:  30 %") << "W on foot changed nothing";
    ASSERT_NE(drive::PanelBox(), nullptr);
    EXPECT_EQ(drive::PanelBox()->x, 0.1f) << "the panel starts at preset 0 again";
    Press(vk::F5);
    EXPECT_EQ(drive::PanelBox()->x, 0.5f) << "and its slot, 1, was kept: next is preset 2";
}

TEST_F(GameReload, AfterLeavingSendsNothingAndNoLongerDrivesTheLeftTrain) {
    Start();
    const int oldTrain = sim::AddTrain("metrotrain", {0, 0, 0});
    ASSERT_TRUE(Board(oldTrain));
    Hold(vk::W, 10);
    Press(vk::F);
    sim::RunFrame();
    ASSERT_FALSE(sim::CallsTo("ApplyTrainSpeed").empty()) << "the left train is still driven";

    sim::ReloadGame();
    sim::AddTrain("metrotrain", {0, 0, 0});
    sim::RunFrames(2);
    EXPECT_TRUE(sim::CallsTo("HostBoardingSwitch").empty());
    EXPECT_TRUE(sim::CallsTo("ApplyTrainSpeed").empty());
    EXPECT_EQ(sim::Get(oldTrain).applyCount, 0);
}

// The player leaves the seat without the plug-in: pulled out, or switched
// to another character. F then ends the drive where the player stands.
TEST_F(GameReload, FAfterThePlayerLeftTheSeatEndsTheDriveWithoutMovingThem) {
    const struct {
        const char* how;
        void (*leaveTheSeat)();
    } rows[] = {
        {"pulled out", [] { sim::PlacePlayer({30, 40, 0}); }},
        {"switched to another character", [] { sim::SwitchPlayerCharacter(); }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.how);
        Restart();
        const int train = sim::AddTrain("freight", {0, 0, 0});
        ASSERT_TRUE(Board(train));
        row.leaveTheSeat();
        Press(vk::F);
        EXPECT_EQ(drive::CallsAmong({"OccupantOfSeat", "PlaceEntity", "HostBoardingSwitch"}),
                  (std::vector<std::string>{"OccupantOfSeat " + std::to_string(train) + " -1 0",  // the seat check
                                            "OccupantOfSeat " + std::to_string(train) + " -1 0",  // F
                                            "HostBoardingSwitch 0"}));
        EXPECT_TRUE(Panel().empty()) << "the drive ended";
        EXPECT_TRUE(Board(train)) << "and the next F boards again";
    }
}
