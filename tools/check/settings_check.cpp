// The checker loads the game's view of the player's file with LoadSettings
// itself, in a scratch directory made current (the loader reads
// ".\Velquorin.ini"), so every value it shows is the one the game uses; the
// raw text of each key comes from the same profile functions, for the
// warnings. Everything from the file is printed through Printable.
#include "settings_check.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "host/key_twins.h"
#include "game_keys.h"
#include "key_hints.h"
#include "overlay/overlay.h"
#include "printable.h"
#include "host/key_names.h"
#include "settings/panel_position.h"
#include "setting_keys.h"
#include "settings/load_settings.h"
#include "settings/profile_access.h"
#include "settings/settings.h"
#include "settings_file.h"
#include "settings_scan.h"
#include "velquorin_version.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* Absent = "\x01";  // a default no file can hold

struct LoadedFile {
    SettingsRecord record;
    int failedRow = -1;  // the key LoadSettings stopped at
    std::string errorText;
    bool notRead[LoadedKeyCount] = {};  // by a load that stopped early
    bool present[LoadedKeyCount] = {};
    std::string raw[LoadedKeyCount];
    uint32_t number[LoadedKeyCount] = {};  // integer keys as the profile function reads them
};

// One line of the report; nothing from the file reaches the terminal raw.
void Say(std::FILE* out, const std::string& line) {
    std::string shown = Printable(line) + "\n";
    std::fwrite(shown.data(), 1, shown.size(), out);
}

// A long line of the report in lines of at most 100 characters, broken at
// spaces; the lines after the first are indented two more.
void SayWrapped(std::FILE* out, const std::string& text) {
    const size_t indent = text.find_first_not_of(' ');
    std::string line = text.substr(0, indent);
    bool fresh = true;  // nothing after the indent yet
    for (size_t start = indent, end; start < text.size(); start = end + 1) {
        end = std::min(text.find(' ', start), text.size());
        const std::string word = text.substr(start, end - start);
        if (!fresh && line.size() + 1 + word.size() > 100) {
            Say(out, line);
            line = std::string(indent + 2, ' ');
            fresh = true;
        }
        line += (fresh ? "" : " ") + word;
        fresh = false;
    }
    Say(out, line);
}

// A record unlike the defaults in every field of the table.
SettingsRecord UnlikeTheDefaults() {
    SettingsRecord unlike;
    std::memset(static_cast<void*>(&unlike), 0x5A, sizeof unlike);  // as a number, no default
    unlike.enterRealistic = !SettingsDefaults.enterRealistic;
    unlike.useMetricSystem = !SettingsDefaults.useMetricSystem;
    unlike.showHints = !SettingsDefaults.showHints;
    unlike.writeLog = !SettingsDefaults.writeLog;
    unlike.useGamepad = !SettingsDefaults.useGamepad;
    return unlike;
}

// The keys a load that stopped early never reached, whatever the order it
// reads them in: loaded again over a record unlike the defaults, a key read
// comes out as before, a key not read keeps what it started with.
void FindKeysNotRead(LoadedFile& file) {
    Settings = UnlikeTheDefaults();
    LoadSettings();
    for (size_t row = 0; row < LoadedKeyCount; ++row)
        file.notRead[row] = LoadedValue(Settings, row) != LoadedValue(file.record, row);
}

void ReadEveryKey(LoadedFile& file) {
    const SettingsLoadRecord load = LoadSettings();
    if (!load.loaded) {
        file.errorText = load.error;
        file.failedRow = FindSettingKey("gui", load.failedKey);
        if (file.failedRow < 0) file.failedRow = static_cast<int>(LoadedKeyCount);
    }
    file.record = Settings;
    if (file.failedRow >= 0) FindKeysNotRead(file);
    for (size_t row = 0; row < LoadedKeyCount; ++row) {
        const SettingKey& key = SettingKeys[row];
        char text[100];
        ReadProfileString(key.section, key.name, Absent, text, sizeof text, SettingsPath);
        file.present[row] = std::string(text) != Absent;
        if (file.present[row]) file.raw[row] = text;
        if (key.kind != SettingKind::Position)
            file.number[row] = static_cast<uint32_t>(
                ReadProfileInt(key.section, key.name, static_cast<int>(key.defaultValue), SettingsPath));
    }
}

