// The game's controls on the keys and buttons Velquorin acts on, worked
// out from the bindings at each settings load, so that a pass only issues
// them: no lookup, no allocation. Each list is in index order, each
// control once.
#pragma once
#include <cstdint>

#include "host/game_controls.h"

struct ControlList {
    uint16_t controls[GameControlCount];
    uint16_t count = 0;
};

struct ControlsTakenRecord {
    // While driving: the controls on every key a binding acting then is
    // fired by (the driving keys, enter/exit, the console, both keys of
    // the reload chord); with the pad in use, also every control on the
    // pad's driving buttons.
    ControlList whileDriving;
    ControlList whileDrivingWithPad;
    // At a cab door the hint says the enter/exit key boards at: that key's
    // controls (enter a vehicle, arrest); with the pad in use, Y's too.
    ControlList atCabDoor;
    ControlList atCabDoorWithPad;
};

extern ControlsTakenRecord ControlsTaken;
