// How many speed-model and throttle steps this pass takes. With
// speed_steps_per_second at 0 it is one a pass, so the train's feel follows
// the frame rate; otherwise the steps follow the tick counter, N a second.
#pragma once
#include <cstdint>

struct StepPacingRecord {
    bool counting = false;  // false until the first paced pass, and while unpaced
    uint32_t lastTick = 0;
    uint32_t owedMillisteps = 0;  // thousandths of a step carried to the next pass
    int stepsThisPass = 1;
};

extern StepPacingRecord StepPacing;

// Most clock time one pass counts: a pause, an alt-tab or a loading screen
// releases a quarter of a second's steps at most, the rest is dropped. A
// cap in time, not in steps, keeps every rate the settings accept down to
// 4 frames a second.
constexpr uint32_t MaxMillisecondsPerPass = 250;

// First in every pass: sets StepPacing.stepsThisPass.
void PaceStepsForPass();
// Boarding: the count starts from now, and this pass takes no more steps.
void RestartStepPacing();