// A fresh scratch directory per run, so no reader can serve a cached copy.
bool LoadInScratchDirectory(const std::string& bytes, LoadedFile& file) {
    std::error_code error;
    fs::path home = fs::current_path(error);
    auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    fs::path scratch = fs::temp_directory_path(error) / ("velquorin-check-" + std::to_string(stamp));
    if (!fs::create_directories(scratch, error)) return false;
    bool copied = static_cast<bool>(std::ofstream(scratch / "Velquorin.ini", std::ios::binary) << bytes);
    if (copied) {
        fs::current_path(scratch, error);
        Settings = SettingsRecord{};  // as at the game's start: every default
        ReadEveryKey(file);
        fs::current_path(home, error);
    }
    fs::remove_all(scratch, error);
    return copied;
}

struct IntText {
    bool digits = false;
    bool negative = false;
    bool otherBase = false;
    int base = 10;
    std::string rest;  // after the number, trimmed; "" or a ';' comment is harmless
};

// The shape of an integer value as the profile functions read it: a sign,
// a 0x/0o/0b prefix, digits, and whatever follows.
IntText ReadIntText(const std::string& text) {
    IntText shape;
    size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) shape.negative = text[i++] == '-';
    int& base = shape.base;
    if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'o' || text[i + 1] == 'b')) {
        base = text[i + 1] == 'x' ? 16 : text[i + 1] == 'o' ? 8 : 2;
        shape.otherBase = true;
        i += 2;
    }
    size_t start = i;
    while (i < text.size()) {
        char c = static_cast<char>(std::tolower(static_cast<unsigned char>(text[i])));
        bool digit = base == 16 ? std::isxdigit(static_cast<unsigned char>(c)) != 0 : c >= '0' && c < '0' + std::min(base, 10);
        if (!digit) break;
        ++i;
    }
    shape.digits = i > start;
    shape.rest = text.substr(i);
    size_t first = shape.rest.find_first_not_of(" \t");
    shape.rest = first == std::string::npos ? "" : shape.rest.substr(first);
    if (!shape.rest.empty() && shape.rest[0] == ';') shape.rest.clear();
    return shape;
}

// "W (87)", by the name the file wrote when it wrote one; a code with no
// name stands alone.
std::string BindingText(uint32_t code, const std::string& written = "") {
    std::string name = ShownKeyName(code, written);
    if (code == 0) return "0 (no key)";
    return name.empty() ? std::to_string(code) : name + " (" + std::to_string(code) + ")";
}

