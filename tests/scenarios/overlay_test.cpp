// The overlay as the host receives it: every drawing native of the driver
// panel and the debug console, with its arguments, in order.
#include <cfloat>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "story.h"

namespace {

uint64_t Bits(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}
uint64_t Int(int value) { return static_cast<uint32_t>(value); }

std::vector<sim::NativeCall> DrawCalls() {
    static const std::set<std::string> drawing = {"DrawScreenRect", "TextFont",       "TextScale",
                                                  "TextColour",     "TextCentre",     "TextDropShadow",
                                                  "TextEdge",       "BeginTextEntry", "AddTextString",
                                                  "EndTextDraw"};
    std::vector<sim::NativeCall> calls;
    for (const sim::NativeCall& call : sim::Trace())
        if (drawing.count(call.name)) calls.push_back(call);
    return calls;
}

struct Text {
    std::string text;
    float x, y, scale;
    int alpha;
};
struct Box {
    float x, y, width, height;
    int alpha;
};

// One native as the host must see it; a pointer argument by what it points to.
struct Call {
    std::string name;
    uint64_t hash;
    std::vector<uint64_t> args;
    bool pointsToText = false;
    std::string text;
};

// The frame's drawing natives as they should come, built box by box and line by line.
struct Drawing {
    std::vector<Call> calls;

    Drawing& box(const Box& b) {
        calls.push_back({"DrawScreenRect",
                         0x3A618A217E5154F0ull,
                         {Bits(b.x), Bits(b.y), Bits(b.width), Bits(b.height), 0, 0, 0, Int(b.alpha), 0},
                         false,
                         ""});
        return *this;
    }
    Drawing& text(const Text& t) {
        calls.push_back({"TextFont", 0x66E0276CC5F6B9DAull, {0}, false, ""});
        calls.push_back({"TextScale", 0x07C837F9A01C34C9ull, {Bits(0.0f), Bits(t.scale)}, false, ""});
        calls.push_back({"TextColour", 0xBE6B23FFA53FB442ull, {255, 255, 255, Int(t.alpha)}, false, ""});
        calls.push_back({"TextCentre", 0xC02F4DBFB51D988Bull, {0}, false, ""});
        calls.push_back({"TextDropShadow", 0x465C84BC39F1C351ull, {1, 1, 1, 1, 1}, false, ""});
        calls.push_back({"TextEdge", 0x441603240D202FA6ull, {0, 0, 0, 0, 0}, false, ""});
        calls.push_back({"BeginTextEntry", 0x25FBB336DF1804CBull, {}, true, "STRING"});
        calls.push_back({"AddTextString", 0x6C188BE134E074AAull, {}, true, t.text});
        calls.push_back({"EndTextDraw", 0xCD015E5BB0D96A57ull, {Bits(t.x), Bits(t.y), 0}, false, ""});
        return *this;
    }
};

void ExpectDrawn(const Drawing& want) {
    std::vector<sim::NativeCall> got = DrawCalls();
    ASSERT_EQ(got.size(), want.calls.size()) << "drawing natives this frame";
    for (size_t i = 0; i < got.size(); ++i) {
        const Call& w = want.calls[i];
        SCOPED_TRACE("call " + std::to_string(i) + ", " + w.name);
        EXPECT_EQ(got[i].name, w.name);
        EXPECT_EQ(got[i].hash, w.hash);
        if (w.pointsToText) {
            ASSERT_EQ(got[i].args.size(), 1u);
            EXPECT_NE(got[i].args[0], 0u);
            EXPECT_EQ(got[i].text, w.text);
        } else {
            EXPECT_EQ(got[i].args, w.args);
        }
    }
}

// Where the panel's lines go for an anchor, worked in double precision.
float At(float anchor, double offset) { return static_cast<float>(static_cast<double>(anchor) + offset); }

Drawing Panel(float x, float y, const std::vector<std::string>& lines, int boxAlpha = 255, int textAlpha = 255) {
    Drawing d;
    d.box({x, y, 0.12f, 0.12f, boxAlpha});
    const double offsets[] = {-0.05, -0.025, 0.0, 0.025};
    for (size_t i = 0; i < lines.size(); ++i) d.text({lines[i], At(x, -0.05), At(y, offsets[i]), 0.3f, textAlpha});
    return d;
}

Drawing Console(const std::string& text) {
    Drawing d;
    d.box({0.89f, 0.16f, 0.2f, 0.3f, 150});
    d.text({"Console:", 0.8f, 0.02f, 0.4f, 255});
    d.text({text, 0.8f, 0.05f, 0.3f, 255});
    return d;
}

Drawing operator+(Drawing a, const Drawing& b) {
    a.calls.insert(a.calls.end(), b.calls.begin(), b.calls.end());
    return a;
}

const char* const Released = "Brake: ~g~[L] [M] [H]";
const char* const Forward = "Direction: ~g~Forward";

class Overlay : public Story {
protected:
    void BoardMetroTrain(float speed = 0.0f) {
        sim::AddTrain("metrotrain", {0, 0, 0}, speed);
        sim::PlacePlayer({-2.0f, 3.25f, 1.0f});
        Press(vk::F);
        ASSERT_FALSE(sim::PanelLines().empty()) << "not boarded";
    }
    // Tries to board from `distance` above the cab door: posts the distance.
    void TryToBoardFrom(float distance) {
        sim::PlacePlayer({-2.0f, 3.25f, 1.0f + distance});
        Press(vk::F);
    }
};

}  // namespace

