// The hint on foot: with show_hints=1 a line where the panel shows tells
// the player what F would do where they stand, and why a press did nothing.
#include "driving_story.h"

namespace {

const std::string On = "[gui]\nshow_hints=1\n";
const std::string OnNotRealistic = "[gameplay]\nenter_realistic=0\n[gui]\nshow_hints=1\n";

// The one line drawn on foot this frame, or "".
std::string Hint() {
    const std::vector<std::string> lines = sim::PanelLines();
    return lines.size() == 1 ? lines[0] : lines.empty() ? "" : "more than one line";
}

}  // namespace

class BoardingHint : public DrivingStory {
protected:
    // A standing train at the origin, the player there, then long enough
    // for a look.
    int StandBeside(const char* model, sim::Vec3 at) {
        sim::SetTrainsMove(false);
        const int train = sim::AddTrain(model, {0, 0, 0});
        sim::PlacePlayer(at);
        sim::RunFrames(17);
        return train;
    }
};

// Drawn every frame, looked for at most every 250 ms, never posted.
TEST_F(BoardingHint, OnFootTheLineSaysWhichKeyBoardsOrHowFarTheCabDoorIs) {
    struct Row {
        std::string settings;
        const char* model;
        sim::Vec3 at;  // the metro's cab door is at (-2, 3.25, 1), the freight's at (1.3, 3.5, 1.5)
        const char* line;
    } rows[] = {
        {On, "metrotrain", {-1.5f, 3.25f, 1}, "Press F to drive"},
        {On, "metrotrain", {1, 3.25f, 1}, "Cab door 3.0 m"},
        {On, "freight", {1.3f, 5.9f, 1.5f}, "Cab door 2.4 m"},
        {On, "metrotrain", {4, 3.25f, 1}, ""},
        {OnNotRealistic, "metrotrain", {9.9f, 0, 0}, "Press F to drive"},
        {OnNotRealistic, "metrotrain", {12, 0, 0}, ""},
        {On + "[keys]\nenter_exit=G\n", "metrotrain", {-2, 3.25f, 1}, "Press G to drive"},
        {On + "[keys]\nenter_exit=250\n", "metrotrain", {-2, 3.25f, 1}, "Press key 250 to drive"},
        {On + "[keys]\nenter_exit=300\n", "metrotrain", {-2, 3.25f, 1}, ""},  // a key that never fires
        {"", "metrotrain", {-2, 3.25f, 1}, ""},
        {"[gui]\nshow_hints=0\n", "metrotrain", {-2, 3.25f, 1}, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.settings + row.model + " -> " + row.line);
        Restart(row.settings);
        sim::SetTickGranularity(sim::TickGranularity::Coarse);
        Press(vk::F6);
        StandBeside(row.model, row.at);
        std::vector<uint32_t> looks;
        for (int frame = 0; frame < 100; ++frame) {
            sim::RunFrame();
            ASSERT_EQ(Hint(), row.line) << "frame " << frame;
            if (!sim::CallsTo("ListNearbyVehicles").empty()) looks.push_back(sim::Now());
        }
        const bool on = row.settings.find("show_hints=1") != std::string::npos;
        EXPECT_TRUE(on ? looks.size() >= 5 : looks.empty()) << looks.size() << " looks";
        for (size_t i = 1; i < looks.size(); ++i) EXPECT_GT(looks[i] - looks[i - 1], 250u);
        EXPECT_EQ(sim::ConsoleTextDrawn(), "") << "a look posts nothing";
    }
}

TEST_F(BoardingHint, AfterAPressThatBoardsNothingTheReasonStaysThreeSeconds) {
    struct Row {
        std::string settings;
        const char* first;  // the train listed first, or "" for none
        sim::Vec3 at;
        const char* reason;
        const char* after;
    } rows[] = {
        {On, "", {0, 0, 0}, "No train near", ""},
        {On, "tankercar", {-2.0f, 3.25f, 1.0f}, "This train cannot be driven", ""},
        {On, "metrotrain", {-2.0f, 3.25f, 4.0f}, "Cab door 3.0 m away", "Cab door 3.0 m"},
        {OnNotRealistic, "metrotrain", {12.3f, 0, 0}, "Train 12.3 m away", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.reason);
        Restart(row.settings);
        const int metro = sim::AddTrain("metrotrain", {0, 0, 0});
        sim::SetNearbyList(*row.first ? std::vector<int>{sim::AddTrain(row.first, {}), metro} : std::vector<int>{});
        sim::PlacePlayer(row.at);
        Press(vk::F);
        for (const uint32_t pressed = sim::Now(); sim::Now() - pressed < 3000; sim::RunFrame())
            ASSERT_EQ(Hint(), row.reason) << sim::Now() - pressed << " ms after the press";
        EXPECT_EQ(Hint(), row.after) << "3 s after the press";
    }
}

