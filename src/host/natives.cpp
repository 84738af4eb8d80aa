// Argument encoding: a 32-bit integer travels zero-extended from its bit
// pattern (so -1 is 0x00000000FFFFFFFF), a float as its bit pattern in the
// low half, a pointer as the full address. Results come from the slots that
// nativeCall returns.
#include "host/natives.h"

#include <cstring>

#include "host/script_hook.h"

namespace {

void Push(int value) { nativePush64(static_cast<uint32_t>(value)); }

void Push(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    nativePush64(bits);
}

void Push(const void* pointer) { nativePush64(reinterpret_cast<uintptr_t>(pointer)); }

template <typename... Args>
const uint64_t* Invoke(uint64_t hash, Args... args) {
    nativeInit(hash);
    (Push(args), ...);
    return nativeCall();
}

int SlotInt(const uint64_t* slots, int index) {
    return static_cast<int>(static_cast<uint32_t>(slots[index]));
}

float SlotFloat(const uint64_t* slots, int index) {
    uint32_t bits = static_cast<uint32_t>(slots[index]);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

Vector3 SlotVector(const uint64_t* slots) {
    return Vector3{SlotFloat(slots, 0), SlotFloat(slots, 1), SlotFloat(slots, 2)};
}

}  // namespace

int GetPlayerCharacter() { return SlotInt(Invoke(NativeHash::GetPlayerCharacter), 0); }

Vector3 PositionOfEntity(int entity, int alive) {
    return SlotVector(Invoke(NativeHash::PositionOfEntity, entity, alive));
}

int ListNearbyVehicles(int character, void* buffer) {
    return SlotInt(Invoke(NativeHash::ListNearbyVehicles, character, static_cast<const void*>(buffer)), 0);
}

int ModelOfEntity(int entity) { return SlotInt(Invoke(NativeHash::ModelOfEntity, entity), 0); }

int IsTrainModel(int modelHash) { return SlotInt(Invoke(NativeHash::IsTrainModel, modelHash), 0); }

int HashOfName(const char* modelName) {
    return SlotInt(Invoke(NativeHash::HashOfName, static_cast<const void*>(modelName)), 0);
}

Vector3 OffsetToWorld(int entity, float x, float y, float z) {
    return SlotVector(Invoke(NativeHash::OffsetToWorld, entity, x, y, z));
}

void PlaceEntity(int entity, float x, float y, float z) {
    Invoke(NativeHash::PlaceEntity, entity, x, y, z, 0, 0, 0, 0);
}

// The game reads a third argument (whether a character only using the seat
// counts) and finds a stale slot when it is not pushed: 0, as the game's
// own scripts pass, keeps the plain occupant lookup.
int OccupantOfSeat(int vehicle, int seat) {
    return SlotInt(Invoke(NativeHash::OccupantOfSeat, vehicle, seat, 0), 0);
}

void PutCharacterInSeat(int character, int vehicle, int seat) {
    Invoke(NativeHash::PutCharacterInSeat, character, vehicle, seat);
}

float SpeedOfEntity(int entity) { return SlotFloat(Invoke(NativeHash::SpeedOfEntity, entity), 0); }

void ApplyTrainSpeed(int train, float speed) { Invoke(NativeHash::ApplyTrainSpeed, train, speed); }

void HostBoardingSwitch(int boarded) { Invoke(NativeHash::HostBoardingSwitch, boarded); }

// The second argument, 1, would count a character still getting in too.
int IsCharacterInAnyVehicle(int character) {
    return SlotInt(Invoke(NativeHash::IsCharacterInAnyVehicle, character, 0), 0);
}

int CarriageOf(int train, int index) { return SlotInt(Invoke(NativeHash::CarriageOf, train, index), 0); }

int DoorIsOpen(int vehicle, int door) { return SlotInt(Invoke(NativeHash::DoorIsOpen, vehicle, door), 0); }

void OpenDoor(int vehicle, int door) { Invoke(NativeHash::OpenDoor, vehicle, door, 1, 0); }

void ShutDoor(int vehicle, int door, int flag) { Invoke(NativeHash::ShutDoor, vehicle, door, flag); }

// The ninth argument and EndTextDraw's third are read by the game whether
// pushed or not; 0 is what the game's own scripts pass.
void DrawScreenRect(float x, float y, float width, float height, int alpha) {
    Invoke(NativeHash::DrawScreenRect, x, y, width, height, 0, 0, 0, alpha, 0);
}

void TextFont(int font) { Invoke(NativeHash::TextFont, font); }

void TextScale(float unused, float scale) { Invoke(NativeHash::TextScale, unused, scale); }

void TextColour(int red, int green, int blue, int alpha) {
    Invoke(NativeHash::TextColour, red, green, blue, alpha);
}

void TextCentre(int centred) { Invoke(NativeHash::TextCentre, centred); }

void TextDropShadow() { Invoke(NativeHash::TextDropShadow, 1, 1, 1, 1, 1); }

void TextEdge() { Invoke(NativeHash::TextEdge, 0, 0, 0, 0, 0); }

void BeginTextEntry(const char* entryType) {
    Invoke(NativeHash::BeginTextEntry, static_cast<const void*>(entryType));
}

void AddTextString(const char* text) { Invoke(NativeHash::AddTextString, static_cast<const void*>(text)); }

void EndTextDraw(float x, float y) { Invoke(NativeHash::EndTextDraw, x, y, 0); }

// A pass takes up to a couple of hundred controls; the loop stays beside
// the calls, so each costs the host's functions and little more.
void DisableControlActions(int group, const uint16_t* controls, int count, int disableRelated) {
    for (int i = 0; i < count; ++i) Invoke(NativeHash::DISABLE_CONTROL_ACTION, group, int{controls[i]}, disableRelated);
}

int IS_DISABLED_CONTROL_PRESSED(int group, int control) {
    return SlotInt(Invoke(NativeHash::IS_DISABLED_CONTROL_PRESSED, group, control), 0);
}

int IS_DISABLED_CONTROL_JUST_PRESSED(int group, int control) {
    return SlotInt(Invoke(NativeHash::IS_DISABLED_CONTROL_JUST_PRESSED, group, control), 0);
}

float GET_DISABLED_CONTROL_NORMAL(int group, int control) {
    return SlotFloat(Invoke(NativeHash::GET_DISABLED_CONTROL_NORMAL, group, control), 0);
}

int IS_USING_KEYBOARD_AND_MOUSE(int group) {
    return SlotInt(Invoke(NativeHash::IS_USING_KEYBOARD_AND_MOUSE, group), 0);
}
