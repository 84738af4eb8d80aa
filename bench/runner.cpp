// Each repetition sets the scene up afresh, and the pass's repetitions
// alternate with the floor's, so a change in the machine's load between
// them weighs on both alike. Steady scenes are timed in batches, so the
// clock's own cost spreads over many passes; a scene with untimed steps
// between its passes (boarding) is timed a pass at a time, and so is its
// floor, so both carry the same clock reads.
#include "bench/runner.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <vector>

#include "sim/sim.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int BatchPasses = 50;

struct Spent {
    Clock::duration time{};
    uint64_t passes = 0;
    uint64_t allocations = 0;
};

void TimeOnce(const SceneInfo& info, bool floor, Spent& spent) {
    int passes = info.timedSingly ? 1 : BatchPasses;
    uint64_t allocationsBefore = sim::AllocationCount();
    Clock::time_point start = Clock::now();
    for (int i = 0; i < passes; ++i) floor ? RunFloorPass(info.scene) : RunPass(info.scene);
    Clock::time_point end = Clock::now();
    spent.allocations += sim::AllocationCount() - allocationsBefore;
    spent.time += end - start;
    spent.passes += static_cast<uint64_t>(passes);
    if (info.timedSingly && !floor) BetweenPasses(info.scene);
}

// One repetition: set up, warm up for a quarter of the time, then timed.
Spent Repetition(const SceneInfo& info, bool floor, Clock::duration minimum) {
    SetUpScene(info.scene);
    if (floor) SwitchToFloor(info.scene);
    Spent warmUp, spent;
    while (warmUp.time < minimum / 4) TimeOnce(info, floor, warmUp);
    while (spent.time < minimum) TimeOnce(info, floor, spent);
    TearDownScene();
    return spent;
}

struct Collected {
    std::vector<double> perPass;
    uint64_t passes = 0;
    uint64_t allocations = 0;

    void Add(const Spent& spent) {
        perPass.push_back(std::chrono::duration<double, std::nano>(spent.time).count() /
                          static_cast<double>(spent.passes));
        passes += spent.passes;
        allocations += spent.allocations;
    }

    Timing Summary() {
        std::sort(perPass.begin(), perPass.end());
        size_t middle = perPass.size() / 2;
        Timing timing;
        timing.minNs = perPass.front();
        timing.medianNs = perPass.size() % 2 ? perPass[middle] : (perPass[middle - 1] + perPass[middle]) / 2;
        timing.allocationsPerPass = static_cast<double>(allocations) / static_cast<double>(passes);
        return timing;
    }
};

}  // namespace

SceneTiming Measure(const SceneInfo& info, const RunOptions& options) {
    const auto minimum =
        std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(options.minSeconds));
    Collected pass, floor;
    for (int r = 0; r < options.repetitions; ++r) {
        pass.Add(Repetition(info, false, minimum));
        floor.Add(Repetition(info, true, minimum));
    }
    return SceneTiming{pass.Summary(), floor.Summary()};
}
