// The keys of Velquorin.ini as the plug-in reads them, in its read order.
#pragma once
#include <cstddef>
#include <string>

#include "settings/settings.h"

enum class SettingKind { Switch, TopSpeed, Binding, Position, Opacity, StepRate, Unused };

struct SettingKey {
    const char* section;
    const char* name;
    SettingKind kind;
    double defaultValue;
};

// The 31 keys LoadSettings reads, in order, then the two it accepts and
// never reads.
extern const SettingKey SettingKeys[];
extern const size_t SettingKeyCount;
constexpr size_t LoadedKeyCount = 31;

// The row of a key (names compared without regard to case), or -1.
int FindSettingKey(const std::string& section, const std::string& name);
bool IsSettingSection(const std::string& section);

// The field of rows 0 to 30 as a number.
double LoadedValue(const SettingsRecord& settings, size_t row);