// Today's press, hints on or off: the same natives in the same order (the
// line drawn aside) and the same console line.
TEST_F(BoardingHint, APressIssuesTheSameNativesAndConsoleLinesWithHintsOnOrOff) {
    auto press = [&](const std::string& settings) {
        Restart(settings);
        Press(vk::F6);
        StandBeside("metrotrain", {-2, 3.25f, 4});
        Press(vk::F);
        std::vector<std::string> seen = drive::CallsAmong({"GetPlayerCharacter", "ListNearbyVehicles", "ModelOfEntity",
            "IsTrainModel", "HashOfName", "OffsetToWorld", "PositionOfEntity", "PlaceEntity", "PutCharacterInSeat"});
        seen.push_back(sim::ConsoleTextDrawn());
        return seen;
    };
    const std::vector<std::string> off = press("");
    EXPECT_EQ(press(On), off);
    EXPECT_EQ(off.back(), "3.000000\n");
}

TEST_F(BoardingHint, WhileDrivingOrWithThePanelHiddenNothingIsLookedForOrDrawn) {
    Start(On);
    const int metro = StandBeside("metrotrain", {-2, 3.25f, 1});
    Press(vk::F);
    size_t looks = 0;
    for (int frame = 0; frame < 100; ++frame, looks += sim::CallsTo("ListNearbyVehicles").size()) sim::RunFrame();
    EXPECT_EQ(looks, 0u);
    for (int press = 0; press < 4; ++press) Press(vk::F5);  // the cycle's fifth state: hidden
    Press(vk::F);
    ASSERT_NE(sim::Get(metro).driver, sim::Player());
    sim::RunFrames(20);
    EXPECT_TRUE(sim::TextsDrawn().empty());
    EXPECT_TRUE(sim::CallsTo("ListNearbyVehicles").empty());
}

// Seated in a car at the cab door, F is the game's: it takes the player
// out of the car. The hint says nothing, and a press boards nothing and
// posts nothing; on foot both work again.
TEST_F(BoardingHint, SeatedInACarTheHintSaysNothingAndFBoardsNothing) {
    for (const std::string& settings : {On, OnNotRealistic}) {
        SCOPED_TRACE(settings);
        Restart(settings);
        Press(vk::F6);
        const int metro = StandBeside("metrotrain", {-2, 3.25f, 1});
        sim::SeatDriver(sim::AddCar("sedan", {-2, 3.25f, 1}), sim::Player());
        sim::RunFrames(17);
        EXPECT_EQ(Hint(), "");
        Press(vk::F);
        EXPECT_NE(sim::Get(metro).driver, sim::Player());
        EXPECT_EQ(Hint(), "");
        EXPECT_EQ(sim::ConsoleTextDrawn(), "");
        sim::PlacePlayer({-2, 3.25f, 1});  // out of the car
        sim::RunFrames(17);
        EXPECT_EQ(Hint(), "Press F to drive");
        Press(vk::F);
        EXPECT_EQ(sim::Get(metro).driver, sim::Player());
    }
}

// The key is named as the player reads it on the keycap; a mouse button,
// which the game never passes to a plug-in, gets no line at all.
TEST_F(BoardingHint, TheLineNamesTheKeyAsItsKeycapReads) {
    const struct {
        const char* binding;
        const char* line;
    } rows[] = {
        {"MENU", "Press Alt to drive"},           {"PRIOR", "Press Page Up to drive"},
        {"CAPITAL", "Press Caps Lock to drive"}, {"RETURN", "Press Enter to drive"},
        {"OEM_3", "Press ` to drive"},            {"OEM_7", "Press ' to drive"},
        {"49", "Press 1 to drive"},               {"F5", "Press F5 to drive"},
        {"LCONTROL", "Press Left Ctrl to drive"}, {"NUMPAD1", "Press Numpad 1 to drive"},
        {"1", ""},                                {"6", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.binding);
        Restart(On + "[keys]\nenter_exit=" + row.binding + "\n");
        StandBeside("metrotrain", {-2, 3.25f, 1});
        EXPECT_EQ(Hint(), row.line);
    }
}
