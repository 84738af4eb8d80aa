// Whether this pass reads the pad: use_gamepad is on and the pad gave the
// game its last input. Asked once at the start of every pass.
#pragma once

struct PadRecord {
    bool inUse = false;
};

extern PadRecord PadState;
