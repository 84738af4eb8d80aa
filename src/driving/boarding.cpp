// Boarding a nearby freight or metro train, and leaving it.
#include <cmath>
#include <cstdint>
#include <cstring>

#include "driving/drive_state.h"
#include "driving/step_pacing.h"
#include "host/natives.h"
#include "log/log.h"
#include "overlay/overlay_state.h"
#include "settings/settings.h"

DriveRecord DriveState;

namespace {

constexpr int DriverSeat = -1;
constexpr int NearbyCapacity = 10;
constexpr float MaxBoardingSpeed = 1000.0f;

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

// The distance rule of the settings; metro trains post the distance to
// their boarding point whatever the outcome, and again after a success.
// Both distances are kept for the log.
bool CloseEnough(int train, const TrainPoints& points, bool postDistance, BoardingFigures& measured) {
    Vector3 origin = OffsetToWorld(train, 0.0f, 0.0f, 0.0f);
    Vector3 boarding = PointOf(train, points.boarding);
    Vector3 player = PositionOfEntity(GetPlayerCharacter(), 1);
    float toBoarding = Distance(boarding, player);
    measured = {train, points.model, toBoarding, Distance(origin, player), 0.0f};
    if (postDistance) SetConsoleMessage(FormatNumber(toBoarding));
    bool allowed = Settings.enterRealistic ? toBoarding < 1.0f : measured.toTrain < 10.0f;
    if (allowed && postDistance) SetConsoleMessage(FormatNumber(toBoarding));
    return allowed;
}

void StopDriving() {
    DriveState.driving = false;
    HostBoardingSwitch(0);
}

void Leave() {
    const int train = DriveState.train;
    // Killed, arrested, pulled out, switched to another character, or out
    // by the game's own exit action (also on F): the player is no longer in
    // the seat, and setting them down beside the train would put them back
    // where they no longer are.
    if (OccupantOfSeat(train, DriverSeat) != GetPlayerCharacter()) {
        StopDriving();
        LogDriveEnd(train, DriveEnd::ByFOutOfSeat);
        return;
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
            LogDriveEnd(train, DriveEnd::ByFTrainGone);
        } else {
            LogStillDriving(train);
        }
        return;
    }
    PlaceEntity(GetPlayerCharacter(), exit.x, exit.y, exit.z);
    StopDriving();
    LogDriveEnd(train, DriveEnd::ByF);
}

void Board() {
    const int train = FindNearbyTrain();
    BoardingFigures figures;
    figures.train = train;
    if (train == 0) return LogBoarding(BoardingResult::NoTrainNear, figures);
    if (IsVehicleModel(train, "freight")) {
        if (!CloseEnough(train, FreightPoints, false, figures)) return LogBoarding(BoardingResult::TooFar, figures);
    } else if (IsVehicleModel(train, "metrotrain")) {
        if (!CloseEnough(train, MetroPoints, true, figures)) return LogBoarding(BoardingResult::TooFar, figures);
    } else {
        return LogBoarding(BoardingResult::OtherModel, figures);
    }
    const int driver = OccupantOfSeat(train, DriverSeat);
    if (driver != 0) PlaceEntity(driver, 0.0f, 0.0f, 0.0f);
    PutCharacterInSeat(GetPlayerCharacter(), train, DriverSeat);
    DriveState.driving = true;
    DriveState.train = train;
    // A NaN or infinite speed from the host would stick in the model for
    // good (no comparison holds, the direction could never change again),
    // and so would a huge one: at 2,000,000 a brake or drag step is lost to
    // rounding. Nothing in the game moves at 1,000 (3,600 km/h).
    figures.gameSpeed = SpeedOfEntity(DriveState.train);
    const float speed = figures.gameSpeed;
    DriveState.speed = std::isfinite(speed) && speed <= MaxBoardingSpeed ? speed : 0.0f;
    RestartStepPacing();
    HostBoardingSwitch(1);
    LogBoarding(BoardingResult::Boarded, figures);
}

}  // namespace

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

void EndDriveOfLastSession() {
    const bool wasDriving = DriveState.driving;
    const int train = DriveState.train;
    DriveState.driving = false;
    DriveState.train = 0;
    DriveState.speed = 0.0f;
    if (!wasDriving) return;
    HostBoardingSwitch(0);
    LogDriveEnd(train, DriveEnd::GameReload);
}

void ToggleBoarding() {
    if (DriveState.driving)
        Leave();
    else
        Board();
}
