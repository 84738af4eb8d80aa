// The two profile operations the settings are read with, by their Windows
// names in every build: the DLL imports them from KERNEL32, the Linux build
// from the program hosting it, where the portable reader answers them. Both
// take the same arguments and give the same results, and in both the calls
// leave the plug-in, so the simulated host sees each one.
#pragma once

#ifdef _WIN32
extern "C" __declspec(dllimport) unsigned int __stdcall GetPrivateProfileIntA(const char* section, const char* key,
                                                                              int defaultValue, const char* path);
extern "C" __declspec(dllimport) unsigned long __stdcall GetPrivateProfileStringA(const char* section, const char* key,
                                                                                  const char* defaultText, char* buffer,
                                                                                  unsigned long size, const char* path);
#else
#include <cstdint>
extern "C" uint32_t GetPrivateProfileIntA(const char* section, const char* key, int32_t defaultValue, const char* path);
extern "C" uint32_t GetPrivateProfileStringA(const char* section, const char* key, const char* defaultText, char* buffer,
                                             uint32_t size, const char* path);
#endif
#define ReadProfileInt GetPrivateProfileIntA
#define ReadProfileString GetPrivateProfileStringA
