// The two profile operations the settings are read with: the Windows
// functions in Windows builds, the portable reader elsewhere. Both take the
// same arguments and give the same results.
#pragma once

#ifdef _WIN32
extern "C" __declspec(dllimport) unsigned int __stdcall GetPrivateProfileIntA(const char* section, const char* key,
                                                                              int defaultValue, const char* path);
extern "C" __declspec(dllimport) unsigned long __stdcall GetPrivateProfileStringA(const char* section, const char* key,
                                                                                  const char* defaultText, char* buffer,
                                                                                  unsigned long size, const char* path);
#define ReadProfileInt GetPrivateProfileIntA
#define ReadProfileString GetPrivateProfileStringA
#else
#include "settings/profile_reader.h"
#endif