// ---------------------------------------------------------------------------
// The debug console

TEST_F(Overlay, TheConsoleWithNothingPostedIsItsBoxHeadingAndAnEmptyLine) {
    StartPlugin();
    Press(vk::F6);
    ExpectDrawn(Console(""));
    sim::RunFrame();
    ExpectDrawn(Console(""));  // drawn anew every frame, not driving
    Press(vk::F6);
    EXPECT_TRUE(sim::Trace().empty());
}

TEST_F(Overlay, PostsComeNewestFirstEachEndingInALineFeed) {
    StartPlugin();
    sim::AddTrain("metrotrain", {0, 0, 0});
    TryToBoardFrom(2.5f);
    TryToBoardFrom(1.5f);
    TryToBoardFrom(0.25f);  // close enough: posted again once seated
    Press(vk::F6);
    EXPECT_EQ(sim::ConsoleTextDrawn(), "0.250000\n0.250000\n1.500000\n2.500000\n");
}

TEST_F(Overlay, HidingTheConsoleOrLeavingTheTrainKeepsItsText) {
    StartPlugin();
    sim::AddTrain("metrotrain", {0, 0, 0});
    TryToBoardFrom(0.5f);
    Press(vk::F6);
    Press(vk::F6);
    Press(vk::F);  // leave
    Press(vk::F6);
    EXPECT_EQ(sim::ConsoleTextDrawn(), "0.500000\n0.500000\n");
    EXPECT_TRUE(sim::PanelLines().empty());
}

TEST_F(Overlay, ALongConsoleTextReachesTheHostWhole) {
    StartPlugin();
    sim::AddTrain("metrotrain", {0, 0, 0});
    std::string expected;
    for (int attempt = 0; attempt < 1000; ++attempt) {
        TryToBoardFrom(2.5f);
        expected += "2.500000\n";
    }
    Press(vk::F6);
    ExpectDrawn(Console(expected));
    ASSERT_EQ(sim::CallsTo("AddTextString").size(), 2u);
    EXPECT_EQ(sim::CallsTo("AddTextString")[1].text.size(), 9000u);
}

// ---------------------------------------------------------------------------
// The driver panel

