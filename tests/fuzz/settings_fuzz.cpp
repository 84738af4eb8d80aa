// Settings: any bytes as Velquorin.ini through the portable reader and
// LoadSettings. Every load ends with all 28 fields new, or with one of the
// two conversion errors, the fields before the failing key new and it and
// every later field as they were. What "new" is comes from reading each key
// again through the reader and converting it by the rules here. Where the
// reference reader below covers the file, every key's text and number must
// also be what it finds.
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "host/key_names.h"
#include "settings/load_settings.h"
#include "settings/profile_reader.h"

// The reference reader: the profile rules written out plainly, slow and
// simple, for what it covers: files of single bytes with no NUL and no
// byte-order mark, where every byte comes back as it is. Within those, it
// is how a section, key and value are found and copied out, and how an
// integer is read.
namespace reference {

bool InScope(const std::string& bytes) {
    auto starts = [&bytes](const char* mark) { return bytes.rfind(mark, 0) == 0; };
    return bytes.find('\0') == std::string::npos && !starts("\xEF\xBB\xBF") && !starts("\xFF\xFE") &&
           !starts("\xFE\xFF");
}

bool IsBlank(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (u >= 0x09 && u <= 0x0D) || u == 0x1A || u == 0x20;
}

std::string Trim(const std::string& s) {
    size_t begin = 0, end = s.size();
    while (begin < end && IsBlank(s[begin])) ++begin;
    while (end > begin && IsBlank(s[end - 1])) --end;
    return s.substr(begin, end - begin);
}

std::string Lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    return s;
}

struct Key {
    std::string name;  // trimmed, lower case
    bool hasValue = false;
    std::string value;
};

struct Section {
    std::string name;  // trimmed, lower case
    std::vector<Key> keys;
};

// Lines end at every CR and LF; each is trimmed, and blank ones are no
// lines. "[" with a "]" somewhere after it heads a section named by what
// lies between it and the last "]"; any other line is a key, named by what
// comes before its first "=" and valued with what comes after. Keys before
// the first header belong to the unnamed section.
std::vector<Section> Parse(const std::string& bytes) {
    std::vector<Section> sections(1);
    std::string line;
    for (size_t i = 0; i <= bytes.size(); ++i) {
        if (i < bytes.size() && bytes[i] != '\r' && bytes[i] != '\n') {
            line += bytes[i];
            continue;
        }
        line = Trim(line);
        if (line.empty()) continue;
        const size_t close = line.rfind(']');
        if (line[0] == '[' && close != std::string::npos) {
            sections.push_back({Lower(Trim(line.substr(1, close - 1))), {}});
        } else {
            const size_t eq = line.find('=');
            Key key{Lower(Trim(line.substr(0, eq))), eq != std::string::npos, ""};
            if (key.hasValue) key.value = Trim(line.substr(eq + 1));
            sections.back().keys.push_back(key);
        }
        line.clear();
    }
    return sections;
}

// Only the first section of a name counts, and in it the first key.
const Key* Find(const std::vector<Section>& sections, const char* section, const char* key) {
    const std::string sectionName = Lower(section), keyName = Lower(key);
    for (const Section& s : sections) {
        if (s.name != sectionName) continue;
        for (const Key& k : s.keys)
            if (k.name == keyName) return &k;
        return nullptr;
    }
    return nullptr;
}

// GetPrivateProfileString: the value, or the default when the key is
// missing or has no "=" (the plug-in's defaults end in no space); one pair
// of matching outer quotes removed; cut to size - 1 characters, and, for a
// quoted text that just fits, one character less.
std::string String(const std::vector<Section>& sections, const char* section, const char* key,
                   const std::string& fallback, size_t size) {
    const Key* found = Find(sections, section, key);
    std::string text = found && found->hasValue ? found->value : fallback;
    if (text.size() >= 2 && (text[0] == '"' || text[0] == '\'') && text.back() == text[0]) {
        const std::string inner = text.substr(1, text.size() - 2);
        return inner.substr(0, inner.size() + 1 == size ? inner.size() - 1 : size - 1);
    }
    return text.substr(0, size - 1);
}

