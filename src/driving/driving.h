// The driving room's operations: control dispatch, boarding and leaving,
// the speed model, the doors.
#pragma once
#include "driving/drive_state.h"

// Control dispatch, in its fixed order. The driving keys act here (while
// driving); each of the others says whether its key fires now, and its
// action, which another room runs, is the frame pass's.
void HandleDrivingKeys();
bool PanelPositionKeyFires();
bool ReloadChordFires();
bool EnterExitKeyFires();
bool ConsoleKeyFires();
// First in a pass: while driving, the game's controls on every key of ours
// that acts then; on foot where the hint says the enter/exit key boards,
// that key's; anywhere else none. With use_gamepad on it first asks
// whether the pad gave the last input, and takes its buttons' too.
void TakeGameControlsForPass(bool atBoardingCabDoor);

// Boarding and leaving. The look asks the natives of a press, in its order,
// and nothing else: no console post, nobody moved.
BoardingLook LookForTrainToBoard();
int FindNearbyTrain();
bool IsVehicleModel(int vehicle, const char* modelName);
// Seats the player in the train a look found boardable.
EnterExitOutcome BoardTrain(const BoardingLook& look);
// Sets the player down at the driven train's exit point.
EnterExitOutcome LeaveTrain();
// Every pass, before the keys: a drive the player left some other way than
// by F (killed, arrested, pulled out, switched character, the game's own
// exit) or whose train is gone ends here, with nobody moved.
DriveEnding EndDriveIfPlayerLeftSeat();
// After a game reload: no drive, no train; throttle, brake and direction stay.
DriveEnding EndDriveOfLastSession();

// The speed model, once per frame.
void UpdateSpeed();

// Doors on one side of the driven train and its first carriage.
void OpenLeftDoors();
void OpenRightDoors();
