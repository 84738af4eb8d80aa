// Steady scenes are timed in batches, so the clock's own cost spreads over
// many passes; a scene with untimed steps between its passes (boarding) is
// timed a pass at a time, and so is its floor, so both carry the same
// clock reads.
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

template <typename Pass, typename Between>
void TimeOnce(const SceneInfo& info, Pass pass, Between between, Spent& spent) {
    uint64_t allocationsBefore = sim::AllocationCount();
    int passes = info.timedSingly ? 1 : BatchPasses;
    Clock::time_point start = Clock::now();
    for (int i = 0; i < passes; ++i) pass();
    Clock::time_point end = Clock::now();
    spent.allocations += sim::AllocationCount() - allocationsBefore;
    spent.time += end - start;
    spent.passes += static_cast<uint64_t>(passes);
    if (info.timedSingly) between();
}

}  // namespace

Timing Measure(const SceneInfo& info, bool floor, const RunOptions& options) {
    SetUpScene(info.scene);
    if (floor) SwitchToFloor(info.scene);
    auto pass = [&] { floor ? RunFloorPass(info.scene) : RunPass(info.scene); };
    auto between = [&] {
        if (!floor) BetweenPasses(info.scene);
    };
    const auto minimum = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(options.minSeconds));

    Spent warmUp;
    while (warmUp.time < minimum / 4) TimeOnce(info, pass, between, warmUp);

    std::vector<double> perPass;
    Spent all;
    for (int r = 0; r < options.repetitions; ++r) {
        Spent spent;
        while (spent.time < minimum) TimeOnce(info, pass, between, spent);
        perPass.push_back(std::chrono::duration<double, std::nano>(spent.time).count() /
                          static_cast<double>(spent.passes));
        all.passes += spent.passes;
        all.allocations += spent.allocations;
    }
    TearDownScene();

    std::sort(perPass.begin(), perPass.end());
    size_t middle = perPass.size() / 2;
    Timing timing;
    timing.minNs = perPass.front();
    timing.medianNs = perPass.size() % 2 ? perPass[middle] : (perPass[middle - 1] + perPass[middle]) / 2;
    timing.allocationsPerPass = static_cast<double>(all.allocations) / static_cast<double>(all.passes);
    return timing;
}