// GetPrivateProfileInt: the text as read into 30 characters; the default
// when it is empty, else an optional sign, an optional lower-case 0x, 0o or
// 0b, and the digits up to the first that is not one, modulo 2^32.
uint32_t Int(const std::vector<Section>& sections, const char* section, const char* key, int32_t fallback) {
    const std::string text = String(sections, section, key, "", 30);
    if (text.empty()) return static_cast<uint32_t>(fallback);
    size_t i = 0;
    while (i < text.size() && static_cast<unsigned char>(text[i]) <= ' ') ++i;  // as Windows' number reader
    const bool minus = i < text.size() && text[i] == '-';
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    uint32_t base = 10;
    if (text.compare(i, 2, "0x") == 0) base = 16;
    if (text.compare(i, 2, "0o") == 0) base = 8;
    if (text.compare(i, 2, "0b") == 0) base = 2;
    if (base != 10) i += 2;
    uint32_t value = 0;
    for (; i < text.size(); ++i) {
        const std::string digits = std::string("0123456789abcdef").substr(0, base);
        const size_t digit = digits.find(static_cast<char>(std::tolower(static_cast<unsigned char>(text[i]))));
        if (digit == std::string::npos) break;
        value = value * base + static_cast<uint32_t>(digit);
    }
    return minus ? 0u - value : value;
}

}  // namespace reference

