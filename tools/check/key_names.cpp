// Key names both ways, and the nearest known name to a typo.
#include "key_names.h"

#include <algorithm>
#include <cctype>

namespace {

struct NamedKey {
    const char* name;  // lower case, no spaces
    uint32_t code;
};

const NamedKey NamedKeys[] = {
    {"backspace", 8},   {"tab", 9},          {"enter", 13},        {"return", 13},       {"shift", 16},
    {"ctrl", 17},       {"control", 17},     {"alt", 18},          {"menu", 18},         {"pause", 19},
    {"capslock", 20},   {"caps", 20},        {"esc", 27},          {"escape", 27},       {"space", 32},
    {"spacebar", 32},   {"pageup", 33},      {"pgup", 33},         {"pagedown", 34},     {"pgdn", 34},
    {"end", 35},        {"home", 36},        {"left", 37},         {"up", 38},           {"right", 39},
    {"down", 40},       {"insert", 45},      {"ins", 45},          {"delete", 46},       {"del", 46},
    {"multiply", 106},  {"add", 107},        {"subtract", 109},    {"decimal", 110},     {"divide", 111},
    {"numlock", 144},   {"scrolllock", 145}, {"lshift", 160},      {"leftshift", 160},   {"rshift", 161},
    {"rightshift", 161}, {"lctrl", 162},     {"leftctrl", 162},    {"lcontrol", 162},    {"leftcontrol", 162},
    {"rctrl", 163},     {"rightctrl", 163},  {"rcontrol", 163},    {"rightcontrol", 163}, {"lalt", 164},
    {"leftalt", 164},   {"ralt", 165},       {"rightalt", 165},    {"altgr", 165},
};

struct KeyLabelEntry {
    uint32_t code;
    const char* label;
};

const KeyLabelEntry KeyLabels[] = {
    {8, "Backspace"},   {9, "Tab"},         {13, "Enter"},      {16, "Shift"},       {17, "Ctrl"},
    {18, "Alt"},        {19, "Pause"},      {20, "Caps Lock"},  {27, "Esc"},         {32, "Space"},
    {33, "Page Up"},    {34, "Page Down"},  {35, "End"},        {36, "Home"},        {37, "Left"},
    {38, "Up"},         {39, "Right"},      {40, "Down"},       {45, "Insert"},      {46, "Delete"},
    {106, "Numpad *"},  {107, "Numpad +"},  {109, "Numpad -"},  {110, "Numpad ."},   {111, "Numpad /"},
    {144, "Num Lock"},  {145, "Scroll Lock"}, {160, "Left Shift"}, {161, "Right Shift"}, {162, "Left Ctrl"},
    {163, "Right Ctrl"}, {164, "Left Alt"}, {165, "Right Alt"},
};

std::string Lower(const std::string& text) {
    std::string lower;
    for (char c : text) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

// "Left Ctrl", "left_ctrl" and "VK_LCONTROL" all come down to one spelling.
std::string Normalised(const std::string& name) {
    std::string squeezed;
    for (char c : Lower(name))
        if (c != ' ' && c != '_' && c != '-' && c != '+' && c != '\'' && c != '"') squeezed += c;
    if (squeezed.size() > 2 && squeezed.compare(0, 2, "vk") == 0) squeezed.erase(0, 2);
    return squeezed;
}

bool AllDigits(const std::string& text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

size_t EditDistance(const std::string& a, const std::string& b) {
    std::vector<size_t> row(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        size_t diagonal = row[0];
        row[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

}  // namespace

int GuessKeyCode(const std::string& name) {
    std::string key = Normalised(name);
    if (key.size() == 1 && key[0] >= 'a' && key[0] <= 'z') return 'A' + (key[0] - 'a');
    if (key.size() == 1 && key[0] >= '0' && key[0] <= '9') return key[0];
    if (key.size() >= 2 && key[0] == 'f' && AllDigits(key.substr(1))) {
        int n = std::stoi(key.substr(1));
        if (n >= 1 && n <= 24) return 111 + n;
    }
    for (const char* pad : {"numpad", "keypad", "num", "kp"}) {
        std::string prefix = pad;
        if (key.size() == prefix.size() + 1 && key.compare(0, prefix.size(), prefix) == 0 &&
            key.back() >= '0' && key.back() <= '9')
            return 96 + (key.back() - '0');
    }
    for (const NamedKey& named : NamedKeys)
        if (key == named.name) return static_cast<int>(named.code);
    return -1;
}

std::string KeyLabel(uint32_t code) {
    if (code >= 'A' && code <= 'Z') return std::string(1, static_cast<char>(code));
    if (code >= '0' && code <= '9') return std::string(1, static_cast<char>(code));
    if (code >= 96 && code <= 105) return "Numpad " + std::to_string(code - 96);
    if (code >= 112 && code <= 135) return "F" + std::to_string(code - 111);
    for (const KeyLabelEntry& entry : KeyLabels)
        if (entry.code == code) return entry.label;
    return "";
}

std::string NearestName(const std::string& word, const std::vector<std::string>& candidates) {
    std::string lower = Lower(word);
    std::string best;
    size_t bestDistance = static_cast<size_t>(-1);
    for (const std::string& candidate : candidates) {
        size_t distance = EditDistance(lower, Lower(candidate));
        if (distance < bestDistance) {
            bestDistance = distance;
            best = candidate;
        }
    }
    size_t allowed = std::max<size_t>(2, lower.size() / 3);
    return bestDistance <= allowed ? best : "";
}
