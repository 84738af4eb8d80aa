// What the game itself does with a key Velquorin uses: its controls on
// that key by default, in a player's words, and whether Velquorin takes
// them from the game while driving or leaves them to it on foot.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "settings/settings.h"

// "leave the vehicle (75), enter a vehicle (23)": the game's controls on
// the keys that fire the binding, each once; "" when the game uses none.
std::string GameUseOfBinding(uint32_t binding);
// The same in a few words: those a player meets, and how many more
// ("switch character, replay editor"; "16 controls").
std::string GameUseInBrief(uint32_t binding);

// A key Velquorin acts on while on foot that also does something in the
// game there, which Velquorin leaves to it: the console on F6 ("on foot F6
// also switches character"), the reload chord's Alt opening the character
// wheel, the enter/exit key entering a car beside a cab door when no hint
// takes it.
struct OnFootClash {
    const char* key;      // the settings key
    uint32_t binding;
    uint8_t physicalKey;  // the one of the binding's keys the game uses on foot
    uint8_t otherKey;     // the binding's other key, 0 when it has one only
    bool otherKeyFree;    // the game does nothing on foot with the other key
    std::string does;     // "switches character"
};
std::vector<OnFootClash> OnFootClashes(const SettingsRecord& settings);
// What the checker says of one: writtenName is the binding's name as the
// file wrote it ("ALT"), or "" for the table's.
std::string OnFootClashText(const OnFootClash& clash, const std::string& writtenName);

// The pad's driving buttons, one line each, as the checker lists them
// when use_gamepad is on.
std::vector<std::string> PadButtonLines();
