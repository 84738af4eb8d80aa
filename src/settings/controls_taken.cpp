// Which of the game's controls each list takes: a control is on a key when
// its default key is one of the physical keys that fire a binding, as the
// key table counts them (a generic modifier both sides, a navigation code
// the keypad key too), and on a pad button when its default button is one.
#include "settings/controls_taken.h"

#include <iterator>

#include "driving/pad_controls_state.h"
#include "settings/controls_taken_state.h"
#include "settings/settings.h"

ControlsTakenRecord ControlsTaken;

namespace {

// Up to two physical keys for each of the thirteen bindings.
struct KeySet {
    uint8_t keys[30];
    int count = 0;
};

void AddBinding(KeySet& set, uint32_t binding) {
    uint8_t keys[2] = {};
    const int count = KeysFiringBinding(binding, keys);
    for (int i = 0; i < count; ++i) set.keys[set.count++] = keys[i];
}

bool OnButtons(const GameControl& control, const PadButton* buttons, int count) {
    for (int i = 0; i < count; ++i)
        if (control.pad == buttons[i]) return true;
    return false;
}

void Fill(ControlList& list, const KeySet& keys, const PadButton* buttons, int buttonCount) {
    list.count = 0;
    for (uint16_t index = 0; index < GameControlCount; ++index) {
        const GameControl& control = GameControls[index];
        if (ControlOnKeys(control, keys.keys, keys.count) || OnButtons(control, buttons, buttonCount))
            list.controls[list.count++] = index;
    }
}

}  // namespace

void WorkOutControlsTaken() {
    const SettingsRecord& s = Settings;
    KeySet driving;
    for (uint32_t binding : {s.throttleUpKey, s.throttleDownKey, s.brakeLightKey, s.brakeMediumKey, s.brakeHardKey,
                             s.changeDirectionKey, s.openLeftDoorsKey, s.openRightDoorsKey, s.toggleGuiPositionKey,
                             s.enterExitKey, s.toggleConsoleKey, s.reloadIniFileModifierKey, s.reloadIniFileKey})
        AddBinding(driving, binding);
    KeySet enterExit;
    AddBinding(enterExit, s.enterExitKey);

    PadButton drivingButtons[std::size(PadControlsWhileDriving)];
    int buttonCount = 0;
    for (uint16_t control : PadControlsWhileDriving) drivingButtons[buttonCount++] = GameControls[control].pad;
    const PadButton boardingButton = GameControls[PadControl::Board].pad;

    ControlsTakenRecord& taken = ControlsTaken;
    Fill(taken.whileDriving, driving, nullptr, 0);
    Fill(taken.whileDrivingWithPad, driving, drivingButtons, buttonCount);
    Fill(taken.atCabDoor, enterExit, nullptr, 0);
    Fill(taken.atCabDoorWithPad, enterExit, &boardingButton, 1);
}
