// Velquorin.ini as the player edits it: what the plug-in reads at start and
// on Alt+I, seen on the panel and the console, and (native builds) in the
// Settings record itself.
#include <cfloat>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

#include "story.h"

namespace {

namespace fs = std::filesystem;

// The panel's box is the only box 0.12 wide; its centre is the anchor.
const sim::DrawnBox* PanelBox() {
    for (const sim::DrawnBox& box : sim::BoxesDrawn())
        if (box.width == 0.12f && box.height == 0.12f) return &box;
    return nullptr;
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class SettingsFile : public Story {
protected:
    // A standing metro train with the player at its cab door, boarded with F.
    void BoardMetroTrain(uint32_t enterExitKey = vk::F) {
        sim::AddTrain("metrotrain", {0, 0, 0});
        sim::PlacePlayer({-2.0f, 3.25f, 1.0f});
        Press(enterExitKey);
    }
    bool Driving() { return sim::Get(sim::Player()).seatedIn != 0; }
    std::string ConsoleText(uint32_t consoleKey = vk::F6) {
        Press(consoleKey);
        std::string text = sim::ConsoleTextDrawn();
        Press(consoleKey);
        return text;
    }
    void ExpectPanelAt(float x, float y) {
        sim::RunFrame();
        const sim::DrawnBox* box = PanelBox();
        ASSERT_NE(box, nullptr) << "no panel drawn";
        EXPECT_EQ(box->x, x);
        EXPECT_EQ(box->y, y);
    }
};

}  // namespace

TEST_F(SettingsFile, WithNoFileThePanelStandsAtTheTopLeftCornerInKmhAndFullyOpaque) {
    StartPlugin();
    BoardMetroTrain();
    ASSERT_TRUE(Driving()) << "the default rule is the realistic one, from the cab door";
    ExpectPanelAt(0.0f, 0.0f);
    EXPECT_EQ(PanelBox()->alpha, 255);
    for (const sim::DrawnText& text : sim::TextsDrawn()) EXPECT_EQ(text.alpha, 255) << text.text;
    ASSERT_FALSE(sim::PanelLines().empty());
    EXPECT_EQ(sim::PanelLines()[0], "Speed:   0 km/h");
}

// A typo at a panel position must not hide the panel: the keys the failed
// first load never reached keep their defaults, both opacities 255.
TEST_F(SettingsFile, AFirstLoadThatFailsAtAPanelPositionStillDrawsTheWholePanel) {
    StartPlugin("[gui]\ngui_position_x_0=0.5\ngui_position_y_0=0.5\ngui_position_x_1=abc\n");
    BoardMetroTrain();
    ASSERT_TRUE(Driving());
    ExpectPanelAt(0.0f, 0.0f);  // a failed load places no panel
    EXPECT_EQ(PanelBox()->alpha, 255);
    ASSERT_EQ(sim::PanelLines().size(), 4u);
    for (const sim::DrawnText& text : sim::TextsDrawn()) EXPECT_EQ(text.alpha, 255) << text.text;
    EXPECT_NE(ConsoleText().find("\ngui_position_x_1 is no number\n(invalid stof argument)\n"), std::string::npos);
}

TEST_F(SettingsFile, WithNoFileEveryDefaultKeyActs) {
    StartPlugin();
    BoardMetroTrain();  // F
    sim::KeyDown(vk::W);
    sim::RunFrames(3);
    sim::KeyUp(vk::W);
    sim::RunFrame();
    ASSERT_EQ(sim::PanelLines().size(), 4u);
    EXPECT_EQ(sim::PanelLines()[1], "Throttle:   3 %");
    sim::KeyDown(vk::S);
    sim::RunFrame();
    sim::KeyUp(vk::S);
    Press(vk::K);
    sim::RunFrame();
    EXPECT_EQ(sim::PanelLines()[1], "Throttle:   2 %");
    EXPECT_EQ(sim::PanelLines()[2], "Brake: ~g~[L] ~r~[M] ~g~[H]");
    Press(vk::L);
    EXPECT_EQ(sim::PanelLines()[2], "Brake: ~g~[L] ~g~[M] ~r~[H]");
    Press(vk::J);
    EXPECT_EQ(sim::PanelLines()[2], "Brake: ~r~[L] ~g~[M] [H]");
}

TEST_F(SettingsFile, ABoolIsTrueForAnyNonzeroValue) {
    // Off the cab door but within 10.0 of the train: only the relaxed rule boards.
    struct Row {
        const char* value;
        bool boards;
        const char* speedLine;
    } rows[] = {{"0", true, "Speed:   0 mph"}, {"1", false, "Speed:   0 km/h"}, {"2", false, "Speed:   0 km/h"}};
    for (const Row& row : rows) {
        sim::Reset();
        StartPlugin(std::string("[gameplay]\nenter_realistic=") + row.value + "\nuse_metric_system=" + row.value +
                    "\n");
        sim::AddTrain("metrotrain", {0, 0, 0});
        sim::PlacePlayer({5.0f, 0.0f, 0.0f});
        Press(vk::F);
        EXPECT_EQ(Driving(), row.boards) << "enter_realistic=" << row.value;
        if (!row.boards) {
            sim::PlacePlayer({-2.0f, 3.25f, 1.0f});
            Press(vk::F);
        }
        ASSERT_FALSE(sim::PanelLines().empty()) << row.value;
        EXPECT_EQ(sim::PanelLines()[0], row.speedLine) << "use_metric_system=" << row.value;
    }
}

TEST_F(SettingsFile, APanelPositionIsTheLongestNumberAtTheStartOfItsText) {
    struct Row {
        const char* text;
        float value;
    } rows[] = {
        {"0.85", 0.85f},          {"-0.1", -0.1f},           {".5", 0.5f},
        {"1e-1", 0.1f},           {"0.5px", 0.5f},           {"  0.25abc", 0.25f},
        {"+.75", 0.75f},          {"5.", 5.0f},              {"2E+1", 20.0f},
        {"1e", 1.0f},             {"1e+", 1.0f},             {"0x1p3", 0.0f},
        {"1.5.5", 1.5f},          {"3.4028235e38", FLT_MAX}, {"1e-50", 0.0f},
        {"1e-45", std::numeric_limits<float>::denorm_min()},
    };
    for (const Row& row : rows) {
        sim::Reset();
        StartPlugin(std::string("[gui]\ngui_position_x_0=") + row.text + "\ngui_position_y_0=" + row.text + "\n");
        BoardMetroTrain();
        ExpectPanelAt(row.value, row.value);
        EXPECT_EQ(ConsoleText(), "0.000000\n0.000000\n") << row.text << ": only the boarding distances";
    }
}

TEST_F(SettingsFile, APanelPositionThatIsNoNumberStopsTheLoadAndIsReportedOnTheConsole) {
    struct Row {
        const char* line;
        const char* message;
    } rows[] = {
        {"gui_position_y_1=abc", "Velquorin.ini:\ngui_position_y_1 is no number\n(invalid stof argument)\n"},
        {"gui_position_y_1=", "Velquorin.ini:\ngui_position_y_1 is no number\n(invalid stof argument)\n"},
        {"gui_position_x_2=inf", "Velquorin.ini:\ngui_position_x_2 is no number\n(invalid stof argument)\n"},
        {"gui_position_x_2=nan", "Velquorin.ini:\ngui_position_x_2 is no number\n(invalid stof argument)\n"},
        {"gui_position_x_2=.", "Velquorin.ini:\ngui_position_x_2 is no number\n(invalid stof argument)\n"},
        {"gui_position_x_2=-", "Velquorin.ini:\ngui_position_x_2 is no number\n(invalid stof argument)\n"},
        {"gui_position_x_2=e5", "Velquorin.ini:\ngui_position_x_2 is no number\n(invalid stof argument)\n"},
        {"gui_position_x_0=1e39", "Velquorin.ini:\ngui_position_x_0 is too large\n(stof argument out of range)\n"},
        {"gui_position_x_0=-1e39", "Velquorin.ini:\ngui_position_x_0 is too large\n(stof argument out of range)\n"},
        {"gui_position_x_0=3.5e38", "Velquorin.ini:\ngui_position_x_0 is too large\n(stof argument out of range)\n"},
    };
    for (const auto& row : rows) {
        sim::Reset();
        StartPlugin(std::string("[gui]\n") + row.line + "\n");
        int yields = sim::YieldCount();
        sim::RunFrames(5);
        EXPECT_EQ(sim::YieldCount(), yields + 5) << row.line << ": the plug-in keeps running";
        EXPECT_EQ(ConsoleText(), row.message) << row.line;
    }
}

TEST_F(SettingsFile, SectionAndKeyNamesMatchWhateverTheirCase) {
    StartPlugin(
        "[GamePlay]\nUSE_METRIC_SYSTEM=0\n"
        "[KEYS]\nEnter_Exit=71\n"
        "[Gui]\nGUI_Position_X_0=0.4\ngui_POSITION_y_0=0.6\nBACKGROUND_opacity=90\n");
    BoardMetroTrain(71);
    ASSERT_TRUE(Driving()) << "enter_exit=71 is G";
    ExpectPanelAt(0.4f, 0.6f);
    EXPECT_EQ(PanelBox()->alpha, 90);
    EXPECT_EQ(sim::PanelLines()[0], "Speed:   0 mph");
}

TEST_F(SettingsFile, ARebindingMovesTheActionToTheNewKey) {
    StartPlugin("[keys]\nenter_exit=71\nthrottle_up=38\n");
    BoardMetroTrain(vk::F);
    EXPECT_FALSE(Driving()) << "F no longer boards";
    Press(71);
    ASSERT_TRUE(Driving());
    sim::KeyDown(vk::W);
    sim::KeyDown(38);
    sim::RunFrames(2);
    EXPECT_EQ(sim::PanelLines()[1], "Throttle:   2 %");
}

TEST_F(SettingsFile, ABindingOf255OrMoreNeverFires) {
    // Also not through the codes it would become if cut to a byte or
    // folded into the table's 255 entries.
    struct Row {
        const char* value;
        std::vector<uint32_t> tries;
    } rows[] = {
        {"255", {255, 0}},
        {"300", {300, 44, 45}},
        {"-1", {0xFFFFFFFF, 255, 0}},  // read as 4294967295
    };
    for (const Row& row : rows) {
        sim::Reset();
        StartPlugin(std::string(FourPresets) + "[keys]\ntoggle_gui_position=" + row.value + "\n");
        BoardMetroTrain();
        for (uint32_t key : row.tries) Press(key);
        Press(vk::F5);
        ExpectPanelAt(0.1f, 0.15f);
    }
}

TEST_F(SettingsFile, OpacitiesGoToTheHostAsWritten) {
    StartPlugin("[gui]\nbackground_opacity=400\ntext_opacity=-5\n");
    BoardMetroTrain();
    sim::RunFrame();
    ASSERT_NE(PanelBox(), nullptr);
    EXPECT_EQ(PanelBox()->alpha, 400);
    ASSERT_EQ(sim::PanelLines().size(), 4u);
    for (const sim::DrawnText& text : sim::TextsDrawn()) EXPECT_EQ(text.alpha, -5) << text.text;
}

TEST_F(SettingsFile, DeletingAKeyAndReloadingBringsItsDefaultBack) {
    StartPlugin("[gameplay]\nuse_metric_system=0\n[gui]\ngui_position_x_0=0.5\ngui_position_y_0=0.5\ntext_opacity=100\n");
    BoardMetroTrain();
    ExpectPanelAt(0.5f, 0.5f);
    EXPECT_EQ(sim::TextsDrawn().at(0).alpha, 100);
    sim::WriteSettingsFile("[gameplay]\n[gui]\ngui_position_y_0=0.5\n");
    PressReloadChord();
    ExpectPanelAt(0.0f, 0.5f);
    EXPECT_EQ(sim::TextsDrawn().at(0).alpha, 255);
    EXPECT_EQ(sim::PanelLines()[0], "Speed:   0 km/h");
}

TEST_F(SettingsFile, AReloadInSlotTwoPutsThePanelAtPresetZeroAndKeepsTheSlot) {
    StartPlugin(FourPresets);
    BoardMetroTrain();
    ExpectPanelAt(0.1f, 0.15f);
    Press(vk::F5);
    Press(vk::F5);
    ExpectPanelAt(0.5f, 0.55f);
    sim::WriteSettingsFile(
        "[gui]\ngui_position_x_0=0.2\ngui_position_y_0=0.25\ngui_position_x_3=0.8\ngui_position_y_3=0.85\n");
    PressReloadChord();
    ExpectPanelAt(0.2f, 0.25f);
    Press(vk::F5);
    ExpectPanelAt(0.8f, 0.85f);
    Press(vk::F5);
    sim::RunFrame();
    EXPECT_EQ(PanelBox(), nullptr) << "slot 4: hidden";
}

TEST_F(SettingsFile, AReloadLeavesAHiddenPanelHidden) {
    StartPlugin(FourPresets);
    BoardMetroTrain();
    for (int press = 0; press < 4; ++press) Press(vk::F5);
    sim::RunFrame();
    EXPECT_EQ(PanelBox(), nullptr);
    PressReloadChord();
    sim::RunFrame();
    EXPECT_EQ(PanelBox(), nullptr);
    EXPECT_TRUE(sim::PanelLines().empty());
    Press(vk::F5);
    ExpectPanelAt(0.1f, 0.15f);
}

TEST_F(SettingsFile, ASessionWithReloadsNeverWritesAFile) {
    const std::string text = std::string(FourPresets) + "[keys]\nenter_exit=70\n";
    sim::WriteSettingsFile(text);
    const fs::path file = fs::absolute("Velquorin.ini");
    const fs::path folder = file.parent_path();
    // An old stamp, so that any write, even within the same second, shows.
    const auto stamp = fs::last_write_time(file) - std::chrono::hours(24);
    fs::last_write_time(file, stamp);

    StartPlugin();
    BoardMetroTrain();
    for (int round = 0; round < 3; ++round) {
        PressReloadChord();
        Press(vk::F5);
        Press(vk::F6);
    }
    Press(vk::F);
    sim::Unload();

    EXPECT_EQ(ReadFile(file), text);
    EXPECT_EQ(fs::last_write_time(file), stamp);
    std::vector<std::string> entries;
    for (const auto& entry : fs::directory_iterator(folder)) entries.push_back(entry.path().filename().string());
    EXPECT_EQ(entries, std::vector<std::string>{"Velquorin.ini"});
}

#ifndef _WIN32
#include "overlay/overlay_state.h"
#include "settings/settings.h"

namespace {

SettingsRecord& Record() { return PluginGlobal<SettingsRecord>("Settings"); }

// Every field, so a failing comparison names the one that differs.
void ExpectSame(const SettingsRecord& got, const SettingsRecord& want) {
    EXPECT_EQ(got.enterRealistic, want.enterRealistic);
    EXPECT_EQ(got.useMetricSystem, want.useMetricSystem);
    EXPECT_EQ(got.maxSpeedFreight, want.maxSpeedFreight);
    EXPECT_EQ(got.maxSpeedMetro, want.maxSpeedMetro);
    EXPECT_EQ(got.openLeftDoorsKey, want.openLeftDoorsKey);
    EXPECT_EQ(got.openRightDoorsKey, want.openRightDoorsKey);
    EXPECT_EQ(got.reloadIniFileModifierKey, want.reloadIniFileModifierKey);
    EXPECT_EQ(got.reloadIniFileKey, want.reloadIniFileKey);
    EXPECT_EQ(got.enterExitKey, want.enterExitKey);
    EXPECT_EQ(got.throttleUpKey, want.throttleUpKey);
    EXPECT_EQ(got.throttleDownKey, want.throttleDownKey);
    EXPECT_EQ(got.brakeLightKey, want.brakeLightKey);
    EXPECT_EQ(got.brakeMediumKey, want.brakeMediumKey);
    EXPECT_EQ(got.brakeHardKey, want.brakeHardKey);
    EXPECT_EQ(got.changeDirectionKey, want.changeDirectionKey);
    EXPECT_EQ(got.toggleGuiPositionKey, want.toggleGuiPositionKey);
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(got.panelPresets[k].x, want.panelPresets[k].x) << "preset " << k;
        EXPECT_EQ(got.panelPresets[k].y, want.panelPresets[k].y) << "preset " << k;
    }
    EXPECT_EQ(got.backgroundOpacity, want.backgroundOpacity);
    EXPECT_EQ(got.textOpacity, want.textOpacity);
    EXPECT_EQ(got.speedStepsPerSecond, want.speedStepsPerSecond);
    EXPECT_EQ(got.showHints, want.showHints);
    EXPECT_EQ(got.toggleConsoleKey, want.toggleConsoleKey);
    EXPECT_EQ(got.useGamepad, want.useGamepad);
}

SettingsRecord Defaults() {
    SettingsRecord d;
    d.enterRealistic = true;
    d.useMetricSystem = true;
    d.maxSpeedFreight = 50.0f;
    d.maxSpeedMetro = 35.0f;
    d.openLeftDoorsKey = 97;
    d.openRightDoorsKey = 99;
    d.reloadIniFileModifierKey = 18;
    d.reloadIniFileKey = 73;
    d.enterExitKey = 70;
    d.throttleUpKey = 87;
    d.throttleDownKey = 83;
    d.brakeLightKey = 74;
    d.brakeMediumKey = 75;
    d.brakeHardKey = 76;
    d.changeDirectionKey = 162;
    d.toggleGuiPositionKey = 116;
    for (PanelPreset& p : d.panelPresets) p = {0.0f, 0.0f};
    d.backgroundOpacity = 255;
    d.textOpacity = 255;
    d.toggleConsoleKey = 117;
    d.useGamepad = false;
    return d;
}

const char* const FileA =
    "[gameplay]\nenter_realistic=0\nuse_metric_system=0\nmax_speed_freight=40\nmax_speed_metro=30\n"
    "[keys]\nopen_left_doors=65\nopen_right_doors=66\nreload_ini_file_modifier=18\nreload_ini_file=73\n"
    "enter_exit=67\nthrottle_up=68\nthrottle_down=69\nbrake_light=71\nbrake_medium=72\nbrake_hard=74\n"
    "change_direction=75\ntoggle_gui_position=76\n"
    "[gui]\ngui_position_x_0=0.1\ngui_position_y_0=0.15\ngui_position_x_1=0.2\ngui_position_y_1=0.25\n"
    "gui_position_x_2=0.3\ngui_position_y_2=0.35\ngui_position_x_3=0.4\ngui_position_y_3=0.45\n"
    "background_opacity=100\ntext_opacity=110\n";

const char* const FileBWithBadY1 =
    "[gameplay]\nenter_realistic=2\nuse_metric_system=3\nmax_speed_freight=45\nmax_speed_metro=25\n"
    "[keys]\nopen_left_doors=100\nopen_right_doors=101\nreload_ini_file_modifier=17\nreload_ini_file=82\n"
    "enter_exit=102\nthrottle_up=103\nthrottle_down=104\nbrake_light=105\nbrake_medium=106\nbrake_hard=107\n"
    "change_direction=108\ntoggle_gui_position=109\n"
    "[gui]\ngui_position_x_0=0.6\ngui_position_y_0=0.65\ngui_position_x_1=0.7\ngui_position_y_1=abc\n"
    "gui_position_x_2=0.8\ngui_position_y_2=0.85\ngui_position_x_3=0.9\ngui_position_y_3=0.95\n"
    "background_opacity=200\ntext_opacity=210\n";

}  // namespace

