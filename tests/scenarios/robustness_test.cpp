// Nothing the host, the keyboard or the settings file does ends the
// player's game: a native that throws costs one pass and a console line,
// the keyboard handler cannot throw at all, and the settings file comes
// out of every load, reload and failed load byte for byte as it went in.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/key_table.h"
#include "plugin/keyboard_entry.h"
#include "story.h"

// The host calls the handler on its own thread, outside any guard.
static_assert(noexcept(OnKeyboardMessage(0, 0, 0, 0, 0, 0, 0)), "the keyboard handler must not throw");
static_assert(noexcept(IsKeyHeld(0)), "the key test must not throw");

namespace {

namespace fs = std::filesystem;

constexpr uint32_t Booted = 10'000'000;
constexpr uint64_t ApplyTrainSpeedHash = 0xAA0BC91BE0B796E3ull;

class Robustness : public Story {
protected:
    // The player stands at a metro train's cab door and presses F.
    int BoardMetroTrain() {
        sim::SetClock(Booted);
        int train = sim::AddTrain("metrotrain", {0.0f, 0.0f, 0.0f});
        sim::PlacePlayer({-2.0f, 3.25f, 1.0f});
        sim::TapKey(vk::F);
        return train;
    }
};

std::string FileBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> FolderEntries(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    return names;
}

}  // namespace

#ifndef _WIN32
// The simulated native throws inside the plug-in's pass; on Windows the two
// modules have separate runtimes and an exception cannot cross between them.
struct Throw {
    const char* what;
    void (*raise)();
    std::string posted;
};

TEST_F(Robustness, ANativeThatThrowsCostsOnePassAndTheConsoleSaysWhy) {
    const Throw throws[] = {
        {"runtime_error", [] { throw std::runtime_error("the host lost the train"); }, "error: the host lost the train"},
        {"bad_alloc", [] { throw std::bad_alloc(); }, "error: std::bad_alloc"},
        {"not an exception", [] { throw 42; }, "error: unknown exception"},
    };
    for (const Throw& t : throws) {
        SCOPED_TRACE(t.what);
        sim::Reset();
        StartPlugin();
        const int train = BoardMetroTrain();
        ASSERT_EQ(sim::Get(train).driver, sim::Player());
        Press(vk::F6);
        ASSERT_TRUE(sim::ConsoleDrawn());

        // The game refuses the speed three frames running, then takes it again.
        int thrown = 0;
        auto raise = t.raise;
        sim::SetNativeHook([raise, &thrown](uint64_t hash, const std::vector<uint64_t>&, uint64_t*) {
            if (hash == ApplyTrainSpeedHash && thrown < 3) {
                ++thrown;
                raise();
            }
            return false;
        });
        const int yields = sim::YieldCount();
        const int applied = sim::Get(train).applyCount;
        sim::RunFrames(3);
        EXPECT_EQ(thrown, 3);
        EXPECT_EQ(sim::YieldCount(), yields + 3) << "every pass still ends in the yield";
        EXPECT_EQ(sim::Get(train).applyCount, applied);

        sim::RunFrame();
        // One line for the three failures: a host failing every frame must
        // not grow the console by a line a frame.
        const std::string posted = t.posted + "\n";
        const std::string console = sim::ConsoleTextDrawn();
        EXPECT_EQ(console.substr(0, posted.size()), posted);
        EXPECT_NE(console.substr(posted.size(), posted.size()), posted);
        EXPECT_EQ(sim::CallsTo("ApplyTrainSpeed").size(), 1u) << "the train is driven again";
        EXPECT_FALSE(sim::PanelLines().empty());
        for (const std::string& fault : sim::Faults()) ADD_FAILURE() << "host: " << fault;
    }
}
#endif

TEST_F(Robustness, FailedLoadsReloadsAndRestartsLeaveTheSettingsFileAsItWas) {
    // The player's file: CRLF lines, a comment, a UTF-8 mark, a key in two
    // cases, then a position that does not convert.
    const std::string notANumber =
        "\xEF\xBB\xBF; my keys\r\n[keys]\r\nenter_exit=70\r\nENTER_EXIT=71\r\n[gui]\r\n"
        "gui_position_x_0=0.25\r\ngui_position_y_0=abc\r\n";
    const std::string tooLarge = "[gui]\ngui_position_x_1=1e39\n\x1a";
    const fs::path file = fs::absolute("Velquorin.ini");

    for (const std::string& text : {notANumber, tooLarge}) {
        sim::Reset();
        sim::WriteSettingsFile(text);
        StartPlugin();  // the first load fails
        BoardMetroTrain();
        Press(vk::F6);
        PressReloadChord();  // and every reload
        PressReloadChord();
        const std::string console = sim::ConsoleTextDrawn();
        EXPECT_TRUE(console.find("gui_position_y_0: invalid stof argument") != std::string::npos ||
                    console.find("gui_position_x_1: stof argument out of range") != std::string::npos)
            << console;
        sim::Unload();
        sim::Load();
        sim::RunFrames(3);
        sim::Unload();

        EXPECT_EQ(FileBytes(file), text);
        EXPECT_EQ(FolderEntries(file.parent_path()), std::vector<std::string>{"Velquorin.ini"});
        for (const std::string& fault : sim::Faults()) ADD_FAILURE() << "host: " << fault;
    }
}

TEST_F(Robustness, KeyMessagesForAnyCodeAndFlagsLeaveTheGameRunning) {
    StartPlugin();
    const uint32_t codes[] = {0, 254, 255, 256, 0x7FFFFFFF, 0xFFFFFFFF};
    const int flags[] = {0, 1, -1, 0x7FFFFFFF, static_cast<int>(0x80000000u)};
    for (uint32_t code : codes)
        for (int flag : flags) sim::SendKeyMessage(code, flag, flag, flag);
    const int yields = sim::YieldCount();
    sim::RunFrames(2);
    EXPECT_EQ(sim::YieldCount(), yields + 2);
}
