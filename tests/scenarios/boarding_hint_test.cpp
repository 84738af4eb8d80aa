// The hint on foot: with show_hints=1 a line where the panel shows tells
// the player what F would do where they stand, and why a press did nothing.
#include <cstring>

#include "driving_story.h"

namespace {

const std::string HintsOn = "[gui]\nshow_hints=1\n";
const std::string HintsOnNotRealistic = "[gameplay]\nenter_realistic=0\n[gui]\nshow_hints=1\n";

// The one line drawn on foot this frame, or "".
std::string Hint() {
    const std::vector<std::string> lines = sim::PanelLines();
    EXPECT_LE(lines.size(), 1u) << "on foot the hint is one line";
    return lines.empty() ? "" : lines[0];
}

bool IsDrawing(const sim::NativeCall& call) {
    return std::strncmp(call.name, "Text", 4) == 0 || std::strcmp(call.name, "BeginTextEntry") == 0 ||
           std::strcmp(call.name, "AddTextString") == 0 || std::strcmp(call.name, "EndTextDraw") == 0 ||
           std::strcmp(call.name, "DrawScreenRect") == 0;
}

}  // namespace

class BoardingHint : public DrivingStory {
protected:
    // A train at the origin, the only one listed near, and the player at an
    // offset from its cab door (or from its origin).
    int StandBeside(const char* model, sim::Vec3 offset, bool fromCab = true) {
        sim::SetTrainsMove(false);
        const int train = sim::AddTrain(model, {0, 0, 0});
        sim::SetNearbyList({train});
        sim::PlacePlayer(drive::Plus(fromCab ? CabOf(train) : sim::Vec3{}, offset));
        return train;
    }
    // The last look was made before the player stood here: the next comes
    // in the first frame more than 250 ms after it.
    void LetALookPass() { sim::RunFrames(16); }
};

TEST_F(BoardingHint, AtTheCabDoorTheLineNamesFEveryFrameAndFBoards) {
    Start(HintsOn);
    const int metro = StandBeside("metrotrain", {0.5f, 0, 0});
    LetALookPass();
    for (int frame = 0; frame < 60; ++frame, sim::RunFrame()) EXPECT_EQ(Hint(), "Press F to drive") << frame;
    Press(vk::F);
    EXPECT_EQ(sim::Get(metro).driver, sim::Player());
    size_t looks = 0;
    for (int frame = 0; frame < 100; ++frame) {
        sim::RunFrame();
        looks += sim::CallsTo("ListNearbyVehicles").size();
    }
    EXPECT_EQ(looks, 0u) << "no look while driving";
    EXPECT_EQ(Panel().size(), 4u) << "the panel, not the hint";
}

TEST_F(BoardingHint, OnFootTheLineSaysHowFarTheCabDoorIsOrWhichKeyBoards) {
    struct Row {
        std::string settings;
        const char* model;
        sim::Vec3 offset;
        bool fromCab;
        const char* line;
    } rows[] = {
        {HintsOn, "metrotrain", {3.0f, 0, 0}, true, "Cab door 3.0 m"},
        {HintsOn, "freight", {0, 2.4f, 0}, true, "Cab door 2.4 m"},
        {HintsOn, "metrotrain", {6.0f, 0, 0}, true, ""},
        {HintsOnNotRealistic, "metrotrain", {9.9f, 0, 0}, false, "Press F to drive"},
        {HintsOnNotRealistic, "metrotrain", {12.0f, 0, 0}, false, ""},
        {HintsOn + "[keys]\nenter_exit=G\n", "metrotrain", {0, 0, 0}, true, "Press G to drive"},
        {HintsOn + "[keys]\nenter_exit=250\n", "metrotrain", {0, 0, 0}, true, "Press key 250 to drive"},
        {HintsOn + "[keys]\nenter_exit=300\n", "metrotrain", {0, 0, 0}, true, ""},  // a key that never fires
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.settings + row.model + " -> " + row.line);
        Restart(row.settings);
        StandBeside(row.model, row.offset, row.fromCab);
        LetALookPass();
        EXPECT_EQ(Hint(), row.line);
    }
}

