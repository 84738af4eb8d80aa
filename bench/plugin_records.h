// White-box access to the plug-in's overlay record, for the states of a
// scene no key reaches in reasonable time: a console history of 100,000
// messages, an empty one, the panel put back before each busiest pass.
#pragma once
#include "overlay/overlay_state.h"

// Finds the record of the plug-in loaded now; again after every sim::Load.
void FindPluginRecords();
OverlayRecord& PluginOverlay();
