// The drive in progress, or the last one: the model keeps driving a train
// the player has left.
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

// Boarding and leaving.
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
// The natives of a press, in its order, and nothing else: no console
// post, nobody moved.
BoardingLook LookForTrainToBoard();
int FindNearbyTrain();
bool IsVehicleModel(int vehicle, const char* modelName);
void ToggleBoarding();
// Every pass, before the keys: a drive the player left some other way than
// by F (killed, arrested, pulled out, switched character, the game's own
// exit) or whose train is gone ends here, with nobody moved.
void EndDriveIfPlayerLeftSeat();
// After a game reload: no drive, no train; throttle, brake and direction stay.
void EndDriveOfLastSession();

// The speed model, once per frame.
void UpdateSpeed();

// Doors on one side of the driven train and its first carriage.
void OpenLeftDoors();
void OpenRightDoors();

// Keys to actions, once per frame.
void HandleControls();
// First in a pass: while driving, the game's controls on every key of ours
// that acts then; on foot where the hint says the enter/exit key boards,
// that key's; anywhere else none.
void TakeGameControlsForPass(bool atBoardingCabDoor);
