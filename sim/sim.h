// The simulated host: a stand-in for the script-hook library and the game,
// so the plug-in's real code runs on a desk. Tests, the desk simulator and
// the benchmark drive it the way a player would: load the plug-in, place a
// train, stand beside it, press keys, run frames, read what was drawn.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace sim {

struct Vec3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

// ---------------------------------------------------------------------------
// [SECTION] Loading the plug-in
// Every Load gives the plug-in load-time state: the library is loaded
// afresh and its entry runs with reason 1. Unload runs the entry with
// reason 0, drops the script fiber and unloads the library.
void Load();
void Unload();
bool Loaded();
// A plug-in linked into this program instead (the fuzz targets, which
// cannot unload a library between inputs): its entry runs like Load's, and
// Unload drops its script fiber the same way, but its globals live on, so
// the caller puts them back to load-time state before each LoadLinked.
using PluginEntry = int (*)(void* module, unsigned long reason, void* reserved);
void LoadLinked(PluginEntry entry);
// The game reloading (a save loaded, a mission replayed): the script fiber
// is abandoned where it waits, never resumed, and the next frame starts the
// script main again on a fresh fiber. The library, its globals and its
// keyboard handler stay; the world is a new one, whose entities get the
// same handle numbers again, the player's character first.
void ReloadGame();
// Runs the entry with any reason (2 and 3 are thread attach and detach).
int CallEntry(unsigned long reason);

struct Registration {
    std::string call;  // "scriptRegister", "keyboardHandlerUnregister", ...
    const void* pointer = nullptr;
    const void* module = nullptr;
};
// Every registration call since the host started, oldest first.
const std::vector<Registration>& RegistrationLog();
void ClearRegistrationLog();
bool ScriptRegistered();
bool KeyboardHandlerRegistered();

// ---------------------------------------------------------------------------
// [SECTION] Time and frames
// Time runs underneath in microseconds, so that a frame of 1/144 s can be
// stepped without drift; what the plug-in reads (GetTickCount) and Now()
// are whole milliseconds of it, as the granularity below allows.
enum class TickGranularity {
    Millisecond,  // where some program raised the timer resolution
    Coarse,       // Windows' default 64 Hz tick: steps of 15.625 ms (15 or 16)
};
// Millisecond after every Reset.
void SetTickGranularity(TickGranularity granularity);
// GetTickCount as the plug-in would read it now.
uint32_t Now();
void SetClock(uint32_t milliseconds);
void AdvanceClock(uint32_t milliseconds);
void AdvanceClockMicroseconds(uint64_t microseconds);
// Advances the clock by step, then lets the script run until it yields:
// exactly one pass of the frame loop (the first frame also runs the start).
void RunFrame(uint32_t step = 16);
void RunFrames(int count, uint32_t step = 16);
// The same with a step in microseconds: 1000000 / 144 for 144 frames a second.
void RunFrameMicroseconds(uint64_t step);
// How often the script yielded, and the last wait it asked for.
int YieldCount();
uint32_t LastWait();

// ---------------------------------------------------------------------------
// [SECTION] Keys, as Windows sends them. A physical key is named by the
// code the settings use for it (sim::key below, or a letter or F-key's own
// code); pressing it sends the window messages Windows sends, at once,
// between frames: both Shift, Control and Alt keys as the generic 16, 17
// and 18 told apart by scan code and extended flag, Alt and keys under it
// as WM_SYSKEY messages, the keypad by NumLock, and the key pressed last
// repeating while it is held. A code no key sends goes out as it is.
namespace key {
constexpr uint32_t Shift = 16, Control = 17, Alt = 18;  // the left ones
constexpr uint32_t LeftShift = 160, RightShift = 161, LeftControl = 162, RightControl = 163;
constexpr uint32_t LeftAlt = 164, RightAlt = 165;
// The right Alt of a European layout: a left Control down, then the right Alt.
constexpr uint32_t AltGr = 0x1A5;
constexpr uint32_t LeftWindows = 91, RightWindows = 92, Menu = 93;
constexpr uint32_t Numpad0 = 96, Numpad1 = 97, Numpad2 = 98, Numpad3 = 99, Numpad4 = 100, Numpad5 = 101;
constexpr uint32_t Numpad6 = 102, Numpad7 = 103, Numpad8 = 104, Numpad9 = 105, NumpadDecimal = 110;
constexpr uint32_t NumpadMultiply = 106, NumpadAdd = 107, NumpadSubtract = 109, NumpadDivide = 111;
constexpr uint32_t NumpadEnter = 0x10D;  // 13, extended: no code of its own
constexpr uint32_t NumLock = 144;        // each press turns NumLock over
constexpr uint32_t PageUp = 33, PageDown = 34, End = 35, Home = 36, Left = 37, Up = 38, Right = 39, Down = 40;
constexpr uint32_t Insert = 45, Delete = 46;
constexpr uint32_t F1 = 112, F5 = 116, F6 = 117, F7 = 118, F10 = 121, F12 = 123;
}  // namespace key

