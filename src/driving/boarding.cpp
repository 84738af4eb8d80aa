// Boarding a nearby freight or metro train, and leaving it.
#include <cmath>
#include <cstdint>
#include <cstring>

#include "driving/driving.h"
#include "driving/step_pacing.h"
#include "host/natives.h"
#include "host/platform.h"
#include "settings/settings.h"

DriveRecord DriveState;

namespace {

constexpr int DriverSeat = -1;
constexpr int NearbyCapacity = 10;
constexpr float MaxBoardingSpeed = 1000.0f;
// The game may finish seating the player a frame or two after it was told
// to; a seat that has not held the player for this long has been left.
constexpr uint32_t SeatLostMilliseconds = 500;

// The 88-byte layout ListNearbyVehicles fills: a capacity word, then ten
// 8-byte slots whose low 32 bits hold a vehicle handle.
struct NearbyVehicleBuffer {
    int32_t capacity;
    uint32_t unused;
    struct Slot {
        int32_t handle;
        uint32_t unused;
    } slots[NearbyCapacity];
};
static_assert(sizeof(NearbyVehicleBuffer) == 88, "the host expects 88 bytes");

struct TrainPoints {
    const char* model;
    Vector3 boarding;
    Vector3 exit;
};
constexpr TrainPoints FreightPoints{"freight", {1.3f, 3.5f, 1.5f}, {1.3f, 3.5f, 0.5f}};
constexpr TrainPoints MetroPoints{"metrotrain", {-2.0f, 3.25f, 1.0f}, {-2.0f, 3.25f, 1.0f}};

float Distance(const Vector3& a, const Vector3& b) {
    float dx = a.x - b.x;
    float dy = a.y - b.y;
    float dz = a.z - b.z;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

Vector3 PointOf(int train, const Vector3& offset) { return OffsetToWorld(train, offset.x, offset.y, offset.z); }

void StopDriving() {
    DriveState.driving = false;
    HostBoardingSwitch(0);
}

// A leave without the exit point: the player is elsewhere already, and a
// gone train has no exit point. The left train keeps being driven.
DriveEnding EndUnseatedDrive(DriveEnd how) {
    StopDriving();
    return DriveEnding{true, DriveState.train, how};
}

EnterExitOutcome Left(int train, DriveEnd how) {
    EnterExitOutcome outcome;
    outcome.result = EnterExitResult::Left;
    outcome.train = train;
    outcome.end = how;
    return outcome;
}

}  // namespace

EnterExitOutcome LeaveTrain() {
    const int train = DriveState.train;
    // Killed, arrested, pulled out, switched to another character, or out
    // by the game's own exit action (also on F): the player is no longer in
    // the seat, and setting them down beside the train would put them back
    // where they no longer are.
    if (OccupantOfSeat(train, DriverSeat) != GetPlayerCharacter()) {
        StopDriving();
        return Left(train, DriveEnd::ByFOutOfSeat);
    }
    Vector3 exit;
    if (IsVehicleModel(train, "freight")) {
        exit = PointOf(train, FreightPoints.exit);
    } else if (IsVehicleModel(train, "metrotrain")) {
        exit = PointOf(train, MetroPoints.exit);
    } else {
        // A model of 0: the train is gone, deleted by the game or another
        // script. There is no exit point to go to, but the player must not
        // stay "driving" for the rest of the session. Any other model keeps
        // the player in the seat.
        if (ModelOfEntity(train) == 0) {
            StopDriving();
            return Left(train, DriveEnd::ByFTrainGone);
        }
        EnterExitOutcome still;
        still.result = EnterExitResult::StillDriving;
        still.train = train;
        return still;
    }
    PlaceEntity(GetPlayerCharacter(), exit.x, exit.y, exit.z);
    StopDriving();
    return Left(train, DriveEnd::ByF);
}

EnterExitOutcome BoardTrain(const BoardingLook& look) {
    EnterExitOutcome outcome;
    outcome.look = look;
    outcome.train = look.train;
    const int train = look.train;
    const int driver = OccupantOfSeat(train, DriverSeat);
    if (driver != 0) PlaceEntity(driver, 0.0f, 0.0f, 0.0f);
    PutCharacterInSeat(GetPlayerCharacter(), train, DriverSeat);
    DriveState.driving = true;
    DriveState.seatLost = false;
    DriveState.train = train;
    // A NaN or infinite speed from the host would stick in the model for
    // good (no comparison holds, the direction could never change again),
    // and so would a huge one: at 2,000,000 a brake or drag step is lost to
    // rounding. Nothing in the game moves at 1,000 (3,600 km/h).
    outcome.gameSpeed = SpeedOfEntity(DriveState.train);
    const float speed = outcome.gameSpeed;
    DriveState.speed = std::isfinite(speed) && speed <= MaxBoardingSpeed ? speed : 0.0f;
    RestartStepPacing();
    HostBoardingSwitch(1);
    outcome.result = EnterExitResult::Boarded;
    return outcome;
}

BoardingLook LookForTrainToBoard() {
    BoardingLook look;
    look.train = FindNearbyTrain();
    if (look.train == 0) return look;
    const TrainPoints* points = nullptr;
    if (IsVehicleModel(look.train, "freight")) {
        points = &FreightPoints;
    } else if (IsVehicleModel(look.train, "metrotrain")) {
        points = &MetroPoints;
        look.metro = true;
    } else {
        look.verdict = BoardingVerdict::OtherModel;
        return look;
    }
    const Vector3 origin = OffsetToWorld(look.train, 0.0f, 0.0f, 0.0f);
    const Vector3 boarding = PointOf(look.train, points->boarding);
    const Vector3 player = PositionOfEntity(GetPlayerCharacter(), 1);
    look.toBoardingPoint = Distance(boarding, player);
    look.toOrigin = Distance(origin, player);
    look.realistic = Settings.enterRealistic;
    const bool allowed = look.realistic ? look.toBoardingPoint < CabDoorReach : look.toOrigin < TrainReach;
    look.verdict = allowed ? BoardingVerdict::Boards : BoardingVerdict::TooFar;
    return look;
}

int FindNearbyTrain() {
    NearbyVehicleBuffer buffer;
    std::memset(&buffer, 0, sizeof buffer);
    buffer.capacity = NearbyCapacity;
    int count = ListNearbyVehicles(GetPlayerCharacter(), &buffer);
    // The host promises at most the capacity; a count outside 0..10 is
    // clamped so no slot beyond the buffer is ever read.
    if (count < 0) count = 0;
    if (count > NearbyCapacity) count = NearbyCapacity;
    for (int i = 0; i < count; ++i) {
        int vehicle = buffer.slots[i].handle;
        if (vehicle == 0) continue;
        if (IsTrainModel(ModelOfEntity(vehicle)) != 0) return vehicle;
    }
    return 0;
}

bool IsVehicleModel(int vehicle, const char* modelName) {
    int wanted = HashOfName(modelName);
    return ModelOfEntity(vehicle) == wanted;
}

DriveEnding EndDriveOfLastSession() {
    const bool wasDriving = DriveState.driving;
    const int train = DriveState.train;
    DriveState.driving = false;
    DriveState.train = 0;
    DriveState.speed = 0.0f;
    if (!wasDriving) return DriveEnding{};
    HostBoardingSwitch(0);
    return DriveEnding{true, train, DriveEnd::GameReload};
}

DriveEnding EndDriveIfPlayerLeftSeat() {
    if (!DriveState.driving) return DriveEnding{};
    const int train = DriveState.train;
    // An empty seat (0) holds no player, even when the host answers 0 for
    // the player as well.
    const int occupant = OccupantOfSeat(train, DriverSeat);
    if (occupant != 0 && occupant == GetPlayerCharacter()) {
        DriveState.seatLost = false;
        return DriveEnding{};
    }
    // A deleted train's seat is empty too; its model tells the two apart.
    if (ModelOfEntity(train) == 0) return EndUnseatedDrive(DriveEnd::TrainGone);
    const uint32_t now = static_cast<uint32_t>(GetTickCount());
    if (!DriveState.seatLost) {
        DriveState.seatLost = true;
        DriveState.seatLostSince = now;
    } else if (now - DriveState.seatLostSince >= SeatLostMilliseconds) {
        return EndUnseatedDrive(DriveEnd::SeatCheck);
    }
    return DriveEnding{};
}