std::string NumberText(double value) {
    char text[40];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

std::string ValueText(SettingKind kind, double value, const std::string& written = "") {
    switch (kind) {
    case SettingKind::Switch: return value != 0 ? "1 (on)" : "0 (off)";
    case SettingKind::TopSpeed: return NumberText(value) + " m/s (" + NumberText(value * 3.6) + " km/h)";
    case SettingKind::Binding: return BindingText(static_cast<uint32_t>(value), written);
    case SettingKind::StepRate: return value == 0 ? "0 (per frame)" : NumberText(value) + " a second";
    default: return NumberText(value);
    }
}

struct Report {
    std::vector<Finding> findings;
    void Warn(int line, const std::string& message) { findings.push_back({Finding::Warning, line, message}); }
    void Note(int line, const std::string& message) { findings.push_back({Finding::Note, line, message}); }
};

std::string Assignment(size_t row, const LoadedFile& file) {
    return std::string(SettingKeys[row].name) + " = " + file.raw[row];
}

constexpr const char* OnceAFrame =
    "(once a frame): the train speeds up and slows down faster on a faster machine. Write 1 to 1000 steps a "
    "second, e.g. 60.";

constexpr const char* ChangeButton =
    "the settings page's Change button writes the code your keyboard sends for it.";

// A key is written by its name, and the key behind a character depends on
// the keyboard's layout: the US one's name where there is one, and the
// page, which asks the keyboard itself.
void CheckTypedCharacter(Report& report, int line, size_t row, const LoadedFile& file) {
    const std::string& typed = file.raw[row];
    const std::string name = KeyNameOfCharacter(typed);
    if (!name.empty())
        report.Warn(line, Assignment(row, file) + " reads as 0: did you mean " + name + ", the key of " + typed +
                              " on a US keyboard? On another layout " + ChangeButton);
    else
        report.Warn(line, Assignment(row, file) + " reads as 0: a key is written by its name, and " + typed +
                              " names no key. Where it is a key of your keyboard, " + ChangeButton);
}

// A value that is no number reads as 0; say what that does and what to write.
void CheckNoNumber(Report& report, int line, size_t row, const LoadedFile& file) {
    const std::string said = Assignment(row, file) + " is no number, so it reads as 0";
    switch (SettingKeys[row].kind) {
    case SettingKind::Binding: {
        if (IsTypedCharacter(file.raw[row])) {
            CheckTypedCharacter(report, line, row, file);
            break;
        }
        std::string guess = NearestKeyName(file.raw[row]);
        if (!guess.empty())
            report.Warn(line, Assignment(row, file) + " reads as 0: did you mean " + guess + "?");
        else
            report.Warn(line, Assignment(row, file) + " is neither a key name nor a number, so it reads as 0, no "
                                  "key. Write a key name such as W, F5, NUMPAD1 or LCONTROL, or a key code.");
        break;
    }
    case SettingKind::Switch: report.Warn(line, said + " (off). Write 1 for on, 0 for off."); break;
    case SettingKind::TopSpeed:
        report.Warn(line, said + ": the train never moves. Write metres per second, e.g. " +
                              NumberText(SettingKeys[row].defaultValue) + ".");
        break;
    case SettingKind::Opacity: report.Warn(line, said + " (clear). Write 0 (clear) to 255 (solid)."); break;
    case SettingKind::StepRate: report.Warn(line, said + " " + OnceAFrame); break;
    default: break;
    }
}

void CheckIntegerText(Report& report, const SettingsScan& scan, const LoadedFile& file, bool noNumber[]) {
    for (size_t row = 0; row < LoadedKeyCount; ++row) {
        const SettingKey& key = SettingKeys[row];
        if (key.kind == SettingKind::Position || !file.present[row]) continue;
        int line = LineOfKey(scan, key.section, key.name);
        const std::string& raw = file.raw[row];
        if (raw.empty()) {
            report.Note(line, std::string(key.name) + " is empty: its default, " +
                                  ValueText(key.kind, key.defaultValue) + ", applies.");
            continue;
        }
        IntText shape = ReadIntText(raw);
        if (!shape.digits && key.kind == SettingKind::Binding && KeyCodeOfName(raw.c_str()) != 0) continue;
        if (!shape.digits) {
            noNumber[row] = true;
            CheckNoNumber(report, line, row, file);
            continue;
        }
        if (shape.otherBase)
            report.Note(line, Assignment(row, file) + " is read as a number in base " + std::to_string(shape.base) +
                                  ": the game reads " + std::to_string(file.number[row]) + ".");
        else if (!shape.rest.empty())
            report.Warn(line, Assignment(row, file) + " reads as " + std::to_string(file.number[row]) +
                                  ": only the leading whole number counts, \"" + shape.rest + "\" is ignored.");
        if (shape.negative && key.kind == SettingKind::TopSpeed && file.number[row] != 0)
            report.Warn(line, Assignment(row, file) + " wraps to " + std::to_string(file.number[row]) +
                                  ": a top speed with no limit. Write a positive number.");
    }
}

// "0,92" is read up to its comma, as 0: a decimal comma, as much of Europe
// writes one.
void CheckDecimalComma(Report& report, const SettingsScan& scan, const LoadedFile& file) {
    for (size_t row = 0; row < LoadedKeyCount; ++row) {
        const std::string& raw = file.raw[row];
        const size_t comma = raw.find(',');
        if (SettingKeys[row].kind != SettingKind::Position || comma == std::string::npos || comma == 0 ||
            comma + 1 >= raw.size() || !std::isdigit(static_cast<unsigned char>(raw[comma - 1])) ||
            !std::isdigit(static_cast<unsigned char>(raw[comma + 1])))
            continue;
        float read;
        try {
            read = ParsePanelPosition(raw.c_str());
        } catch (const std::exception&) {
            continue;  // the error says it
        }
        std::string meant = raw;
        meant[comma] = '.';
        report.Warn(LineOfKey(scan, SettingKeys[row].section, SettingKeys[row].name),
                    Assignment(row, file) + " reads as " + NumberText(read) +
                        ": the game stops at the comma. Write " + meant + ", with a decimal point.");
    }
}

std::string ListOf(const std::vector<std::string>& actions) {
    std::string names;
    for (size_t i = 0; i < actions.size(); ++i)
        names += (i == 0 ? "" : i + 1 == actions.size() ? " and " : ", ") + actions[i];
    return names;
}

// The reload chord's modifier does nothing by itself, so AltGr alone never
// fires it with another action (the shipped LCONTROL and ALT are such a pair).
std::vector<std::string> ActingAlone(const std::vector<std::string>& actions) {
    std::vector<std::string> alone;
    for (const std::string& action : actions)
        if (action != "reload_ini_file_modifier") alone.push_back(action);
    return alone;
}

void CheckBindings(Report& report, const SettingsScan& scan, const LoadedFile& file, const bool noNumber[]) {
    std::map<uint32_t, std::vector<std::string>> actionsOnKey;
    std::map<uint32_t, int> firstLine;
    for (size_t row = 0; row < LoadedKeyCount; ++row) {
        const SettingKey& key = SettingKeys[row];
        if (key.kind != SettingKind::Binding) continue;
        int line = LineOfKey(scan, key.section, key.name);
        uint32_t code = static_cast<uint32_t>(LoadedValue(file.record, row));  // a name's code too
        if (code >= 255) {
            std::string wrapped = file.present[row] && !file.raw[row].empty() && file.raw[row][0] == '-'
                                      ? " (" + file.raw[row] + " wraps to " + std::to_string(code) + ")"
                                      : "";
            report.Warn(line, std::string(key.name) + " = " + std::to_string(code) + wrapped +
                                  " never fires: codes of 255 or more switch the action off (fine if that is what you meant).");
        } else if (code == 0 && !noNumber[row]) {
            report.Warn(line, std::string(key.name) + " = 0 is no key: the action never fires.");
        } else if (IsMouseButtonCode(code)) {
            report.Warn(line, std::string(key.name) + "=" + std::to_string(code) +
                                  " is a mouse button: the game never sends it to plug-ins. Bind a key of the "
                                  "keyboard.");
        } else if (IsUnassignedKeyCode(code)) {
            report.Warn(line, std::string(key.name) + "=" + std::to_string(code) +
                                  " is a code Windows gives no key: no key sends it, so the action never fires.");
        } else if (code != 0) {
            actionsOnKey[code].push_back(key.name);
            if (!firstLine.count(code) && line) firstLine[code] = line;
        }
    }
    for (const auto& [code, actions] : actionsOnKey) {
        if (actions.size() < 2) continue;
        const std::string names = ListOf(actions);
        report.Warn(firstLine.count(code) ? firstLine.at(code) : 0,
                    names + (actions.size() == 2 ? " are both on " : " are all on ") + BindingText(code) +
                        ": one press does each of them.");
    }
    // Windows reports a left or right modifier as the generic one too, and a
    // keypad key with NumLock off as the navigation key it stands for, so
    // two bindings can fire from one press without sharing a code.
    for (auto a = actionsOnKey.begin(); a != actionsOnKey.end(); ++a)
        for (auto b = std::next(a); b != actionsOnKey.end(); ++b) {
            if (AltGrStampsBoth(a->first, b->first)) {
                const auto [control, alt] = a->first == 17 || a->first == 162 ? std::pair(a, b) : std::pair(b, a);
                const std::vector<std::string> controls = ActingAlone(control->second), alts = ActingAlone(alt->second);
                if (controls.empty() || alts.empty()) continue;
                report.Warn(firstLine.count(a->first) ? firstLine.at(a->first) : 0,
                            ListOf(controls) + " on " + BindingText(control->first) + " and " + ListOf(alts) +
                                " on " + BindingText(alt->first) +
                                ": on keyboards with AltGr, Windows sends one AltGr press as both, so it does each "
                                "of them.");
                continue;
            }
            if (!OnePressStampsBoth(a->first, b->first)) continue;
            const auto [generic, specific] = a->first < b->first ? std::pair(a, b) : std::pair(b, a);
            const bool keypad = specific->first >= 96 && specific->first <= 110;
            report.Warn(firstLine.count(a->first) ? firstLine.at(a->first) : 0,
                        ListOf(generic->second) + " on " + BindingText(generic->first) + " and " +
                            ListOf(specific->second) + " on " + BindingText(specific->first) +
                            (keypad ? ": with NumLock off Windows sends " : ": Windows sends ") +
                            BindingText(specific->first) + " as " + BindingText(generic->first) +
                            " too, so one press does each of them.");
        }
}

void CheckRanges(Report& report, const SettingsScan& scan, const LoadedFile& file, const bool noNumber[]) {
    for (size_t row = 0; row < LoadedKeyCount; ++row) {
        const SettingKey& key = SettingKeys[row];
        int line = LineOfKey(scan, key.section, key.name);
        if (key.kind == SettingKind::TopSpeed && file.number[row] == 0 && !noNumber[row])
            report.Warn(line, std::string(key.name) + " = 0: a top speed of 0, so the " +
                                  (row == 2 ? "freight" : "metro") + " train never moves.");
        if (key.kind == SettingKind::Opacity && !noNumber[row]) {
            int32_t opacity = static_cast<int32_t>(file.number[row]);
            if (opacity < 0 || opacity > 255)
                report.Warn(line, std::string(key.name) + " = " + std::to_string(opacity) +
                                      " is outside 0 (clear) to 255 (solid). Write a value in that range.");
            else if (opacity == 0 && std::string(key.name) == "text_opacity")
                report.Warn(line, std::string(key.name) + " = 0: the panel's text and the hint on foot are clear, so "
                                  "they cannot be seen. Write 1 (faint) to 255 (solid).");
            else if (opacity == 0)
                report.Warn(line, std::string(key.name) + " = 0: the panel's box is clear, so its text stands on "
                                  "the game alone (fine if that is what you meant).");
        }
        if (key.kind == SettingKind::StepRate && !noNumber[row] && file.number[row] > MaxSpeedStepsPerSecond) {
            std::string wrapped = file.present[row] && !file.raw[row].empty() && file.raw[row][0] == '-'
                                      ? " (" + file.raw[row] + " wraps to " + std::to_string(file.number[row]) + ")"
                                      : "";
            report.Warn(line, std::string(key.name) + " = " + std::to_string(file.number[row]) + wrapped +
                                  " is more than " + std::to_string(MaxSpeedStepsPerSecond) + ", so it reads as 0 " +
                                  OnceAFrame);
        }
        if (key.kind == SettingKind::Position && !file.notRead[row]) {
            double value = LoadedValue(file.record, row);
            if (value < 0.0 || value > 1.0)
                report.Warn(line, std::string(key.name) + " = " + NumberText(value) + " puts panel position " +
                                      std::string(1, key.name[15]) + " off the screen: positions run from 0 (" +
                                      (key.name[13] == 'x' ? "left" : "top") + ") to 1 (" +
                                      (key.name[13] == 'x' ? "right" : "bottom") + ").");
        }
    }
}

// The panel is a box centred on its position with text starting left of
// and above it, so a position near an edge cuts part of it off.
void NotePanelsAtEdges(Report& report, const LoadedFile& file) {
    std::map<std::pair<double, double>, std::string> presetsAt;
    for (int preset = 0; preset < 4; ++preset) {
        size_t row = 16 + static_cast<size_t>(preset) * 2;
        if (file.notRead[row] || file.notRead[row + 1]) continue;
        double x = LoadedValue(file.record, row), y = LoadedValue(file.record, row + 1);
        if (x < 0 || x > 1 || y < 0 || y > 1) continue;  // warned already
        if (x >= 0.06 && x <= 0.94 && y >= 0.06 && y <= 0.94) continue;
        std::string& list = presetsAt[{x, y}];
        list += (list.empty() ? "" : ", ") + std::to_string(preset);
    }
    for (const auto& [position, presets] : presetsAt)
        report.Note(0, "panel position" + std::string(presets.size() > 1 ? "s " : " ") + presets + " at (" +
                           NumberText(position.first) + ", " + NumberText(position.second) +
                           "): the panel is centred there, so the screen's edge cuts part of it off; 0.06 to "
                           "0.94 keeps it whole.");
}

// A key Velquorin uses on foot that the game uses there too.
void CheckGameKeysOnFoot(Report& report, const SettingsScan& scan, const LoadedFile& file) {
    for (const OnFootClash& clash : OnFootClashes(file.record)) {
        const int row = FindSettingKey("keys", clash.key);
        const std::string written = row >= 0 ? ShownKeyName(clash.binding, file.raw[row]) : "";
        report.Warn(LineOfKey(scan, "keys", clash.key), OnFootClashText(clash, written));
    }
}

// Each binding's key as the game uses it by default. Velquorin takes all
// of these from the game in every pass that begins with the player
// driving (a binding of 0 or 255 and above takes nothing).
void PrintGameUse(std::FILE* out, const LoadedFile& file) {
    Say(out, "What the game itself does with these keys by default; Velquorin takes it from the game while you");
    Say(out, "drive, and the enter/exit key's at a cab door where the hint (show_hints=1) says it boards:");
    for (size_t row = 0; row < LoadedKeyCount; ++row) {
        const SettingKey& key = SettingKeys[row];
        if (key.kind != SettingKind::Binding) continue;
        const uint32_t code = static_cast<uint32_t>(LoadedValue(file.record, row));
        if (code == 0 || code >= 255) continue;
        const std::string use = GameUseOfBinding(code);
        char line[64];
        std::snprintf(line, sizeof line, "  %-26s %-14s ", key.name, BindingText(code, file.raw[row]).c_str());
        Say(out, line + (use.empty() ? std::string("nothing") : use));
    }
    if (!file.record.useGamepad) return;
    Say(out, "");
    Say(out, "With a gamepad (use_gamepad=1), while the pad gave the last input:");
    for (const std::string& line : PadButtonLines()) Say(out, "  " + line);
}

// Section by section, in the order the file lists them, whatever the read
// order.
void PrintValues(std::FILE* out, const LoadedFile& file) {
    for (const char* section : {"gameplay", "keys", "gui"}) {
        Say(out, std::string("[") + section + "]");
        for (size_t row = 0; row < LoadedKeyCount; ++row) {
            const SettingKey& key = SettingKeys[row];
            if (std::string(key.section) != section) continue;
            double value = LoadedValue(file.record, row);
            std::string shown = ValueText(key.kind, value, file.raw[row]);
            char line[200];
            std::snprintf(line, sizeof line, file.notRead[row] ? "  %-26s %-24s %s default %-24s (not read)"
                                                               : "  %-26s %-24s %s default %s",
                          key.name, shown.c_str(), value != key.defaultValue ? "*" : " ",
                          ValueText(key.kind, key.defaultValue).c_str());
            Say(out, line);
        }
    }
}

void PrintError(std::FILE* out, const SettingsScan& scan, const LoadedFile& file) {
    if (file.failedRow >= static_cast<int>(LoadedKeyCount)) {
        Say(out, "error: " + file.errorText);
        return;
    }
    const SettingKey& key = SettingKeys[file.failedRow];
    const std::string name = key.name;
    int line = LineOfKey(scan, key.section, key.name);
    std::string where = line ? "line " + std::to_string(line) + ": " : "";
    std::vector<std::string> kept;
    for (size_t row = 0; row < LoadedKeyCount; ++row)
        if (file.notRead[row]) kept.push_back(SettingKeys[row].name);
    Say(out, "error: " + where + name + ": " + file.errorText + " (" + name + " = \"" + file.raw[file.failedRow] +
                 "\" is no number a panel position can take).");
    // The console's key as this load leaves it: a load stopped before
    // toggle_console keeps the earlier one, at the game's start F6.
    const char* consoleKey = KeycapNameOfCode(file.record.toggleConsoleKey);
    Say(out, "  The game posts \"" + FormatSettingsError(name, file.errorText) + "\" to its console (" +
                 (consoleKey ? consoleKey : "its key") + ") and stops reading there.");
    SayWrapped(out, "  Not read, so they keep their earlier values (at the game's start, their defaults): " +
                        ListOf(kept) + ".");
    Say(out, "  Write a number such as 0.5.");
}

// Findings of one level in line order, then how many of each kind were
// left out.
void ListFindings(std::FILE* out, const Finding* first, const Finding* end,
                  const std::vector<UnlistedFindings>& unlisted) {
    for (const Finding* finding = first; finding != end; ++finding) {
        std::string where = finding->line ? "line " + std::to_string(finding->line) + ": " : "";
        Say(out, (finding->level == Finding::Warning ? "warning: " : "note: ") + where + finding->message);
    }
    for (const UnlistedFindings& left : unlisted) {
        if (first == end || left.level != first->level) continue;
        const char* what = left.level == Finding::Warning ? " warning" : " note";
        Say(out, std::to_string(left.count) + " more" + what + (left.count == 1 ? "" : "s") + " about " + left.kind +
                     (left.count == 1 ? " is" : " are") + " not listed (the first " + std::to_string(ListedOfAKind) +
                     " are).");
    }
}

}  // namespace

