// When each repeatable action last fired; control dispatch's alone.
#pragma once
#include <cstdint>

struct ActionTimerRecord {
    uint32_t directionTick = 0;
    uint32_t brakeTick = 0;  // shared by the three brakes
    uint32_t doorTick = 0;   // shared by both sides
    uint32_t panelPositionTick = 0;
    uint32_t reloadTick = 0;
    uint32_t enterExitTick = 0;
    uint32_t consoleTick = 0;
};

extern ActionTimerRecord ActionTimers;