TEST_F(SettingsFile, WithNoFileTheRecordHoldsEveryDefault) {
    StartPlugin();
    ExpectSame(Record(), Defaults());
    EXPECT_EQ(PluginGlobal<OverlayRecord>("OverlayState").panelX, 0.0f);
    EXPECT_EQ(PluginGlobal<OverlayRecord>("OverlayState").panelY, 0.0f);
}

// The shipped file changes where the panel stands, four different places
// each keeping the whole 0.12 box on the screen, and paces the speed model
// at 60 steps a second, shows the hint on foot, puts the console on O and
// lets a pad drive.
TEST_F(SettingsFile, TheSampleFileLoadsTheDefaultsWithFourPanelPositionsOnScreen) {
    const fs::path sample = fs::path(VELQUORIN_SOURCE_DIR) / "Velquorin.ini";
    ASSERT_TRUE(fs::exists(sample)) << sample;
    fs::copy_file(sample, "Velquorin.ini");
    StartPlugin();
    SettingsRecord want = Defaults();
    want.speedStepsPerSecond = 60;
    want.showHints = true;
    want.toggleConsoleKey = 'O';
    want.useGamepad = true;
    for (int k = 0; k < 4; ++k) {
        const PanelPreset& at = Record().panelPresets[k];
        EXPECT_TRUE(at.x >= 0.06f && at.x <= 0.94f && at.y >= 0.06f && at.y <= 0.94f) << "preset " << k;
        for (int other = 0; other < k; ++other)
            EXPECT_FALSE(at.x == want.panelPresets[other].x && at.y == want.panelPresets[other].y)
                << "presets " << other << " and " << k << " are the same place";
        want.panelPresets[k] = at;
    }
    ExpectSame(Record(), want);
    Press('O');
    EXPECT_TRUE(sim::ConsoleDrawn()) << "the console is on O";
    EXPECT_EQ(sim::ConsoleTextDrawn(), "") << "no settings error";
}