TEST_F(BoardingHint, AfterAPressThatBoardsNothingTheReasonStaysThreeSeconds) {
    struct Row {
        std::string settings;
        const char* first;  // the train listed first, or "" for none
        sim::Vec3 fromOrigin;
        const char* reason;
        const char* after;
    } rows[] = {
        {HintsOn, "", {0, 0, 0}, "No train near", ""},
        {HintsOn, "tankercar", {-2.0f, 3.25f, 1.0f}, "This train cannot be driven", ""},
        {HintsOn, "metrotrain", {-2.0f, 3.25f, 4.0f}, "Cab door 3.0 m away", "Cab door 3.0 m"},
        {HintsOnNotRealistic, "metrotrain", {12.3f, 0, 0}, "Train 12.3 m away", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.reason);
        Restart(row.settings);
        sim::SetTrainsMove(false);
        const int metro = sim::AddTrain("metrotrain", {0, 0, 0});
        sim::SetNearbyList(*row.first ? std::vector<int>{sim::AddTrain(row.first, {0, 0, 0}), metro} : std::vector<int>{});
        sim::PlacePlayer(row.fromOrigin);
        Press(vk::F);
        const uint32_t pressed = sim::Now();
        EXPECT_EQ(Hint(), row.reason);
        while (sim::Now() + 16 - pressed < 3000) {
            sim::RunFrame();
            ASSERT_EQ(Hint(), row.reason) << sim::Now() - pressed << " ms after the press";
        }
        sim::RunFrame();
        EXPECT_EQ(Hint(), row.after) << "3 s after the press";
    }
}

// The press is today's press: the same natives in the same order (the
// line's drawing aside) and the same console lines, hints on or off.
TEST_F(BoardingHint, APressIssuesTheSameNativesAndConsoleLinesWithHintsOnOrOff) {
    auto press = [&](const std::string& settings) {
        Restart(settings);
        Press(vk::F6);
        StandBeside("metrotrain", {0, 0, 3.0f});
        sim::RunFrames(20);
        Press(vk::F);
        std::vector<std::string> calls;
        for (const sim::NativeCall& call : sim::Trace())
            if (!IsDrawing(call)) calls.push_back(drive::Describe(call));
        return std::make_pair(calls, sim::ConsoleTextDrawn());
    };
    const auto off = press("");
    EXPECT_EQ(press(HintsOn), off);
    EXPECT_EQ(off.second, "3.000000\n");
}

TEST_F(BoardingHint, LooksAtMostFiveTimesInAnyOneAndAQuarterSecondsAndPostNothing) {
    Start(HintsOn);
    sim::SetTickGranularity(sim::TickGranularity::Coarse);
    Press(vk::F6);
    StandBeside("metrotrain", {3.0f, 0, 0});
    LetALookPass();
    std::vector<uint32_t> looks;
    for (int frame = 0; frame < 300; ++frame) {
        sim::RunFrame();
        if (!sim::CallsTo("ListNearbyVehicles").empty()) looks.push_back(sim::Now());
        ASSERT_EQ(Hint(), "Cab door 3.0 m");
    }
    EXPECT_GE(looks.size(), 17u) << "a look every quarter second or so";
    for (size_t i = 5; i < looks.size(); ++i) EXPECT_GT(looks[i] - looks[i - 5], 1250u) << "look " << i;
    ASSERT_TRUE(sim::ConsoleDrawn());
    EXPECT_EQ(sim::ConsoleTextDrawn(), "");
}

TEST_F(BoardingHint, HintsOffOrAHiddenPanelLookForNothingAndDrawNothing) {
    for (const std::string& settings : {std::string(), std::string("[gui]\nshow_hints=0\n")}) {
        Restart(settings);
        StandBeside("metrotrain", {0, 0, 0});
        size_t natives = 0;
        for (int frame = 0; frame < 40; ++frame, sim::RunFrame()) natives += sim::Trace().size();
        EXPECT_EQ(natives, 0u);
    }
    Restart(HintsOn);
    const int metro = StandBeside("metrotrain", {0, 0, 0});
    Press(vk::F);
    for (int press = 0; press < 4; ++press) Press(vk::F5);  // the cycle's fifth state: hidden
    Press(vk::F);
    ASSERT_NE(sim::Get(metro).driver, sim::Player());
    sim::RunFrames(20);
    EXPECT_TRUE(sim::TextsDrawn().empty());
    EXPECT_TRUE(sim::CallsTo("ListNearbyVehicles").empty());
}
