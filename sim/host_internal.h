// Inside the simulated host: the eight script-hook functions and the clock
// as the platform glue exports them, and the glue the host needs from the
// platform (loading a library, switching fibers).
#pragma once
#include <cstdint>

#include "sim/sim.h"

namespace sim::host {
using ScriptFunction = void (*)();
using KeyboardHandler = void (*)(uint32_t key, uint16_t repeats, uint8_t scanCode, int isExtended, int isWithAlt,
                                 int wasDownBefore, int isUpNow);

void ScriptRegister(void* module, ScriptFunction script);
void ScriptUnregister(ScriptFunction script);
void KeyboardHandlerRegister(KeyboardHandler handler);
void KeyboardHandlerUnregister(KeyboardHandler handler);
void ScriptWait(uint32_t milliseconds);
void NativeInit(uint64_t hash);
void NativePush64(uint64_t value);
uint64_t* NativeCall();
uint32_t TickCount();
uint64_t ClockMicroseconds();
// The platform glue reports each profile read the plug-in makes.
void RecordProfileInt(const char* section, const char* key, int32_t defaultValue, const char* path);
void RecordProfileString(const char* section, const char* key, const char* defaultText, uint32_t size,
                         const char* path);
}  // namespace sim::host

namespace sim::platform {
// True where loading and unloading the library runs its entry (Windows);
// elsewhere the host calls it with reasons 1 and 0 itself.
bool LoaderRunsEntry();
void* LoadPlugin();                                   // the plug-in library, loaded afresh
int CallEntry(void* library, unsigned long reason);   // its DllMain
void UnloadPlugin(void* library);
void* Symbol(void* library, const char* name);
void CreateScriptFiber(void (*script)());
void SwitchToScript();  // from the host: runs the script until it yields
void SwitchToHost();    // from the script
void DeleteScriptFiber();
#ifdef _WIN32
// Points the module's import of dll!name at replacement; false when the
// module does not import it.
bool RedirectImport(void* module, const char* dll, const char* name, const void* replacement);
// Counts the module's allocations from now on (sim::AllocationCount).
void CountAllocationsOf(void* module);
#endif
}  // namespace sim::platform

namespace sim::world {
// Answers one native from the game world; false for an unknown hash.
bool Answer(uint64_t hash, const uint64_t* args, int argCount, uint64_t* slots);
void AfterFrame(float seconds);
void Reset();
// A character out of whatever seat it sits in, where it stands.
void Unseat(int character);
// The nearest vehicle of no train model within reach of a point, or 0.
int VehicleWithinReach(Vec3 at, float reach);
}  // namespace sim::world

namespace sim::controls {
void Reset();
void KeyboardUsed();
// Before the script's pass: the controls pressed from the keys and buttons
// held now, none disabled.
void BeginFrame();
// Answers a control native; false for any other hash.
bool Answer(uint64_t hash, const uint64_t* args, uint64_t* slots);
// After the pass: what the game does on the controls it was left.
const GameReactions& React();
}  // namespace sim::controls

namespace sim::keyboard {
// Every key up, NumLock on, Windows' default repeat.
void Reset();
// True, with its time, when the held key's next repeat is due by then.
bool NextRepeatBy(uint64_t untilMicroseconds, uint64_t& atMicroseconds);
void Repeat();  // sends the repeat due now
void ClockSet(uint64_t nowMicroseconds);
// The keys as the game reads them, once a frame: BeginFrame takes them as
// the frame begins. Whether the physical key the game's control table names
// by this code (160 to 165 a side of a modifier, 13 either Enter) was held
// then, was held as the frame before began, and went down (not a repeat)
// in between.
void BeginFrame();
bool PhysicalKeyHeld(uint8_t code);
bool PhysicalKeyHeldLastFrame(uint8_t code);
bool PhysicalKeyPressedSinceLastFrame(uint8_t code);
}  // namespace sim::keyboard