TEST_F(SettingsFile, TopSpeedsAreTheUnsignedValueAsTheNearestFloat) {
    struct Row {
        const char* value;
        float speed;
    } rows[] = {{"60", 60.0f}, {"0", 0.0f}, {"16777217", 16777216.0f}, {"-1", 4294967296.0f}};
    for (const Row& row : rows) {
        sim::Reset();
        StartPlugin(std::string("[gameplay]\nmax_speed_metro=") + row.value + "\nmax_speed_freight=" + row.value +
                    "\n");
        EXPECT_EQ(Record().maxSpeedMetro, row.speed) << row.value;
        EXPECT_EQ(Record().maxSpeedFreight, row.speed) << row.value;
    }
}

TEST_F(SettingsFile, KeyCodesAndOpacitiesAreStoredUnclamped) {
    StartPlugin("[keys]\ntoggle_gui_position=300\nenter_exit=-1\n[gui]\nbackground_opacity=-1\ntext_opacity=400\n");
    EXPECT_EQ(Record().toggleGuiPositionKey, 300u);
    EXPECT_EQ(Record().enterExitKey, 0xFFFFFFFFu);
    EXPECT_EQ(Record().backgroundOpacity, -1);
    EXPECT_EQ(Record().textOpacity, 400);
}

TEST_F(SettingsFile, PanelPositionTextsConvertToTheNearestFloat) {
    StartPlugin(
        "[gui]\ngui_position_x_0=0.85\ngui_position_y_0=-0.1\ngui_position_x_1=.5\ngui_position_y_1=1e-1\n"
        "gui_position_x_2=0.5px\ngui_position_y_2=\t 7\ngui_position_x_3=\"0.25\"\ngui_position_y_3=-0\n");
    const PanelPreset* p = Record().panelPresets;
    EXPECT_EQ(p[0].x, 0.85f);
    EXPECT_EQ(p[0].y, -0.1f);
    EXPECT_EQ(p[1].x, 0.5f);
    EXPECT_EQ(p[1].y, 0.1f);
    EXPECT_EQ(p[2].x, 0.5f);
    EXPECT_EQ(p[2].y, 7.0f);
    EXPECT_EQ(p[3].x, 0.25f) << "the profile reader strips one pair of quotes";
    EXPECT_EQ(p[3].y, 0.0f);
    EXPECT_TRUE(std::signbit(p[3].y));
}

