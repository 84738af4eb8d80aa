// Times a scene's passes and its floor's the same way on both builds: wall
// time by the steady clock, over repetitions of at least a minimum time
// each, with the heap allocations of the timed passes counted.
#pragma once
#include "bench/scenes.h"

struct Timing {
    double minNs = -1;           // the fastest repetition's mean time per pass
    double medianNs = -1;        // the median repetition's
    double allocationsPerPass = -1;
};

struct SceneTiming {
    Timing pass;
    Timing floor;
};

struct RunOptions {
    int repetitions = 5;
    double minSeconds = 0.2;  // per repetition
};

SceneTiming Measure(const SceneInfo& info, const RunOptions& options);
