// Velquorin.log, as a player sends it with a bug report: one line for each
// start, settings load, enter/exit press, first message of a key and error.
#include <filesystem>
#include <fstream>

#include "driving_story.h"

namespace {

const char* const LogOn = "[gameplay]\nwrite_log=1\n";

std::vector<std::string> LogLines(bool withTimes = false) {
    std::ifstream in("Velquorin.log", std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(withTimes ? line : line.substr(line.find(' ') + 1));
    return lines;
}

uintmax_t LogSize() {
    std::error_code none;
    return std::filesystem::file_size("Velquorin.log", none);
}

const std::string Defaults =
    "use_metric_system=1, max_speed_freight=50, max_speed_metro=35, open_left_doors=NUMPAD1 (97), "
    "open_right_doors=NUMPAD3 (99), reload_ini_file_modifier=MENU (18), reload_ini_file=I (73), enter_exit=F (70), "
    "throttle_up=W (87), throttle_down=S (83), brake_light=J (74), brake_medium=K (75), brake_hard=L (76), "
    "change_direction=LCONTROL (162), toggle_gui_position=F5 (116), toggle_console=F6 (117), ";

}  // namespace

class Log : public DrivingStory {};

TEST_F(Log, APlayersEveningOneLineForEachEventInOrder) {
    Start(std::string(LogOn) + "[gui]\ngui_position_x_0=0.25\n");
    ASSERT_EQ(LogLines(true).at(0).rfind("0 start: Velquorin 1.0.0+", 0), 0u) << "the start at 0 ms, with the commit";
    sim::WriteSettingsFile(std::string(LogOn) + "[gui]\ngui_position_y_1=abc\n");
    PressReloadChord();
    const int train = sim::AddTrain("metrotrain", {0, 0, 0}, 3.5f);
    sim::SetNearbyList({});
    Press(vk::F);
    sim::SetNearbyList({train});
    sim::PlacePlayer(drive::Plus(CabOf(train), {0, 0, 2}));
    Press(vk::F);
    ASSERT_TRUE(Board(train));
    Press(vk::LeftControl);
    Press(vk::RightControl);
    Press(vk::F);
    ASSERT_TRUE(Board(train));
    sim::SwitchPlayerCharacter();  // the old character stays in the seat
    sim::RunFrames(40);
    sim::Get(train).speed = 7.25f;  // as the game reports it, whatever the last drive left
    ASSERT_TRUE(Board(train));
    sim::ReloadGame();
    sim::RunFrame();
    Press(vk::F);

    const std::string n = std::to_string(train);
    const std::vector<std::string> expected = {
        "settings: enter_realistic=1, " + Defaults +
            "gui_position_x_0=0.25, gui_position_y_0=0, gui_position_x_1=0, gui_position_y_1=0, gui_position_x_2=0, "
            "gui_position_y_2=0, gui_position_x_3=0, gui_position_y_3=0, background_opacity=255, text_opacity=255, "
            "speed_steps_per_second=0, show_hints=0, write_log=1, use_gamepad=0",
        "key: code MENU (18) scan 0x38 extended 0 alt 1 down, also counts as LMENU (164); for reload_ini_file_modifier",
        "key: code I (73) scan 0x17 extended 0 alt 1 down; for reload_ini_file",
        "settings error: gui_position_y_1: invalid stof argument; that key and every key after it but write_log keep "
        "their last values",
        "key: code F (70) scan 0x21 extended 0 alt 0 down; for enter_exit",
        "enter/exit: not boarded: no train near",
        "enter/exit: not boarded: too far from train " + n +
            ", metrotrain, 2.000 from the cab door, needs less than 1.0 (enter_realistic=1)",
        "enter/exit: boarded train " + n + ", metrotrain, 0.000 from the cab door, game speed 3.500",
        "key: code CONTROL (17) scan 0x1D extended 0 alt 0 down, also counts as LCONTROL (162); for change_direction",
        "key: code CONTROL (17) scan 0x1D extended 1 alt 0 down, also counts as RCONTROL (163); for no action",
        "enter/exit: left train " + n + " by F",
        "enter/exit: boarded train " + n + ", metrotrain, 0.000 from the cab door, game speed 3.421",  // still driven since F
        "drive ended: left train " + n + " by the seat check: the player is no longer in the driver's seat",
        "enter/exit: boarded train " + n + ", metrotrain, 0.000 from the cab door, game speed 7.250",
        "game reload: the script started again; no handle of the last session counts any more",
        "drive ended: left train " + n + " by a game reload",
        "settings error: gui_position_y_1: invalid stof argument; that key and every key after it but write_log keep "
        "their last values",
        "key: code F (70) scan 0x21 extended 0 alt 0 down; for enter_exit",
        "enter/exit: not boarded: no train near",
    };
    std::vector<std::string> lines = LogLines();
    lines.erase(lines.begin());
    EXPECT_EQ(lines, expected);
}

// The log adds no native: with the key absent, at 0, at 1, and at 1 where
// the file cannot be made (its name taken by a folder, as a folder the
// player may not write to refuses it), the game is asked the same.
TEST_F(Log, OnOffOrUnwritableTheGameIsAskedTheSame) {
    const struct {
        const char* settings;
        bool blocked;
        bool file;
    } rows[] = {{"", false, false}, {"[gameplay]\nwrite_log=0\n", false, false}, {LogOn, true, false},
                {LogOn, false, true}};
    std::vector<std::vector<std::string>> natives;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.settings);
        std::filesystem::remove_all("Velquorin.log");
        if (row.blocked) std::filesystem::create_directory("Velquorin.log");
        Restart(row.settings);
        std::vector<std::string> asked;
        const int train = sim::AddTrain("freight", {0, 0, 0});
        for (uint32_t key : {vk::F, vk::LeftControl, vk::W, vk::F, vk::RightAlt}) {
            Press(key);
            for (const sim::NativeCall& call : sim::Trace()) asked.push_back(drive::Describe(call));
        }
        ASSERT_TRUE(Board(train));
        natives.push_back(asked);
        EXPECT_EQ(std::filesystem::is_regular_file("Velquorin.log"), row.file);
    }
    for (size_t i = 1; i < natives.size(); ++i) EXPECT_EQ(natives[i], natives[0]) << "row " << i;
}

