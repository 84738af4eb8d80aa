// Doors: the train's tested door decides for all four doors of a side,
// the train's own two and the matching two of its first carriage.
#include "driving/driving.h"
#include "host/natives.h"

namespace {

struct DoorSide {
    int tested;
    int trainDoors[2];
    int carriageDoors[2];  // the other parity on the carriage
};
constexpr DoorSide LeftSide{0, {0, 2}, {1, 3}};
constexpr DoorSide RightSide{1, {1, 3}, {0, 2}};

void ToggleDoors(const DoorSide& side) {
    const int train = DriveState.train;
    const int carriage = CarriageOf(train, 1);
    if (DoorIsOpen(train, side.tested) != 0) {
        for (int door : side.trainDoors) ShutDoor(train, door, 0);
        for (int door : side.carriageDoors) ShutDoor(carriage, door, 1);
    } else {
        for (int door : side.trainDoors) OpenDoor(train, door);
        for (int door : side.carriageDoors) OpenDoor(carriage, door);
    }
}

}  // namespace

void OpenLeftDoors() { ToggleDoors(LeftSide); }

void OpenRightDoors() { ToggleDoors(RightSide); }