TEST_F(Overlay, AStandingTrainShowsItsFourLinesAroundTheAnchor) {
    StartPlugin("[gui]\ngui_position_x_0=0.5\ngui_position_y_0=0.5\n");
    BoardMetroTrain();
    ExpectDrawn(Panel(0.5f, 0.5f, {"Speed:   0 km/h", "Throttle:   0 %", Released, Forward}));
    sim::RunFrame();
    ExpectDrawn(Panel(0.5f, 0.5f, {"Speed:   0 km/h", "Throttle:   0 %", Released, Forward}));
}

TEST_F(Overlay, EveryLineIsPlacedInDoublePrecisionFromTheFloatAnchor) {
    // Anchors where working in float would land some lines one step away.
    struct Row {
        const char* x;
        const char* y;
        float fx, fy;
    } rows[] = {{"0.123", "0.035", 0.123f, 0.035f}, {"0.123", "0.024", 0.123f, 0.024f}};
    bool floatWouldDiffer[3] = {false, false, false};
    for (const Row& row : rows) {
        sim::Reset();
        StartPlugin(std::string("[gui]\ngui_position_x_0=") + row.x + "\ngui_position_y_0=" + row.y + "\n");
        BoardMetroTrain();
        const std::vector<sim::DrawnText>& texts = sim::TextsDrawn();
        ASSERT_EQ(texts.size(), 4u);
        const double offsets[] = {-0.05, -0.025, 0.0, 0.025};
        for (size_t i = 0; i < 4; ++i) {
            EXPECT_EQ(texts[i].x, static_cast<float>(static_cast<double>(row.fx) - 0.05)) << texts[i].text;
            EXPECT_EQ(texts[i].y, static_cast<float>(static_cast<double>(row.fy) + offsets[i])) << texts[i].text;
        }
        EXPECT_EQ(texts[2].y, row.fy) << "the brake line sits on the anchor";
        floatWouldDiffer[0] |= row.fx - 0.05f != static_cast<float>(static_cast<double>(row.fx) - 0.05);
        floatWouldDiffer[1] |= row.fy - 0.025f != static_cast<float>(static_cast<double>(row.fy) - 0.025);
        floatWouldDiffer[2] |= row.fy + 0.025f != static_cast<float>(static_cast<double>(row.fy) + 0.025);
    }
    EXPECT_TRUE(floatWouldDiffer[0] && floatWouldDiffer[1] && floatWouldDiffer[2]) << "anchors no longer discriminate";
}

TEST_F(Overlay, TheThrottleFillsAThreeCharacterField) {
    StartPlugin();
    BoardMetroTrain();
    sim::KeyDown(vk::W);
    sim::RunFrames(5);
    EXPECT_EQ(sim::PanelLines().at(1), "Throttle:   5 %");
    sim::RunFrames(5);
    EXPECT_EQ(sim::PanelLines().at(1), "Throttle:  10 %");
    sim::RunFrames(95);
    EXPECT_EQ(sim::PanelLines().at(1), "Throttle: 100 %");
}

TEST_F(Overlay, EachBrakeLevelHasItsLine) {
    StartPlugin();
    BoardMetroTrain();
    EXPECT_EQ(sim::PanelLines().at(2), "Brake: ~g~[L] [M] [H]");
    Press(vk::J);
    EXPECT_EQ(sim::PanelLines().at(2), "Brake: ~r~[L] ~g~[M] [H]");
    Press(vk::K);
    EXPECT_EQ(sim::PanelLines().at(2), "Brake: ~g~[L] ~r~[M] ~g~[H]");
    Press(vk::L);
    EXPECT_EQ(sim::PanelLines().at(2), "Brake: ~g~[L] ~g~[M] ~r~[H]");
    Press(vk::L);
    EXPECT_EQ(sim::PanelLines().at(2), "Brake: ~g~[L] [M] [H]");
}

TEST_F(Overlay, BackwardIsShownInRed) {
    StartPlugin();
    BoardMetroTrain();
    Press(vk::LeftControl);
    ExpectDrawn(Panel(0.0f, 0.0f, {"Speed:   0 km/h", "Throttle:   0 %", Released, "Direction: ~r~Backward"}));
    Press(vk::LeftControl);
    EXPECT_EQ(sim::PanelLines().at(3), Forward);
}

