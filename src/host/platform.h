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
