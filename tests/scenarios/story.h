// What every scenario shares: a fresh host and a fresh plug-in per test,
// the player's default keys, and the checks that the host's rules held.
#pragma once
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "sim/sim.h"

// Physical keys by name: vk::W, vk::RightControl, vk::End, vk::Numpad1...
// Each press is what Windows sends for that key (sim/sim.h).
namespace vk {
using namespace sim::key;
constexpr uint32_t F = 70, I = 73, J = 74, K = 75, L = 76, S = 83, T = 84, W = 87;
}  // namespace vk

// Four panel presets, each a different place on the screen.
inline const char* const FourPresets =
    "[gui]\n"
    "gui_position_x_0=0.1\ngui_position_y_0=0.15\n"
    "gui_position_x_1=0.3\ngui_position_y_1=0.35\n"
    "gui_position_x_2=0.5\ngui_position_y_2=0.55\n"
    "gui_position_x_3=0.7\ngui_position_y_3=0.75\n";

class Story : public ::testing::Test {
protected:
    void SetUp() override {
        sim::Reset();
        workingDirectory_ = sim::UseFreshWorkingDirectory();
        if (TraceFolder()) sim::BeginScenarioTrace();
    }
    void TearDown() override {
        if (const char* folder = TraceFolder()) {
            const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
            const std::string path = std::string(folder) + "/" + test->test_suite_name() + "." + test->name() + ".trace";
            EXPECT_TRUE(sim::EndScenarioTrace(path)) << "cannot write " << path;
        }
        for (const std::string& fault : sim::Faults()) ADD_FAILURE() << "host: " << fault;
        sim::Reset();
        // Step out first: Windows will not remove the current directory.
        std::error_code ignored;
        std::filesystem::current_path(std::filesystem::temp_directory_path(), ignored);
        std::filesystem::remove_all(workingDirectory_, ignored);
    }
    // Loads the plug-in and lets it start: settings read, first pass run.
    void StartPlugin(const std::string& settings = "") {
        if (!settings.empty()) sim::WriteSettingsFile(settings);
        sim::Load();
        sim::RunFrame();
    }
    // Waits out every key's debounce since the last action, then one pass
    // with the key down.
    void Press(uint32_t key) {
        sim::AdvanceClock(600);
        sim::TapKey(key);
    }
    // The reload chord (Alt + I unless rebound), held together for one pass.
    void PressReloadChord(uint32_t modifier = vk::Alt, uint32_t key = vk::I) {
        sim::AdvanceClock(600);
        sim::KeyDown(modifier);
        sim::KeyDown(key);
        sim::RunFrame();
        sim::KeyUp(key);
        sim::KeyUp(modifier);
    }

private:
    // Where each scenario leaves its trace, one file per test, so that the
    // builds can be compared; no trace is kept when it is not set.
    static const char* TraceFolder() {
        const char* folder = std::getenv("VELQUORIN_TRACES");
        return folder && *folder ? folder : nullptr;
    }
    std::string workingDirectory_;
};

#ifndef _WIN32
// White-box access to a plug-in global, for the few states no key reaches.
template <typename T>
T& PluginGlobal(const char* name) {
    void* address = sim::PluginSymbol(name);
    if (!address) throw std::runtime_error(std::string("no plug-in symbol ") + name);
    return *static_cast<T*>(address);
}
#endif
