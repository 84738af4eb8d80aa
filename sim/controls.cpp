// The game's side of its controls: which are pressed this frame (from the
// keys and pad buttons held, through the plug-in's own table of defaults),
// which a script disabled, the natives that read them, and what the game
// does on a control just pressed and not disabled once the script yields.
#include <cstring>

#include "host/game_controls.h"
#include "sim/host_internal.h"
#include "sim/sim.h"

namespace sim {
namespace {

static_assert(static_cast<int>(pad::A) == static_cast<int>(PadButton::A) &&
                  static_cast<int>(pad::Start) == static_cast<int>(PadButton::Start),
              "the simulated pad names the plug-in's buttons");

constexpr int ButtonCount = static_cast<int>(PadButton::RightStick) + 1;
constexpr float CarReach = 3.0f;
constexpr int SwitchFirst = 166, SwitchLast = 169, CharacterWheel = 19, Enter = 23, VehicleExit = 75;

// A control is worked out from its keys and button only when asked: the
// keys and buttons are taken as the frame begins, which is all the game
// reads of them in a frame.
struct PadSnapshot {
    bool down[ButtonCount] = {};
    float travel[ButtonCount] = {};  // LT and RT
};

struct ControlsState {
    bool disabled[GameControlCount] = {};
    bool buttonDown[ButtonCount] = {};
    bool buttonPressed[ButtonCount] = {};  // went down since the last frame began
    float travel[ButtonCount] = {};  // LT and RT
    bool keyboardLast = true;
    PadSnapshot padAtFrame, padAtLastFrame;
    bool buttonPressedBeforeFrame[ButtonCount] = {};
    int vehicleAtStart = 0;  // the player's vehicle when the frame's input came
    Vec3 positionAtStart;
    GameReactions reacted;
};

ControlsState& Controls() {
    static ControlsState state;
    return state;
}

bool ButtonHeld(const PadSnapshot& pad, PadButton button) {
    const int b = static_cast<int>(button);
    return b > 0 && (pad.down[b] || pad.travel[b] > 0.0f);
}

template <typename Test>
bool AnyKey(const GameControl& control, Test test) {
    for (uint8_t key : control.keys)
        if (key != 0 && test(key)) return true;
    return false;
}

bool Pressed(const ControlsState& c, int control) {
    const GameControl& own = GameControls[control];
    return AnyKey(own, keyboard::PhysicalKeyHeld) || ButtonHeld(c.padAtFrame, own.pad);
}

// A tap between two frames is a press the game sees, though the key is up
// again as the frame begins and was down as the last one began.
bool JustPressed(const ControlsState& c, int control) {
    const GameControl& own = GameControls[control];
    if (!Pressed(c, control)) return false;
    const bool was = AnyKey(own, keyboard::PhysicalKeyHeldLastFrame) || ButtonHeld(c.padAtLastFrame, own.pad);
    return !was || AnyKey(own, keyboard::PhysicalKeyPressedSinceLastFrame) ||
           c.buttonPressedBeforeFrame[static_cast<int>(own.pad)];
}

int ControlOf(uint64_t slot) {
    const int control = static_cast<int>(static_cast<uint32_t>(slot));
    return control >= 0 && control < GameControlCount ? control : -1;
}

uint64_t FromFloat(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

bool Acts(const ControlsState& c, int control) { return JustPressed(c, control) && !c.disabled[control]; }

}  // namespace

void PadDown(pad::Button button) {
    if (!Controls().buttonDown[button]) Controls().buttonPressed[button] = true;
    Controls().buttonDown[button] = true;
    Controls().keyboardLast = false;
}

void PadUp(pad::Button button) { Controls().buttonDown[button] = false; }

void SetTrigger(pad::Button trigger, float travel) {
    Controls().travel[trigger] = travel;
    if (travel > 0.0f) Controls().keyboardLast = false;
}

void ReleasePad() {
    ControlsState& c = Controls();
    std::memset(c.buttonDown, 0, sizeof c.buttonDown);
    for (float& t : c.travel) t = 0.0f;
}

bool KeyboardLastUsed() { return Controls().keyboardLast; }

const GameReactions& GameReacted() { return Controls().reacted; }

bool ControlDisabled(int control) {
    return control >= 0 && control < GameControlCount && Controls().disabled[control];
}

namespace controls {

void Reset() { Controls() = ControlsState{}; }

void KeyboardUsed() { Controls().keyboardLast = true; }

void BeginFrame() {
    ControlsState& c = Controls();
    std::memset(c.disabled, 0, sizeof c.disabled);
    keyboard::BeginFrame();
    c.padAtLastFrame = c.padAtFrame;
    std::memcpy(c.padAtFrame.down, c.buttonDown, sizeof c.buttonDown);
    std::memcpy(c.padAtFrame.travel, c.travel, sizeof c.travel);
    std::memcpy(c.buttonPressedBeforeFrame, c.buttonPressed, sizeof c.buttonPressed);
    std::memset(c.buttonPressed, 0, sizeof c.buttonPressed);
    c.vehicleAtStart = Get(Player()).seatedIn;
    c.positionAtStart = Get(Player()).position;
    c.reacted = GameReactions{};
}

bool Answer(uint64_t hash, const uint64_t* args, uint64_t* slots) {
    ControlsState& c = Controls();
    switch (hash) {
    case 0xFE99B66D079CF6BCull:  // DISABLE_CONTROL_ACTION
        if (const int control = ControlOf(args[1]); control >= 0) c.disabled[control] = true;
        return true;
    case 0xE2587F8CBBD87B1Dull:  // IS_DISABLED_CONTROL_PRESSED
        if (const int control = ControlOf(args[1]); control >= 0) slots[0] = Pressed(c, control) ? 1 : 0;
        return true;
    case 0x91AEF906BCA88877ull:  // IS_DISABLED_CONTROL_JUST_PRESSED
        if (const int control = ControlOf(args[1]); control >= 0) slots[0] = JustPressed(c, control) ? 1 : 0;
        return true;
    case 0x11E65974A982637Cull:  // GET_DISABLED_CONTROL_NORMAL: a key or button all the way, a trigger its travel
        if (const int control = ControlOf(args[1]); control >= 0) {
            const GameControl& own = GameControls[control];
            const int pad = static_cast<int>(own.pad);
            float normal = AnyKey(own, keyboard::PhysicalKeyHeld) || c.padAtFrame.down[pad] ? 1.0f : 0.0f;
            if (c.padAtFrame.travel[pad] > normal) normal = c.padAtFrame.travel[pad];
            slots[0] = FromFloat(normal);
        }
        return true;
    case 0xA571D46727E2B718ull:  // IS_USING_KEYBOARD_AND_MOUSE
        slots[0] = c.keyboardLast ? 1 : 0;
        return true;
    default: return false;
    }
}

// As the game's own code runs after the scripts of its frame: on the input
// that frame brought, where the player was when it came.
const GameReactions& React() {
    ControlsState& c = Controls();
    GameReactions& r = c.reacted;
    for (int control = SwitchFirst; control <= SwitchLast; ++control) r.switchedCharacter |= Acts(c, control);
    r.wheelShown = Pressed(c, CharacterWheel) && !c.disabled[CharacterWheel];
    if (c.vehicleAtStart != 0) {
        r.ownExit = Acts(c, VehicleExit);
    } else if (Acts(c, Enter)) {
        const int car = world::VehicleWithinReach(c.positionAtStart, CarReach);
        if (car != 0) SeatDriver(car, Player());
        r.enteredCar = car != 0;
    }
    if (r.switchedCharacter) {
        world::Unseat(Player());
        SwitchPlayerCharacter();
    } else if (r.ownExit && Get(Player()).seatedIn != 0) {
        const Vec3 at = Get(Get(Player()).seatedIn).position;
        PlacePlayer({at.x - 2.5f, at.y, at.z});
    }
    return r;
}

}  // namespace controls
}  // namespace sim
