// The game's own controls on our keys: while the player drives, F5, the
// console key, F and Alt are Velquorin's alone; on foot the game keeps
// every key but F where the hint says it boards.
#include <filesystem>
#include <fstream>
#include <iterator>

#include "driving_story.h"

namespace {

constexpr uint32_t O = 79;
constexpr int HeadlightsOnH = 74, HornOnE = 86, WheelOnLeftAlt = 19, LeaveOnF = 75, FirstCharacterOnF5 = 166,
              SecondCharacterOnF6 = 167;

// The shipped Velquorin.ini, byte for byte.
std::string Shipped() {
    std::ifstream in(std::filesystem::path(VELQUORIN_SOURCE_DIR) / "Velquorin.ini", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

class GameControls : public DrivingStory {
protected:
    int metro = 0, character = 0;

    // The shipped file, a standing metro train, the player in its seat.
    void DriveWithShippedKeys() {
        Start(Shipped());
        sim::SetTrainsMove(false);
        metro = sim::AddTrain("metrotrain", {0, 0, 0});
        ASSERT_TRUE(Board(metro));
        character = sim::Player();
    }
    bool StillDrivingAsTheSameCharacter() {
        return sim::Player() == character && sim::Get(metro).driver == character && Panel().size() == 4;
    }
    void ExpectTheGameDidNothing() {
        EXPECT_FALSE(sim::GameReacted().switchedCharacter);
        EXPECT_FALSE(sim::GameReacted().ownExit);
        EXPECT_FALSE(sim::GameReacted().wheelShown);
    }
};

TEST_F(GameControls, DrivingF5MovesThePanelAndTheCharacterStays) {
    ASSERT_NO_FATAL_FAILURE(DriveWithShippedKeys());
    const float x = drive::PanelBox()->x;
    Press(vk::F5);
    ExpectTheGameDidNothing();
    sim::RunFrames(40);
    ASSERT_TRUE(StillDrivingAsTheSameCharacter());
    EXPECT_NE(drive::PanelBox()->x, x) << "the panel moved";
}

TEST_F(GameControls, DrivingTheConsoleKeyOpensTheConsoleAndTheCharacterStays) {
    ASSERT_NO_FATAL_FAILURE(DriveWithShippedKeys());
    Press(O);
    ExpectTheGameDidNothing();
    sim::RunFrames(40);
    EXPECT_TRUE(StillDrivingAsTheSameCharacter());
    EXPECT_TRUE(sim::ConsoleDrawn());
}

// With no toggle_console the console stays on F6, and F6 is taken too.
TEST_F(GameControls, WithoutToggleConsoleF6OpensTheConsoleAsItAlwaysDid) {
    Start();
    metro = sim::AddTrain("metrotrain", {0, 0, 0});
    ASSERT_TRUE(Board(metro));
    character = sim::Player();
    Press(vk::F6);
    ExpectTheGameDidNothing();
    sim::RunFrames(40);
    EXPECT_TRUE(StillDrivingAsTheSameCharacter());
    EXPECT_TRUE(sim::ConsoleDrawn());
}

TEST_F(GameControls, DrivingFLeavesByOurRuleAndTheGamesOwnLeaveDoesNotRun) {
    ASSERT_NO_FATAL_FAILURE(DriveWithShippedKeys());
    Press(vk::F);
    ExpectTheGameDidNothing();
    const std::vector<std::string> placed = drive::CallsAmong({"PlaceEntity"});
    ASSERT_EQ(placed.size(), 1u);
    EXPECT_EQ(placed[0], "PlaceEntity " + std::to_string(character) + " -2 3.25 1 0 0 0 0") << "the exit point";
    const sim::Vec3 at = sim::Get(character).position;
    EXPECT_TRUE(at.x == -2.0f && at.y == 3.25f && at.z == 1.0f);
    EXPECT_EQ(sim::Get(character).seatedIn, 0);
}

TEST_F(GameControls, DrivingAltAndIReloadWithoutTheWheel) {
    ASSERT_NO_FATAL_FAILURE(DriveWithShippedKeys());
    for (int press = 0; press < 3; ++press) {
        PressReloadChord();
        ExpectTheGameDidNothing();
        EXPECT_FALSE(sim::ProfileCalls().empty()) << "read again";
    }
    EXPECT_TRUE(StillDrivingAsTheSameCharacter());
}

TEST_F(GameControls, OnFootAwayFromTrainsNoPassTakesAnything) {
    Start(Shipped());
    sim::AddTrain("metrotrain", {0, 0, 0});
    sim::PlacePlayer({40, 0, 0});
    for (uint32_t key : {vk::F, vk::W, vk::F5, O}) {
        Press(key);
        sim::RunFrames(20);  // looks, lines, all of it
        EXPECT_TRUE(sim::CallsTo("DISABLE_CONTROL_ACTION").empty());
    }
}

TEST_F(GameControls, AtTheCabDoorWithACarWithinReachFSeatsThePlayerInTheTrain) {
    Start(Shipped());
    metro = sim::AddTrain("metrotrain", {0, 0, 0});
    const int car = sim::AddCar("hatchback", drive::Plus(CabOf(metro), {-2, 0, 0}));
    sim::SetNearbyList({metro});
    sim::PlacePlayer(CabOf(metro));
    sim::RunFrames(20);  // the hint has looked: "Press F to drive"
    Press(vk::F);
    EXPECT_FALSE(sim::GameReacted().enteredCar);
    EXPECT_EQ(sim::Get(metro).driver, sim::Player());
    EXPECT_EQ(sim::Get(car).driver, 0) << "the car stays empty";
}

// Each binding takes the controls on the keys that fire it: a generic
// modifier both sides, a navigation code also its keypad key with NumLock
// off, a keypad code only its own key, a binding of 0 nothing.
TEST_F(GameControls, ADrivingPassTakesTheControlsOnTheKeysThatFireABinding) {
    const struct {
        const char* settings;  // nullptr: the shipped file
        int control;
        bool taken;
    } rows[] = {
        {nullptr, LeaveOnF, true},
        {nullptr, FirstCharacterOnF5, true},
        {nullptr, WheelOnLeftAlt, true},
        {nullptr, SecondCharacterOnF6, false},
        {"", SecondCharacterOnF6, true},
        {nullptr, HornOnE, false},
        {nullptr, HeadlightsOnH, false},
        {"[keys]\nreload_ini_file_modifier=RMENU\n", WheelOnLeftAlt, false},
        {"[keys]\nopen_left_doors=HOME\n", 117, true},     // on NUMPAD 7
        {"[keys]\nopen_left_doors=NUMPAD7\n", 212, false},  // on HOME
        {"[keys]\ntoggle_gui_position=0\n", FirstCharacterOnF5, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.settings ? row.settings : "shipped") + ", control " + std::to_string(row.control));
        Restart(row.settings ? row.settings : Shipped());
        metro = sim::AddTrain("metrotrain", {0, 0, 0});
        ASSERT_TRUE(Board(metro));
        sim::RunFrame();
        EXPECT_EQ(sim::ControlDisabled(row.control), row.taken);
    }
}
