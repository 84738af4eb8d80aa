// The desk drive apart from its terminal: what each typed key does in the
// simulated world and what the screen says. velquorin-sim drive feeds it
// the bytes a terminal sends; a test can feed it characters.
#pragma once
#include <chrono>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

using DriveClock = std::chrono::steady_clock;

struct DriveSession {
    int train = 0;
    std::string model;
    std::string settingsPath;  // absolute; "" for the shipped settings
    std::string lastReload;
    uint32_t startTick = 0;  // the tick the log counts its milliseconds from
    std::map<uint32_t, DriveClock::time_point> held;  // keys down, by their last press or repeat
    std::map<int, DriveClock::time_point> padHeld;     // the pad's buttons, the same way
    std::string gameReacted;  // what the game last did of its own, and when
    uint32_t gameReactedTick = 0;
    bool quit = false;
};

// How long a simulated frame lasts, in game and in real time.
constexpr uint32_t DriveFrameMs = 16;
// What --help says of the keys, the train and the log.
extern const char* const DriveHelp;

// With the settings prepared in the working folder: the plug-in loaded
// and started, the train on the track and the player by its cab door.
void StartDriveSession(DriveSession& s);
// What a terminal sent, byte by byte and escape sequence by sequence.
void TypeKeys(DriveSession& s, const std::string& typed);
// A terminal sends no key-up: a key that has not repeated for 150 ms goes up.
void ReleaseQuietKeys(DriveSession& s);
// After each frame: what the game did of its own on a key Velquorin left
// it, for the screen to say for a while.
void NoteWhatTheGameDid(DriveSession& s);
// The screen as it stands, line by line, the panel's colours as ANSI codes.
std::vector<std::string> ScreenLines(const DriveSession& s);
// After the plug-in is unloaded: its log of the drive and the settings it
// last read, kept side by side in folder. Says what was kept.
std::string KeepLogAndSettings(const std::string& folder);