TEST_F(SettingsFile, AFailedReloadKeepsTheNewValuesBeforeTheBadKeyAndTheOldOnesFromIt) {
    StartPlugin(FileA);
    SettingsRecord a = Record();
    ASSERT_EQ(a.textOpacity, 110);
    OverlayRecord& overlay = PluginGlobal<OverlayRecord>("OverlayState");
    ASSERT_EQ(overlay.panelX, 0.1f);

    sim::WriteSettingsFile(FileBWithBadY1);
    PressReloadChord();

    SettingsRecord want = a;  // rows 20 to 26 as they were
    want.enterRealistic = true;
    want.useMetricSystem = true;
    want.maxSpeedFreight = 45.0f;
    want.maxSpeedMetro = 25.0f;
    want.openLeftDoorsKey = 100;
    want.openRightDoorsKey = 101;
    want.reloadIniFileModifierKey = 17;
    want.reloadIniFileKey = 82;
    want.enterExitKey = 102;
    want.throttleUpKey = 103;
    want.throttleDownKey = 104;
    want.brakeLightKey = 105;
    want.brakeMediumKey = 106;
    want.brakeHardKey = 107;
    want.changeDirectionKey = 108;
    want.toggleGuiPositionKey = 109;
    want.panelPresets[0] = {0.6f, 0.65f};
    want.panelPresets[1].x = 0.7f;
    ExpectSame(Record(), want);
    EXPECT_EQ(overlay.panelX, 0.1f) << "the panel is not moved after a failed load";
    EXPECT_EQ(overlay.panelY, 0.15f);
    EXPECT_EQ(overlay.consoleText, "Velquorin.ini:\ngui_position_y_1 is no number\n(invalid stof argument)\n");
    EXPECT_EQ(ConsoleText(), "Velquorin.ini:\ngui_position_y_1 is no number\n(invalid stof argument)\n");

    // The chord is now Control+R, and a good file is taken in whole again.
    sim::WriteSettingsFile(FileA);
    PressReloadChord();
    EXPECT_EQ(Record().reloadIniFileKey, 82u) << "Alt+I no longer reloads";
    sim::AdvanceClock(600);
    sim::KeyDown(17);
    sim::KeyDown(82);
    sim::RunFrame();
    ExpectSame(Record(), a);
    EXPECT_EQ(overlay.panelX, 0.1f);
}

TEST_F(SettingsFile, AnErrorAtStartLeavesTheValuesReadSoFarAndThePanelUnplaced) {
    StartPlugin("[gameplay]\nmax_speed_metro=60\n[gui]\ngui_position_x_0=0.5\ngui_position_y_0=0.5\n"
                "gui_position_x_1=1e39\ntext_opacity=7\n");
    EXPECT_EQ(Record().maxSpeedMetro, 60.0f);
    EXPECT_EQ(Record().panelPresets[0].x, 0.5f);
    EXPECT_EQ(Record().panelPresets[1].x, 0.0f);
    EXPECT_EQ(Record().textOpacity, 255) << "never read: the default, as before any load";
    OverlayRecord& overlay = PluginGlobal<OverlayRecord>("OverlayState");
    EXPECT_EQ(overlay.panelX, 0.0f);
    EXPECT_EQ(overlay.consoleText, "Velquorin.ini:\ngui_position_x_1 is too large\n(stof argument out of range)\n");
    int yields = sim::YieldCount();
    sim::RunFrames(10);
    EXPECT_EQ(sim::YieldCount(), yields + 10);
}

#endif