// The path as the player gave it: a file dropped on the program, or found
// beside it, arrives with its whole path already.
int CheckSettingsFile(const char* path, std::FILE* out) {
    std::string bytes, why;
    if (!ReadSettingsFile(path, bytes, why)) return RefuseToCheck(path, why, out);
    return CheckSettingsText(bytes, path, out);
}

int RefuseToCheck(const std::string& shownPath, const std::string& why, std::FILE* out) {
    Say(out, "error: cannot check " + shownPath + ": " + why + ".");
    return 2;
}

int CheckSettingsText(const std::string& bytes, const std::string& shownPath, std::FILE* out) {
    std::error_code error;
    LoadedFile file;
    if (!LoadInScratchDirectory(GameView(bytes), file)) {
        Say(out, "error: no scratch folder for a copy of " + shownPath + " could be made in " +
                     fs::temp_directory_path(error).string() + ".");
        return 2;
    }
    SettingsScan scan = ScanSettingsText(bytes);
    Report report;
    report.findings = scan.findings;
    bool noNumber[LoadedKeyCount] = {};
    CheckIntegerText(report, scan, file, noNumber);
    CheckDecimalComma(report, scan, file);
    CheckBindings(report, scan, file, noNumber);
    CheckRanges(report, scan, file, noNumber);
    NotePanelsAtEdges(report, file);
    CheckGameKeysOnFoot(report, scan, file);

    Say(out, "Velquorin settings check " VELQUORIN_VERSION);
    Say(out, "File: " + shownPath);
    Say(out, "The values the game will use (* where they differ from the default):");
    Say(out, "");
    PrintValues(out, file);
    Say(out, "");
    PrintGameUse(out, file);
    Say(out, "");
    if (file.failedRow >= 0) PrintError(out, scan, file);

    std::stable_sort(report.findings.begin(), report.findings.end(), [](const Finding& a, const Finding& b) {
        if (a.level != b.level) return a.level < b.level;
        return (a.line == 0 ? 1 << 30 : a.line) < (b.line == 0 ? 1 << 30 : b.line);
    });
    int warnings = 0;
    for (size_t first = 0, end; first < report.findings.size(); first = end) {
        const Finding::Level level = report.findings[first].level;
        for (end = first; end < report.findings.size() && report.findings[end].level == level;) ++end;
        if (level == Finding::Warning) warnings += static_cast<int>(end - first);
        ListFindings(out, report.findings.data() + first, report.findings.data() + end, scan.unlisted);
    }
    for (const UnlistedFindings& left : scan.unlisted)
        if (left.level == Finding::Warning) warnings += left.count;
    int errors = file.failedRow >= 0 ? 1 : 0;
    if (errors == 0 && warnings == 0) {
        Say(out, "No mistakes found.");
    } else {
        Say(out, "");
        Say(out, std::to_string(errors) + (errors == 1 ? " error, " : " errors, ") + std::to_string(warnings) +
                     (warnings == 1 ? " warning." : " warnings."));
    }
    return errors ? 2 : warnings ? 1 : 0;
}