namespace {

enum Kind { Switch, TopSpeed, KeyCode, Position, Opacity, StepRate };

constexpr int RowCount = 29;

struct Row {
    const char* section;
    const char* key;
    Kind kind;
    int32_t fallback;
};

const Row Rows[RowCount] = {
    {"gameplay", "enter_realistic", Switch, 1},
    {"gameplay", "use_metric_system", Switch, 1},
    {"gameplay", "max_speed_freight", TopSpeed, 50},
    {"gameplay", "max_speed_metro", TopSpeed, 35},
    {"keys", "open_left_doors", KeyCode, 97},
    {"keys", "open_right_doors", KeyCode, 99},
    {"keys", "reload_ini_file_modifier", KeyCode, 18},
    {"keys", "reload_ini_file", KeyCode, 73},
    {"keys", "enter_exit", KeyCode, 70},
    {"keys", "throttle_up", KeyCode, 87},
    {"keys", "throttle_down", KeyCode, 83},
    {"keys", "brake_light", KeyCode, 74},
    {"keys", "brake_medium", KeyCode, 75},
    {"keys", "brake_hard", KeyCode, 76},
    {"keys", "change_direction", KeyCode, 162},
    {"keys", "toggle_gui_position", KeyCode, 116},
    {"gui", "gui_position_x_0", Position, 0},
    {"gui", "gui_position_y_0", Position, 0},
    {"gui", "gui_position_x_1", Position, 0},
    {"gui", "gui_position_y_1", Position, 0},
    {"gui", "gui_position_x_2", Position, 0},
    {"gui", "gui_position_y_2", Position, 0},
    {"gui", "gui_position_x_3", Position, 0},
    {"gui", "gui_position_y_3", Position, 0},
    {"gui", "background_opacity", Opacity, 255},
    {"gui", "text_opacity", Opacity, 255},
    {"gameplay", "speed_steps_per_second", StepRate, 0},
    {"gui", "show_hints", Switch, 0},
    {"gameplay", "write_log", Switch, 0},
};

uint32_t Bits(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

float FromBits(uint32_t bits) {
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// Each field as 32 bits (floats by their pattern, so -0 and 0 differ).
uint32_t& IntField(SettingsRecord& s, int row) {
    uint32_t* keys[] = {&s.openLeftDoorsKey,   &s.openRightDoorsKey, &s.reloadIniFileModifierKey,
                        &s.reloadIniFileKey,   &s.enterExitKey,      &s.throttleUpKey,
                        &s.throttleDownKey,    &s.brakeLightKey,     &s.brakeMediumKey,
                        &s.brakeHardKey,       &s.changeDirectionKey, &s.toggleGuiPositionKey};
    return *keys[row - 4];
}

bool& SwitchField(SettingsRecord& s, int row) {
    return row == 0 ? s.enterRealistic : row == 1 ? s.useMetricSystem : row == 27 ? s.showHints : s.writeLog;
}

float& FloatField(SettingsRecord& s, int row) {
    if (row == 2) return s.maxSpeedFreight;
    if (row == 3) return s.maxSpeedMetro;
    PanelPreset& preset = s.panelPresets[(row - 16) / 2];
    return (row - 16) % 2 == 0 ? preset.x : preset.y;
}

uint32_t Get(SettingsRecord& s, int row) {
    switch (Rows[row].kind) {
    case Switch: return SwitchField(s, row);
    case TopSpeed:
    case Position: return Bits(FloatField(s, row));
    case KeyCode: return IntField(s, row);
    case StepRate: return s.speedStepsPerSecond;
    default: return static_cast<uint32_t>(row == 24 ? s.backgroundOpacity : s.textOpacity);
    }
}

void Set(SettingsRecord& s, int row, uint32_t value) {
    switch (Rows[row].kind) {
    case Switch: SwitchField(s, row) = value != 0; break;
    case TopSpeed:
    case Position: FloatField(s, row) = FromBits(value); break;
    case KeyCode: IntField(s, row) = value; break;
    case StepRate: s.speedStepsPerSecond = value; break;
    default: (row == 24 ? s.backgroundOpacity : s.textOpacity) = static_cast<int32_t>(value); break;
    }
}

enum Outcome { Converted, NotANumber, TooLarge };

// The position rule: white space, then the longest [+-]digits[.digits]
// [e[+-]digits] prefix with at least one digit, rounded to the nearest
// float; only overflow to infinity is out of range.
Outcome ConvertPosition(const char* text, float& value) {
    const char* p = text;
    while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
    const char* begin = p;
    if (*p == '+' || *p == '-') ++p;
    int digits = 0;
    for (bool point = false; (*p >= '0' && *p <= '9') || (*p == '.' && !point); ++p) {
        if (*p == '.')
            point = true;
        else
            ++digits;
    }
    if (digits == 0) return NotANumber;
    if (*p == 'e' || *p == 'E') {
        const char* q = p + 1;
        if (*q == '+' || *q == '-') ++q;
        if (*q >= '0' && *q <= '9') {
            while (*q >= '0' && *q <= '9') ++q;
            p = q;
        }
    }
    const std::string number(begin, p);
    value = std::strtof(number.c_str(), nullptr);
    return std::isinf(value) ? TooLarge : Converted;
}

struct Expectation {
    uint32_t fresh[RowCount] = {};
    int failing = -1;  // the row whose conversion fails, or -1
    const char* error = nullptr;
};

Expectation Expect() {
    Expectation e;
    for (int row = 0; row < RowCount && e.failing < 0; ++row) {
        const Row& r = Rows[row];
        if (r.kind != Position) {
            uint32_t read = ReadProfileInt(r.section, r.key, r.fallback, SettingsPath);
            if (r.kind == KeyCode && read == 0) {
                char name[100];
                ReadProfileString(r.section, r.key, "", name, sizeof name, SettingsPath);
                read = KeyCodeOfName(name);
            }
            // A step rate above 1000 (a negative one too, wrapped) is 0.
            e.fresh[row] = r.kind == Switch     ? (read != 0)
                           : r.kind == TopSpeed ? Bits(static_cast<float>(read))
                           : r.kind == StepRate ? (read <= 1000 ? read : 0)
                                                : read;
            continue;
        }
        char text[100];
        std::memset(text, 'x', sizeof text);
        uint32_t length = ReadProfileString(r.section, r.key, "0.0", text, sizeof text, SettingsPath);
        FUZZ_CHECK(length < 100 && text[length] == '\0' && std::strlen(text) == length,
                   "the reader stored %u characters in a 100-byte buffer", length);
        float value = 0.0f;
        switch (ConvertPosition(text, value)) {
        case Converted: e.fresh[row] = Bits(value); break;
        case NotANumber: e.failing = row, e.error = "invalid stof argument"; break;
        case TooLarge: e.failing = row, e.error = "stof argument out of range"; break;
        }
    }
    return e;
}

// Values before the load that differ from every expected new value, so a
// field written when it should not be, or not written, shows.
SettingsRecord OldRecord(const Expectation& e) {
    SettingsRecord old;
    for (int row = 0; row < RowCount; ++row)
        Set(old, row, Rows[row].kind == Switch ? !e.fresh[row] : e.fresh[row] ^ 0x5A5A5A5Au);
    return old;
}

std::string FileBytes() {
    std::ifstream in("Velquorin.ini", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void CheckLoad(const Expectation& e) {
    const SettingsRecord old = OldRecord(e);
    Settings = old;
    const SettingsLoadRecord load = LoadSettings();
    const std::string error = load.error;
    if (e.failing < 0) {
        FUZZ_CHECK(load.loaded && error.empty(), "load failed with \"%s\"", error.c_str());
        FUZZ_CHECK(load.failedKey == nullptr, "a failed key named after a load that succeeded");
    } else {
        FUZZ_CHECK(!load.loaded && error == e.error, "\"%s\" where \"%s\" was due at %s", error.c_str(), e.error,
                   Rows[e.failing].key);
        FUZZ_CHECK(load.failedKey && std::strcmp(load.failedKey, Rows[e.failing].key) == 0, "failed key %s, not %s",
                   load.failedKey ? load.failedKey : "(none)", Rows[e.failing].key);
    }
    SettingsRecord before = old;
    for (int row = 0; row < RowCount; ++row) {
        const bool fresh = e.failing < 0 || row < e.failing;
        const uint32_t want = fresh ? e.fresh[row] : Get(before, row);
        FUZZ_CHECK(Get(Settings, row) == want, "%s holds 0x%08X, not the %s 0x%08X", Rows[row].key,
                   Get(Settings, row), fresh ? "new" : "old", want);
    }
}

// The caller's half: the panel goes to preset 0 after a load, and a failed
// load posts "key: text" and leaves the panel where it was.
void CheckPlacing(const Expectation& e) {
    OverlayState = OverlayRecord{};
    OverlayState.panelX = -7.0f;
    OverlayState.panelY = -7.0f;
    LoadSettingsAndPlacePanel();
    if (e.failing < 0) {
        FUZZ_CHECK(OverlayState.consoleText.empty(), "console: %s", OverlayState.consoleText.c_str());
        FUZZ_CHECK(Bits(OverlayState.panelX) == e.fresh[16] && Bits(OverlayState.panelY) == e.fresh[17],
                   "panel not at preset 0");
    } else {
        const std::string want = std::string(Rows[e.failing].key) + ": " + e.error + "\n";
        FUZZ_CHECK(OverlayState.consoleText == want, "console \"%s\", not \"%s\"", OverlayState.consoleText.c_str(),
                   want.c_str());
        FUZZ_CHECK(OverlayState.panelX == -7.0f && OverlayState.panelY == -7.0f, "panel moved by a failed load");
    }
}

// Every key as text and as number, against the reference reader.
void CheckAgainstReference(const std::string& bytes) {
    if (!reference::InScope(bytes)) return;
    const std::vector<reference::Section> sections = reference::Parse(bytes);
    for (const Row& r : Rows) {
        char text[100];
        const uint32_t length = ReadProfileString(r.section, r.key, "0.0", text, sizeof text, SettingsPath);
        const std::string want = reference::String(sections, r.section, r.key, "0.0", sizeof text);
        FUZZ_CHECK(length < sizeof text && std::string(text, length) == want && text[length] == '\0',
                   "[%s] %s reads \"%.*s\", the reference \"%s\"", r.section, r.key, static_cast<int>(length), text,
                   want.c_str());
        const uint32_t number = ReadProfileInt(r.section, r.key, r.fallback, SettingsPath);
        const uint32_t wantNumber = reference::Int(sections, r.section, r.key, r.fallback);
        FUZZ_CHECK(number == wantNumber, "[%s] %s reads %u, the reference %u", r.section, r.key, number, wantNumber);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool once = (sim::UseFreshWorkingDirectory(), true);
    (void)once;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    sim::WriteSettingsFile(bytes);

    CheckAgainstReference(bytes);
    const Expectation e = Expect();
    CheckLoad(e);
    CheckPlacing(e);
    // Loading reads; it never writes.
    FUZZ_CHECK(FileBytes() == bytes, "the settings file changed");
    return 0;
}