TEST_F(Overlay, TenMetresASecondShowAs36KmhOr22Mph) {
    StartPlugin();
    BoardMetroTrain(10.0f);
    EXPECT_EQ(sim::PanelLines().at(0), "Speed:  36 km/h");
    sim::Reset();
    StartPlugin("[gameplay]\nuse_metric_system=0\n");
    BoardMetroTrain(10.0f);
    EXPECT_EQ(sim::PanelLines().at(0), "Speed:  22 mph");
}

TEST_F(Overlay, AnOpacityOfZeroHidesOnlyItsPart) {
    StartPlugin("[gui]\nbackground_opacity=0\n");
    BoardMetroTrain();
    ExpectDrawn(Panel(0.0f, 0.0f, {"Speed:   0 km/h", "Throttle:   0 %", Released, Forward}, 0, 255));
    sim::Reset();
    StartPlugin("[gui]\ntext_opacity=0\n");
    BoardMetroTrain();
    ExpectDrawn(Panel(0.0f, 0.0f, {"Speed:   0 km/h", "Throttle:   0 %", Released, Forward}, 255, 0));
}

TEST_F(Overlay, ThePanelKeyCyclesFourPresetsThenHiddenThenBack) {
    StartPlugin(FourPresets);
    BoardMetroTrain();
    const std::vector<std::string> lines = {"Speed:   0 km/h", "Throttle:   0 %", Released, Forward};
    ExpectDrawn(Panel(0.1f, 0.15f, lines));
    Press(vk::F5);
    ExpectDrawn(Panel(0.3f, 0.35f, lines));
    Press(vk::F5);
    ExpectDrawn(Panel(0.5f, 0.55f, lines));
    Press(vk::F5);
    ExpectDrawn(Panel(0.7f, 0.75f, lines));
    Press(vk::F5);
    EXPECT_TRUE(DrawCalls().empty()) << "hidden";
    sim::RunFrames(3);
    EXPECT_TRUE(DrawCalls().empty()) << "hidden";
    Press(vk::F5);
    ExpectDrawn(Panel(0.1f, 0.15f, lines));
    Press(vk::F5);
    ExpectDrawn(Panel(0.3f, 0.35f, lines));
}

TEST_F(Overlay, AHiddenPanelStaysHiddenAcrossLeavingAndBoarding) {
    StartPlugin(FourPresets);
    BoardMetroTrain();
    for (int press = 0; press < 4; ++press) Press(vk::F5);
    Press(vk::F);  // leave
    sim::PlacePlayer({-2.0f, 3.25f, 1.0f});
    Press(vk::F);  // board again
    ASSERT_NE(sim::Get(sim::Player()).seatedIn, 0);
    EXPECT_TRUE(DrawCalls().empty());
    Press(vk::F5);
    EXPECT_EQ(sim::PanelLines().size(), 4u);
}

TEST_F(Overlay, ThePanelIsDrawnOnlyWhileDriving) {
    StartPlugin();
    BoardMetroTrain();
    Press(vk::F);  // leave
    EXPECT_TRUE(DrawCalls().empty());
    sim::RunFrame();
    EXPECT_TRUE(DrawCalls().empty());
}

TEST_F(Overlay, TheBusiestFrameIsTheConsoleThenThePanelIn56DrawingNatives) {
    StartPlugin();
    BoardMetroTrain();
    Press(vk::F6);
    const std::vector<std::string> lines = {"Speed:   0 km/h", "Throttle:   0 %", Released, Forward};
    ExpectDrawn(Console("0.000000\n0.000000\n") + Panel(0.0f, 0.0f, lines));
    EXPECT_EQ(DrawCalls().size(), 56u);
}

#ifndef _WIN32
#include "driving/drive_state.h"
#include "overlay/overlay_state.h"

