// The game's natives the plug-in uses, one typed function each. Every call
// is nativeInit(hash), one nativePush64 per argument, nativeCall(), and the
// result read at once, before any other native is called.
#pragma once
#include <cstdint>

struct Vector3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

namespace NativeHash {
constexpr uint64_t GetPlayerCharacter = 0xD80958FC74E988A6ull;
constexpr uint64_t PositionOfEntity = 0x3FEF770D40960D5Aull;
constexpr uint64_t ListNearbyVehicles = 0xCFF869CBFA210D82ull;
constexpr uint64_t ModelOfEntity = 0x9F47B058362C84B5ull;
constexpr uint64_t IsTrainModel = 0xAB935175B22E822Bull;
constexpr uint64_t HashOfName = 0xD24D37CC275948CCull;
constexpr uint64_t OffsetToWorld = 0x1899F328B0E12848ull;
constexpr uint64_t PlaceEntity = 0x06843DA7060A026Bull;
constexpr uint64_t OccupantOfSeat = 0xBB40DD2270B65366ull;
constexpr uint64_t PutCharacterInSeat = 0xF75B0D629E1C063Dull;
constexpr uint64_t SpeedOfEntity = 0xD5037BA82E12416Full;
constexpr uint64_t ApplyTrainSpeed = 0xAA0BC91BE0B796E3ull;
constexpr uint64_t HostBoardingSwitch = 0x1098355A16064BB3ull;
constexpr uint64_t IsCharacterInAnyVehicle = 0x997ABD671D25CA0Bull;
constexpr uint64_t CarriageOf = 0x08AAFD0814722BC3ull;
constexpr uint64_t DoorIsOpen = 0x3E933CFF7B111C22ull;
constexpr uint64_t OpenDoor = 0x7C65DAC73C35C862ull;
constexpr uint64_t ShutDoor = 0x93D9BD300D7789E5ull;
constexpr uint64_t DrawScreenRect = 0x3A618A217E5154F0ull;
constexpr uint64_t TextFont = 0x66E0276CC5F6B9DAull;
constexpr uint64_t TextScale = 0x07C837F9A01C34C9ull;
constexpr uint64_t TextColour = 0xBE6B23FFA53FB442ull;
constexpr uint64_t TextCentre = 0xC02F4DBFB51D988Bull;
constexpr uint64_t TextDropShadow = 0x465C84BC39F1C351ull;
constexpr uint64_t TextEdge = 0x441603240D202FA6ull;
constexpr uint64_t BeginTextEntry = 0x25FBB336DF1804CBull;
constexpr uint64_t AddTextString = 0x6C188BE134E074AAull;
constexpr uint64_t EndTextDraw = 0xCD015E5BB0D96A57ull;
constexpr uint64_t DISABLE_CONTROL_ACTION = 0xFE99B66D079CF6BCull;
constexpr uint64_t IS_DISABLED_CONTROL_PRESSED = 0xE2587F8CBBD87B1Dull;
constexpr uint64_t IS_DISABLED_CONTROL_JUST_PRESSED = 0x91AEF906BCA88877ull;
constexpr uint64_t GET_DISABLED_CONTROL_NORMAL = 0x11E65974A982637Cull;
constexpr uint64_t IS_USING_KEYBOARD_AND_MOUSE = 0xA571D46727E2B718ull;
}  // namespace NativeHash

// Characters and vehicles.
int GetPlayerCharacter();
Vector3 PositionOfEntity(int entity, int alive);
int ListNearbyVehicles(int character, void* buffer);
int ModelOfEntity(int entity);
int IsTrainModel(int modelHash);
int HashOfName(const char* modelName);
Vector3 OffsetToWorld(int entity, float x, float y, float z);
void PlaceEntity(int entity, float x, float y, float z);
int OccupantOfSeat(int vehicle, int seat);
void PutCharacterInSeat(int character, int vehicle, int seat);
float SpeedOfEntity(int entity);
void ApplyTrainSpeed(int train, float speed);
void HostBoardingSwitch(int boarded);
// Nonzero while the character sits in any vehicle, not while still getting in.
int IsCharacterInAnyVehicle(int character);

// Doors.
int CarriageOf(int train, int index);
int DoorIsOpen(int vehicle, int door);
void OpenDoor(int vehicle, int door);
void ShutDoor(int vehicle, int door, int flag);

// Screen drawing.
void DrawScreenRect(float x, float y, float width, float height, int alpha);
void TextFont(int font);
void TextScale(float unused, float scale);
void TextColour(int red, int green, int blue, int alpha);
void TextCentre(int centred);
void TextDropShadow();
void TextEdge();
void BeginTextEntry(const char* entryType);
void AddTextString(const char* text);
void EndTextDraw(float x, float y);

// The game's controls. Group 0 is the player's; a control disabled stays
// so for the current frame only. The IS_DISABLED_ forms read a control
// whether or not it was disabled; a trigger's normal runs 0.0 to 1.0.
// DISABLE_CONTROL_ACTION(group, control, disableRelated) once for each of
// count controls, in their order.
void DisableControlActions(int group, const uint16_t* controls, int count, int disableRelated);
int IS_DISABLED_CONTROL_PRESSED(int group, int control);
int IS_DISABLED_CONTROL_JUST_PRESSED(int group, int control);
float GET_DISABLED_CONTROL_NORMAL(int group, int control);
// Nonzero when the last input came from keyboard or mouse, 0 from a pad.
int IS_USING_KEYBOARD_AND_MOUSE(int group);