void KeyDown(uint32_t key);  // pressing it again while down sends a repeat
void KeyUp(uint32_t key);
// Down, one frame, up: a short tap the script sees in that frame.
void TapKey(uint32_t key, uint32_t step = 16);
// On after every Reset.
void SetNumLock(bool on);
bool NumLockOn();
// Windows' default after every Reset: on, 500 ms, 30 a second. Off where a
// story counts the exact messages.
void SetKeyRepeat(bool on, uint32_t delayMilliseconds = 500, uint32_t perSecond = 30);
// One message exactly as given, past the keyboard.
void SendKeyMessage(uint32_t key, int isWithAlt, int wasDownBefore, int isUpNow, uint8_t scanCode = 0,
                    int isExtended = 0, uint16_t repeats = 1);

// ---------------------------------------------------------------------------
// [SECTION] The game's controls and a pad. The game maps keys and pad
// buttons to controls of its own (the plug-in's table of them, with each
// control's default key and button) and acts on a control just pressed
// that no script disabled in that frame. A control is pressed while a key
// or button with that default is held, or a trigger has any travel.
namespace pad {
// The order of the plug-in's PadButton.
enum Button : uint8_t { A = 1, B, X, Y, LB, RB, LT, RT, L3, R3, DpadUp, DpadDown, DpadLeft, DpadRight, Back, Start };
}  // namespace pad
void PadDown(pad::Button button);
void PadUp(pad::Button button);
// LT or RT pulled 0.0 (let go) to 1.0 (all the way).
void SetTrigger(pad::Button trigger, float travel);
// Every button up and both triggers let go.
void ReleasePad();
// Which device gave the last input: a key message, or a pad button going
// down or a trigger moving. The keyboard after every Reset.
bool KeyboardLastUsed();
// What the game did of its own in the last frame, on controls just pressed
// that no script disabled: the player's character switched (166 to 169: a
// new character handle, the old one out of its seat), the game's own exit
// from a vehicle (75: the player stands beside it), the player walked into
// a car within reach (23, on foot, a vehicle of no train model within
// 3 m), the character wheel shown (19 held).
struct GameReactions {
    bool switchedCharacter = false;
    bool ownExit = false;
    bool enteredCar = false;
    bool wheelShown = false;
};
const GameReactions& GameReacted();
// Whether the plug-in disabled the control in the last frame.
bool ControlDisabled(int control);

// ---------------------------------------------------------------------------
// [SECTION] The game world
struct Entity {
    int handle = 0;
    enum Kind { Character, Vehicle } kind = Character;
    std::string model;  // vehicles: "freight", "metrotrain", ...
    Vec3 position;
    float speed = 0.0f;          // what SpeedOfEntity reports
    float appliedSpeed = 0.0f;   // the last ApplyTrainSpeed value
    int applyCount = 0;
    int driver = 0;              // character in seat -1
    int carriage = 0;            // the vehicle CarriageOf gives for index 1
    bool doors[4] = {false, false, false, false};
    int seatedIn = 0;            // characters: the vehicle they sit in (IsCharacterInAnyVehicle)
    bool listed = true;          // carriages are not listed as nearby
};

int Player();
Entity& Get(int handle);
bool Exists(int handle);
// A train of the given model with one carriage behind it; it is listed as
// near the player wherever it stands.
int AddTrain(const std::string& model, Vec3 position, float speed = 0.0f);
// Any other vehicle: listed as near, never a train. SeatDriver puts a
// character, the player too, in its driver's seat.
int AddCar(const std::string& model, Vec3 position);
int AddCharacter(Vec3 position);
void SeatDriver(int vehicle, int character);
// The game (or another script) deleting an entity: its handle names nothing
// any more, so the natives asked about it answer 0 (its model too).
void DeleteEntity(int handle);
void PlacePlayer(Vec3 position);
// The player switching to another playable character, standing where the
// old one was: the player's character is a new handle from now on.
int SwitchPlayerCharacter();
// The order ListNearbyVehicles reports; by default every vehicle, oldest
// first. A list may hold 0 (an empty slot) and handles of no vehicle.
void SetNearbyList(const std::vector<int>& handles);
int BoardingSwitch();  // last HostBoardingSwitch value, -1 before any
uint32_t ModelHash(const std::string& name);