namespace {

// Driving a car of no drivable model: the speed model leaves DriveState
// alone, so the panel shows exactly what the test put there.
DriveRecord& DriveWithoutTrain() {
    DriveRecord& drive = PluginGlobal<DriveRecord>("DriveState");
    drive.driving = true;
    drive.train = sim::AddCar("tankercar", {});
    sim::SeatDriver(drive.train, sim::Player());
    return drive;
}

}  // namespace

TEST_F(Overlay, AnUnknownBrakeLevelOrDirectionDrawsNoLineForIt) {
    StartPlugin();
    DriveRecord& drive = DriveWithoutTrain();
    for (int level : {4, -1, 1000}) {
        drive.brakeLevel = level;
        drive.direction = 1;
        sim::RunFrame();
        // The direction line keeps its own place below the missing brake line.
        Drawing want = Panel(0.0f, 0.0f, {"Speed:   0 km/h", "Throttle:   0 %"});
        want.text({Forward, At(0.0f, -0.05), At(0.0f, 0.025), 0.3f, 255});
        ExpectDrawn(want);
    }
    drive.brakeLevel = 2;
    for (int direction : {0, 2, -2}) {
        drive.direction = direction;
        sim::RunFrame();
        ExpectDrawn(Panel(0.0f, 0.0f, {"Speed:   0 km/h", "Throttle:   0 %", "Brake: ~g~[L] ~r~[M] ~g~[H]"}));
    }
}

TEST_F(Overlay, TheLargestFiniteSpeedStillFitsItsLine) {
    StartPlugin();
    DriveRecord& drive = DriveWithoutTrain();
    drive.speed = FLT_MAX;
    sim::RunFrame();
    const std::string kmh = "Speed: 1225016447898703895322135060544260931584 km/h";
    EXPECT_EQ(kmh.size(), 52u);
    EXPECT_EQ(sim::PanelLines().at(0), kmh);
    sim::Reset();
    StartPlugin("[gameplay]\nuse_metric_system=0\n");
    DriveWithoutTrain().speed = FLT_MAX;
    sim::RunFrame();
    EXPECT_EQ(sim::PanelLines().at(0), "Speed: 761189930042084663673543251498197057536 mph");
}

TEST_F(Overlay, ExactSpeedsRoundToTheNearestWholeNumber) {
    StartPlugin();
    DriveRecord& drive = DriveWithoutTrain();
    struct Row {
        float speed;
        const char* line;
    } rows[] = {{10.0f, "Speed:  36 km/h"}, {0.1f, "Speed:   0 km/h"}, {0.2f, "Speed:   1 km/h"},
                {300.0f, "Speed: 1080 km/h"}};
    for (const Row& row : rows) {
        drive.speed = row.speed;
        sim::RunFrame();
        EXPECT_EQ(sim::PanelLines().at(0), row.line);
    }
}

TEST_F(Overlay, ASlotTheCycleNeverWritesMakesThePanelKeyDoNothing) {
    StartPlugin(FourPresets);
    BoardMetroTrain();
    OverlayRecord& overlay = PluginGlobal<OverlayRecord>("OverlayState");
    for (int slot : {7, -1, 5}) {
        overlay.panelSlot = slot;
        Press(vk::F5);
        EXPECT_EQ(overlay.panelSlot, slot);
        EXPECT_TRUE(overlay.panelVisible);
        EXPECT_EQ(overlay.panelX, 0.1f);
        EXPECT_EQ(overlay.panelY, 0.15f);
        EXPECT_EQ(sim::BoxesDrawn().size(), 1u);
    }
}

TEST_F(Overlay, AnyConsoleTextGoesToTheHostUnaltered) {
    StartPlugin();
    OverlayRecord& overlay = PluginGlobal<OverlayRecord>("OverlayState");
    std::string text = "~r~red~s~ plain\n\ttab\n";
    while (text.size() < 1000000) text += text;
    overlay.consoleText = text;
    Press(vk::F6);
    ExpectDrawn(Console(text));
}
#endif
