// What the three fuzz targets share: reading an input as a stream of
// choices, failing loudly on a broken property, and putting the linked-in
// plug-in back to load-time state before each input.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "driving/action_timers.h"
#include "driving/drive_state.h"
#include "driving/step_pacing.h"
#include "host/key_table.h"
#include "overlay/overlay_state.h"
#include "plugin/script_main.h"
#include "settings/settings.h"
#include "sim/sim.h"

extern "C" int DllMain(void* module, unsigned long reason, void* reserved);

namespace fuzz {

// A broken property is a crash, so libFuzzer keeps the input and the
// corpus replay fails.
#define FUZZ_CHECK(condition, ...)                                                 \
    do {                                                                           \
        if (!(condition)) {                                                        \
            std::fprintf(stderr, "property broken at %s:%d: %s\n  ", __FILE__,     \
                         __LINE__, #condition);                                    \
            std::fprintf(stderr, __VA_ARGS__);                                     \
            std::fputc('\n', stderr);                                              \
            std::abort();                                                          \
        }                                                                          \
    } while (0)

// The input read front to back; past its end every read gives zero.
struct Input {
    const uint8_t* data;
    size_t size;
    size_t at = 0;

    bool Empty() const { return at >= size; }
    uint8_t Byte() { return at < size ? data[at++] : 0; }
    uint32_t Word() {
        uint32_t value = 0;
        for (int i = 0; i < 4; ++i) value = value << 8 | Byte();
        return value;
    }
    uint64_t Wide() { return static_cast<uint64_t>(Word()) << 32 | Word(); }
    template <typename T, size_t N>
    const T& Pick(const T (&choices)[N]) {
        return choices[Byte() % N];
    }
};

// Every plug-in global back to what a fresh load gives.
inline void ResetPluginGlobals() {
    Settings = SettingsRecord{};
    DriveState = DriveRecord{};
    OverlayState = OverlayRecord{};
    ActionTimers = ActionTimerRecord{};
    StepPacing = StepPacingRecord{};
    for (KeyRecord& record : KeyTable) record = KeyRecord{};
    std::memset(KeyHeard, 0, sizeof KeyHeard);
    ScriptStartedBefore = false;
}

// The globals back, then the entry run as the loader would; the next frame
// starts a new script fiber.
inline void StartFreshPlugin() {
    sim::Reset();
    ResetPluginGlobals();
    sim::LoadLinked(DllMain);
}

// The same state for the next input without a new script fiber, whose
// 4 MiB stack cost more than a short input's frames: the plug-in stays
// loaded with its script parked between two passes, and the script's start
// (loading the settings) runs here instead.
inline void RestartPluginKeepingItsScript() {
    if (!sim::Loaded()) {
        StartFreshPlugin();
        sim::RunFrame();  // the script fiber, once
    }
    sim::ResetKeepingPlugin();
    ResetPluginGlobals();
    ScriptStartedBefore = true;  // it has, and is parked
    LoadSettingsAndPlacePanel();
}

}  // namespace fuzz
