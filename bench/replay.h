// A script that talks to the host exactly as a recorded pass did and does
// nothing else: the floor that a pass of the plug-in is measured against.
#pragma once
#include <vector>

#include "sim/sim.h"

// Keeps the calls, with every text pointer pointing at a live copy of the
// text and the vehicle-list buffer at one of the replay's own.
void RecordReplay(const std::vector<sim::NativeCall>& trace);
size_t ReplayedNatives();
// Registers the replay as the host's script (the plug-in unloaded first).
void StartReplayScript();
