// The pad's buttons that drive a train, each by the game's control it is
// read through (the control the game binds that button to in a vehicle,
// and Y's on foot): data, read by dispatch and by the settings' list of
// the controls taken from the game.
#pragma once
#include <cstdint>

namespace PadControl {
constexpr uint16_t ThrottleUp = 71;    // RT, the game's accelerate: a trigger
constexpr uint16_t ThrottleDown = 72;  // LT, the game's brake: a trigger
constexpr uint16_t BrakeLight = 73;    // A
constexpr uint16_t BrakeMedium = 99;   // X
constexpr uint16_t BrakeHard = 76;     // RB, the game's handbrake
constexpr uint16_t Direction = 68;     // LB
constexpr uint16_t LeftDoors = 85;     // D-pad left
constexpr uint16_t RightDoors = 74;    // D-pad right
constexpr uint16_t PanelPosition = 19; // D-pad down
constexpr uint16_t Leave = 75;         // Y, the game's own leave
constexpr uint16_t Board = 23;         // Y on foot, the game's own enter
}  // namespace PadControl

constexpr uint16_t PadControlsWhileDriving[] = {
    PadControl::ThrottleUp, PadControl::ThrottleDown, PadControl::BrakeLight, PadControl::BrakeMedium,
    PadControl::BrakeHard,  PadControl::Direction,    PadControl::LeftDoors,  PadControl::RightDoors,
    PadControl::PanelPosition, PadControl::Leave,
};

// Beyond half its travel a trigger counts as held.
constexpr float TriggerHeldAbove = 0.5f;
