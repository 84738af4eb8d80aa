// Steps due are counted in thousandths of a step, so at N a second every
// millisecond owes exactly N of them and over a second exactly N steps are
// taken, whatever the frame rate or the tick counter's granularity.
#include "driving/step_pacing.h"

#include "host/platform.h"
#include "settings/settings.h"

StepPacingRecord StepPacing;

void PaceStepsForPass() {
    StepPacingRecord& p = StepPacing;
    const uint32_t perSecond = Settings.speedStepsPerSecond;
    if (perSecond == 0) {
        // Once per frame; a later switch back on starts counting afresh.
        p.counting = false;
        p.stepsThisPass = 1;
        return;
    }
    const uint32_t now = static_cast<uint32_t>(GetTickCount());
    if (!p.counting) {
        p.counting = true;
        p.lastTick = now;
        p.owedMillisteps = 0;
        p.stepsThisPass = 0;
        return;
    }
    // Unsigned: right across the counter's wrap after 49.7 days.
    uint32_t elapsed = now - p.lastTick;
    p.lastTick = now;
    if (elapsed > MaxMillisecondsPerPass) elapsed = MaxMillisecondsPerPass;
    const uint64_t owed = p.owedMillisteps + uint64_t{elapsed} * perSecond;
    p.owedMillisteps = static_cast<uint32_t>(owed % 1000);
    p.stepsThisPass = static_cast<int>(owed / 1000);
}

void RestartStepPacing() {
    StepPacingRecord& p = StepPacing;
    if (Settings.speedStepsPerSecond == 0) return;
    p.counting = true;
    p.lastTick = static_cast<uint32_t>(GetTickCount());
    p.owedMillisteps = 0;
    p.stepsThisPass = 0;
}