// Each frame every train moves along +y by its applied speed.
void SetTrainsMove(bool move);

// ---------------------------------------------------------------------------
// [SECTION] What the plug-in asked of the host
struct NativeCall {
    uint64_t hash = 0;
    const char* name = "";
    std::vector<uint64_t> args;  // raw 64-bit pushes
    std::string text;            // the text or name a pointer argument pointed to
    int ArgInt(size_t i) const { return static_cast<int>(static_cast<uint32_t>(args.at(i))); }
    float ArgFloat(size_t i) const;
};
// Native calls of the last frame (or since the last ClearTrace), in order.
const std::vector<NativeCall>& Trace();
void ClearTrace();
std::vector<NativeCall> CallsTo(const char* name);
// Off for benchmarks: then the host neither records nor allocates.
void SetTracing(bool on);
// The settings file reads of the last frame, in order, as calls:
// GetPrivateProfileIntA("keys", "throttle_up", 87, ".\Velquorin.ini") and
// GetPrivateProfileStringA("keys", "throttle_up", "", 100, ".\Velquorin.ini").
const std::vector<std::string>& ProfileCalls();

struct DrawnText {
    std::string text;
    float x = 0, y = 0, scale = 0;
    int alpha = 0;
};
struct DrawnBox {
    float x = 0, y = 0, width = 0, height = 0;
    int alpha = 0;
};
const std::vector<DrawnText>& TextsDrawn();  // this frame's lines, in order
const std::vector<DrawnBox>& BoxesDrawn();
// The driver panel's lines this frame (texts at scale 0.3 other than the
// console's message text), or empty when no panel was drawn.
std::vector<std::string> PanelLines();
// The console's message text as drawn this frame, or "" when not drawn.
std::string ConsoleTextDrawn();
bool ConsoleDrawn();

// Broken promises: an unknown hash, a wrong argument count, a 32-bit
// argument with a nonzero high half, a wait other than 0. Tests fail on any.
const std::vector<std::string>& Faults();
void ClearFaults();

// A hostile host: when set, called for every native before the world; a
// true result means the hook wrote the answer into the slots (and, for
// ListNearbyVehicles, into the buffer) and the world is not asked.
using NativeHook = std::function<bool(uint64_t hash, const std::vector<uint64_t>& args, uint64_t* slots)>;
void SetNativeHook(NativeHook hook);

// The whole scenario as canonical text, byte-equal on every build for
// equal behaviour: from BeginScenarioTrace on, while tracing is on, every
// load, unload, key message and frame, each native with its arguments (a
// text argument as its text, the vehicle list as a marker) and the result
// slots up to the last one not zero, and after each frame the panel's
// lines and the console's text as drawn, and every fault. Reset keeps it
// going.
void BeginScenarioTrace();
// Writes it to path (making the folder) and stops; false if it cannot.
bool EndScenarioTrace(const std::string& path);

// ---------------------------------------------------------------------------
// [SECTION] Heap allocations
// Every malloc, calloc, realloc and strdup since the program started
// (operator new allocates through malloc). Linux: the whole process's,
// where the program links sim/alloc_count_posix.cpp. Windows: those made
// through the msvcrt imports of the plug-in, the host and the program,
// pointed at counting wrappers when the plug-in loads; what msvcrt and
// Windows allocate inside their own functions is not seen.
uint64_t AllocationCount();

// ---------------------------------------------------------------------------
// [SECTION] Files
// A fresh empty working directory, made current; returns its path.
std::string UseFreshWorkingDirectory();
void WriteSettingsFile(const std::string& text);
// Starts the host over: empty world, clock at 0, no trace, no faults.
// Load/Unload keep the world; tests call this in their set-up.
void Reset();
// The same, but a loaded plug-in stays loaded and its script stays parked
// where it waits, so the next frame resumes it instead of starting a new
// fiber (for a fuzz target that puts the plug-in's globals back itself).
void ResetKeepingPlugin();

// Linux builds only: the address of a plug-in global, for white-box tests
// (null for a linked-in plug-in, whose globals the program sees directly).
void* PluginSymbol(const char* name);

}  // namespace sim
