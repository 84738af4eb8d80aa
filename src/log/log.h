// Velquorin.log: one line for each thing worth telling in a bug report,
// each starting with the milliseconds since the plug-in first started.
// Written only while write_log is on; the file is made at the first load
// of the settings that asks for it and kept for the life of the game.
// Every function here is safe to call at any time on the script fiber: it
// throws nothing, and while the log is off it does nothing at all.
#pragma once
#include <cstdint>

#include "driving/drive_state.h"
#include "settings/settings.h"

// The milliseconds of the log's lines count from here.
void LogPluginStarted();
// ScriptMain started again: the game reloaded.
void LogGameReload();

// After each load of the settings: every value the game now uses, or the
// error and the key the load stopped at. The first load with write_log on
// opens the file.
void LogSettingsLoad(const SettingsLoadRecord& load);

// What a press of the enter/exit key came to.
void LogEnterExit(const EnterExitOutcome& outcome);
// A drive that ended without a press.
void LogDriveEnd(const DriveEnding& ending);

// An error the frame loop caught, as the console shows it.
void LogError(const char* text);

// The first message of each physical key since ScriptMain last started.
// NoteKeyMessage runs in the keyboard handler, on the game's window
// thread: it only notes the message in a fixed table. WriteKeyLines, at
// the start of each pass, writes what was noted; ForgetKeysSeen starts a
// new session's firsts.
void NoteKeyMessage(uint32_t key, uint8_t scanCode, int isExtended, int isWithAlt, int isUpNow) noexcept;
void WriteKeyLines();
void ForgetKeysSeen();

// At unload.
void CloseLog();

// The file, at most this long; its last line says when it is full.
constexpr uint32_t LogLimitBytes = 256 * 1024;
constexpr const char* LogPath = ".\\Velquorin.log";
