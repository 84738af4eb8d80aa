// The drive in progress, or the last one: the model keeps driving a train
// the player has left. And what boarding, leaving and the seat check come
// to, for the hint and the log.
#pragma once
#include <cstdint>

struct DriveRecord {
    int train = 0;          // handle of the train last boarded; 0 again after a game reload
    bool driving = false;
    float speed = 0.0f;     // the model's speed, in the game's speed unit
    float throttle = 0.0f;  // percent, whole steps from 0 to 100
    int brakeLevel = 0;     // 0 released, 1 light, 2 medium, 3 hard
    int direction = 1;      // +1 forward, -1 backward
    // While driving: whether the driver's seat has stopped holding the
    // player, and the tick of the first pass that found it so.
    bool seatLost = false;
    uint32_t seatLostSince = 0;
};

extern DriveRecord DriveState;

// The boarding rule's reach, in metres, both strict: from the model's cab
// door with enter_realistic=1, from the train's origin with 0.
constexpr float CabDoorReach = 1.0f;
constexpr float TrainReach = 10.0f;

enum class BoardingVerdict { NoTrain, OtherModel, TooFar, Boards };
// What the enter/exit key would find where the player stands: the train
// listed first, and for a freight or metro train the two distances the
// boarding rule of the settings is tested on.
struct BoardingLook {
    BoardingVerdict verdict = BoardingVerdict::NoTrain;
    int train = 0;
    bool metro = false;
    bool realistic = false;  // the rule applied: the cab door's distance, not the origin's
    float toBoardingPoint = 0.0f;
    float toOrigin = 0.0f;
};

// Every way a drive ends, by the enter/exit key or not.
enum class DriveEnd {
    ByF,           // set down at the exit point
    ByFOutOfSeat,  // F, but the player was no longer in the seat
    ByFTrainGone,  // F, but the train was gone
    SeatCheck,     // the player was found out of the seat
    TrainGone,     // the train was found gone
    GameReload,
};
// A drive that ended without a press, or none.
struct DriveEnding {
    bool ended = false;
    int train = 0;
    DriveEnd how = DriveEnd::SeatCheck;
};

// What one press of the enter/exit key came to.
enum class EnterExitResult { Boarded, NotBoarded, Left, StillDriving };
struct EnterExitOutcome {
    EnterExitResult result = EnterExitResult::NotBoarded;
    int train = 0;
    BoardingLook look;       // on foot: what the press found
    float gameSpeed = 0.0f;  // boarded: the train's speed as the game gave it
    DriveEnd end = DriveEnd::ByF;  // left: how
};
