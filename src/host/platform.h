// The platform edge: the few Windows functions the plug-in calls by name.
// On Windows they are the real ones; elsewhere the simulated host (tick
// counter) and the portable profile reader stand in for them.
#pragma once
#include <cstdint>

#ifdef _WIN32
#define VQ_IMPORT __declspec(dllimport)
#define VQ_STDCALL __stdcall
typedef unsigned long VqDword;  // DWORD: 32 bits on Windows
#else
#define VQ_IMPORT
#define VQ_STDCALL
typedef uint32_t VqDword;
#endif

extern "C" VQ_IMPORT VqDword VQ_STDCALL GetTickCount(void);

// The log file, at the platform's own file functions (KERNEL32 on Windows,
// POSIX elsewhere). Created empty, or emptied, at open; every append goes
// straight to the system, not to a buffer of ours, so a crash of the game
// loses nothing appended before it. The path is written the Windows way
// (".\\Velquorin.log"); 0 means no file: the folder cannot be written.
// None of them throws, allocates or blocks on anything but the disk.
uintptr_t CreateLogFile(const char* path) noexcept;
bool AppendToLogFile(uintptr_t file, const char* bytes, uint32_t size) noexcept;
void CloseLogFile(uintptr_t file) noexcept;
// The file at path, if there is one (not a folder), renamed to kept, in
// place of any file of that name; false when nothing was moved.
bool KeepLogFileAs(const char* path, const char* kept) noexcept;