TEST_F(Log, SteadyFramesWriteNothingAndAllocateNothing) {
    Start(LogOn);
    ASSERT_TRUE(Board(sim::AddTrain("metrotrain", {0, 0, 0})));
    sim::KeyDown(vk::W);
    sim::RunFrames(3);
    const uintmax_t size = LogSize();
    sim::SetTracing(false);
    const uint64_t before = sim::AllocationCount();
    sim::RunFrames(100);
    EXPECT_EQ(sim::AllocationCount() - before, 0u);
    sim::SetTracing(true);
    EXPECT_EQ(LogSize(), size);
}

// 100,000 first messages of new keys and 10,000 boardings: the file stops
// at 256 KiB, and says so on its last line.
TEST_F(Log, AFloodStopsTheFileAt256KiB) {
    Start(LogOn);
    sim::SetTracing(false);
    for (uint32_t message = 0; message < 100'000; ++message) {
        sim::SendKeyMessage(message % 255, 0, 0, 0, static_cast<uint8_t>(message / 255 % 256), message / 65280 % 2);
        if (message % 100 == 0) sim::RunFrame();  // more than a pass takes: some wait
    }
    const int train = sim::AddTrain("freight", {0, 0, 0});
    sim::PlacePlayer(CabOf(train));
    for (int press = 0; press < 20'000; ++press) Press(vk::F);
    sim::SetTracing(true);
    EXPECT_LE(LogSize(), 256u * 1024);
    EXPECT_GT(LogSize(), 255u * 1024);
    EXPECT_EQ(LogLines().back(), "log full at 256 KiB: nothing more is written until the game starts again");
}

// A crash's log outlives the next start: the last session's file is kept,
// once, as Velquorin.previous.log, in place of the one before it.
TEST_F(Log, TheLastSessionsLogIsKeptAsThePreviousOne) {
    std::ofstream("Velquorin.log") << "the crash\n";
    std::ofstream("Velquorin.previous.log") << "the day before\n";
    Start(LogOn);
    PressReloadChord();
    std::ifstream previous("Velquorin.previous.log");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(previous), {}), "the crash\n");
    EXPECT_EQ(LogLines(true).at(0).rfind("0 start: Velquorin", 0), 0u);
}

// A log that could not be made at the start (its name taken by a folder,
// as a folder the player may not write to refuses it) is tried again at
// each load while write_log is on.
TEST_F(Log, ALogThatCouldNotBeMadeIsMadeAtTheNextLoad) {
    std::filesystem::create_directory("Velquorin.log");
    Start(LogOn);
    std::filesystem::remove("Velquorin.log");
    PressReloadChord();
    const std::vector<std::string> lines = LogLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].rfind("start: Velquorin", 0), 0u);
    EXPECT_EQ(lines[1].rfind("settings: enter_realistic=1", 0), 0u);
}

// A panel position that is no number stops the reading, but not of
// write_log: the error is the log's first news.
TEST_F(Log, APanelPositionThatIsNoNumberIsInTheLog) {
    Start(std::string(LogOn) + "[gui]\ngui_position_x_0=abc\n");
    const std::vector<std::string> lines = LogLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], "settings error: gui_position_x_0: invalid stof argument; that key and every key after it "
                        "but write_log keep their last values");
}

// Keys pressed while the log was off are not marked seen: once it is on,
// each key's next message is its first, and its line bears the time the
// message came, not the time the pass wrote it.
TEST_F(Log, AKeyFromBeforeTheLogWasOnIsLoggedAtItsNextMessageAtTheTimeItCame) {
    Start("[gameplay]\nwrite_log=0\n");
    const uint32_t started = sim::Now();
    Press(vk::W);
    sim::WriteSettingsFile(LogOn);
    PressReloadChord();
    sim::KeyDown(vk::W);
    const uint32_t came = sim::Now() - started;
    sim::AdvanceClock(100);
    sim::RunFrame();
    EXPECT_EQ(LogLines(true).back(),
              std::to_string(came) + " key: code W (87) scan 0x11 extended 0 alt 0 down; for throttle_up");
}
