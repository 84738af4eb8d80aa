// The scan reads lines as the profile readers do (lines end at any CR/LF
// run, are trimmed, "[...]" is a header, other lines are keys split at the
// first "="), follows sections and keys as the game sees them, and notes
// every line that readers take differently.
#include "settings_scan.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <string_view>
#include <utility>

#include "key_hints.h"
#include "settings/profile_line.h"
#include "setting_keys.h"

namespace {

bool IsBlank(unsigned char c) { return (c >= 0x09 && c <= 0x0D) || c == 0x1A || c == 0x20; }

std::string Trimmed(const std::string& text) {
    size_t first = 0, last = text.size();
    while (first < last && IsBlank(static_cast<unsigned char>(text[first]))) ++first;
    while (last > first && IsBlank(static_cast<unsigned char>(text[last - 1]))) --last;
    return text.substr(first, last - first);
}

std::string Lower(const std::string& text) {
    std::string lower;
    for (char c : text) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

struct Line {
    int number;
    std::string text;  // trimmed
};

// A CR LF pair is one line end; a lone CR or LF is one too.
std::vector<Line> SplitLines(const std::string& bytes) {
    std::vector<Line> lines;
    std::string current;
    int number = 1;
    for (size_t i = 0; i < bytes.size(); ++i) {
        char c = bytes[i];
        if (c == '\r' || c == '\n') {
            lines.push_back({number, Trimmed(current)});
            current.clear();
            ++number;
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        } else {
            current += c;
        }
    }
    lines.push_back({number, Trimmed(current)});
    return lines;
}

std::vector<std::string> KnownKeysOf(const std::string& section) {
    std::vector<std::string> names;
    for (size_t row = 0; row < SettingKeyCount; ++row)
        if (Lower(section) == SettingKeys[row].section) names.push_back(SettingKeys[row].name);
    return names;
}

std::vector<std::string> AllKnownKeys() {
    std::vector<std::string> names;
    for (size_t row = 0; row < SettingKeyCount; ++row) names.push_back(SettingKeys[row].name);
    return names;
}

constexpr const char* UnknownKeys = "unknown keys";
constexpr const char* UnknownSections = "unknown sections";

struct ScanState {
    SettingsScan scan;
    std::string section;
    bool sectionCounted = false;  // the first header of this name
    bool beforeAnyHeader = true;
    bool headerLost = false;  // to a byte-order mark: its keys are warned about once, there
    std::set<std::string> sectionsSeen;
    std::set<std::string> keysSeen;  // "section\nkey" of counted keys
    std::map<std::string_view, int> ofKind;  // findings of each kind so far
};

// Whether the next finding of this kind is listed. The scan goes line by
// line, so the ones listed are the first in the file.
bool Listed(const ScanState& s, const char* kind) {
    if (!kind) return true;
    auto counted = s.ofKind.find(kind);
    return counted == s.ofKind.end() || counted->second < ListedOfAKind;
}

// A kind is given for a finding any number of lines can have.
void Add(ScanState& s, Finding::Level level, int line, const char* kind, const std::string& message) {
    if (Listed(s, kind)) {
        s.scan.findings.push_back({level, line, message});
    } else {
        auto same = std::find_if(s.scan.unlisted.begin(), s.scan.unlisted.end(),
                                 [kind](const UnlistedFindings& u) { return std::string_view(u.kind) == kind; });
        if (same == s.scan.unlisted.end())
            s.scan.unlisted.push_back({level, kind, 1});
        else
            ++same->count;
    }
    if (kind) ++s.ofKind[kind];
}

void Warn(ScanState& s, int line, const char* kind, const std::string& message) {
    Add(s, Finding::Warning, line, kind, message);
}

void Note(ScanState& s, int line, const char* kind, const std::string& message) {
    Add(s, Finding::Note, line, kind, message);
}

void OpenSection(ScanState& s, int line, const std::string& name) {
    s.section = name;
    s.beforeAnyHeader = false;
    std::string lower = Lower(name);
    s.sectionCounted = s.sectionsSeen.insert(lower).second;
    if (!s.sectionCounted) {
        Warn(s, line, "repeated sections",
             "a second [" + name + "] header: only the first section of a name counts, so every key "
             "under this one is ignored.");
        return;
    }
    if (!IsSettingSection(name)) {
        std::string nearest = Listed(s, UnknownSections) ? NearestName(name, {"gameplay", "keys", "gui"}) : "";
        Warn(s, line, UnknownSections,
             "unknown section [" + name + "]: the game reads only [gameplay], [keys] and [gui], so "
             "its keys are ignored and their defaults apply." +
                 (nearest.empty() ? "" : " Did you mean [" + nearest + "]?"));
    }
}

void ReadKey(ScanState& s, const Line& line) {
    const std::string& text = line.text;
    if (text[0] == ';') return;  // a comment: a key no one reads
    size_t equals = text.find('=');
    ScannedKey key;
    key.line = line.number;
    key.section = s.section;
    key.name = Trimmed(text.substr(0, equals));
    if (equals != std::string::npos) key.value = Trimmed(text.substr(equals + 1));

    if (text[0] == '#') {
        Note(s, line.number, "lines that start with '#'",
             "'#' does not start a comment in this file: the line is read as a key named \"" +
                 key.name + "\", which nothing reads. Comments start with ';'.");
        return;
    }
    if (s.beforeAnyHeader) {
        if (!s.headerLost)
            Warn(s, line.number, "lines before any [section]",
                 "\"" + text + "\" comes before any [section]: the game ignores it. Put it under "
                 "its section.");
        return;
    }
    if (equals == std::string::npos) {
        Warn(s, line.number, "lines without '='",
             "\"" + text + "\" has no '=': it is not read as a value. Write key = value.");
        return;
    }
    if (key.name.empty()) {
        Warn(s, line.number, "lines without a key name",
             "\"" + text + "\" has no key name before the '=': it is ignored.");
        return;
    }
    if (!s.sectionCounted) return;  // reported once at the header
    if (!IsSettingSection(s.section)) return;

    std::string seen = Lower(s.section) + "\n" + Lower(key.name);
    key.counted = s.keysSeen.insert(seen).second;
    if (!key.counted) {
        Warn(s, line.number, "keys that appear again",
             key.name + " appears again: only its first line counts, this one is ignored.");
    } else if (FindSettingKey(s.section, key.name) < 0 && !Listed(s, UnknownKeys)) {
        Warn(s, line.number, UnknownKeys, "");  // counted, not listed: spare the costly hint
    } else if (FindSettingKey(s.section, key.name) < 0) {
        std::string nearest = NearestName(key.name, KnownKeysOf(s.section));
        std::string elsewhere;
        for (size_t row = 0; row < SettingKeyCount; ++row)
            if (Lower(key.name) == SettingKeys[row].name) elsewhere = SettingKeys[row].section;
        std::string hint;
        if (!elsewhere.empty())
            hint = " It belongs under [" + elsewhere + "].";
        else if (!nearest.empty())
            hint = " Did you mean " + nearest + "?";
        else if (std::string any = NearestName(key.name, AllKnownKeys()); !any.empty())
            hint = " Did you mean " + any + "?";
        Warn(s, line.number, UnknownKeys,
             "unknown key " + key.name + " in [" + s.section + "]: the value is ignored and the default applies." +
                 hint);
    } else if (SettingKeys[FindSettingKey(s.section, key.name)].kind == SettingKind::Unused) {
        Note(s, line.number, "keys no action uses", key.name + " is accepted but no action uses it.");
    }
    s.scan.keys.push_back(key);
}

// Where the readers part ways over a header, said at the header's line.
void NoteHeaderShape(ScanState& s, const Line& line, bool bom) {
    const std::string& text = line.text;
    bool header = !text.empty() && text[0] == '[';
    size_t first = text.find(']'), last = text.rfind(']');
    if (bom && line.number == 1) {
        if (header)
            Warn(s, 1, nullptr,
                 "the file starts with a UTF-8 byte-order mark, which Windows' reader takes as part of line "
                 "1: in the game the header " + text + " there is lost, and the keys under it, up to the "
                 "next header, take their defaults. Save the file as ANSI, or as UTF-8 without a "
                 "byte-order mark.");
        else
            Note(s, 1, nullptr,
                 "the file starts with a UTF-8 byte-order mark, which Windows' reader takes as part of line "
                 "1: harmless while line 1 holds no [section] header.");
        if (header) s.headerLost = true;
    } else if (header && first == std::string::npos) {
        Warn(s, line.number, "headers without ']'",
             "the header " + text + " has no ']'. The game opens the section [" + Trimmed(text.substr(1)) +
                 "] there all the same; Wine and the desk simulator do not, and file the keys below it under the "
                 "section above. Close it with ']'.");
    } else if (header && first != last) {
        Warn(s, line.number, "headers with two ']'",
             "the header " + text + " has two ']'. The game ends the section's name at the first, [" +
                 Trimmed(text.substr(1, first - 1)) + "]; Wine and the desk simulator end it at the last. Keep "
                 "one ']'.");
    }
}

}  // namespace

// Each line's shape is looked at as written; its sections and keys as the
// game reads them, from the game's view of the file, line for line.
SettingsScan ScanSettingsText(const std::string& bytes) {
    ScanState s;
    if (bytes.compare(0, 2, "\xFF\xFE") == 0 || bytes.compare(0, 2, "\xFE\xFF") == 0) {
        Warn(s, 1, nullptr, "the file is saved as UTF-16: save it as plain text (ANSI, or UTF-8 without a byte-order "
                   "mark) so the checker can look at each line.");
        return std::move(s.scan);
    }
    bool bom = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0;
    std::vector<Line> written = SplitLines(bom ? bytes.substr(3) : bytes);
    std::vector<Line> read = SplitLines(GameView(bytes));
    for (size_t i = 0; i < written.size() && i < read.size(); ++i) {
        NoteHeaderShape(s, written[i], bom);
        const Line& line = read[i];
        if (line.text.empty()) continue;
        if (line.text[0] == '[')
            OpenSection(s, line.number, Trimmed(line.text.substr(1, line.text.find(']') - 1)));
        else
            ReadKey(s, line);
    }
    return std::move(s.scan);
}

// Asked for each setting of the table several times over, of a file that
// may hold thousands of keys: compared in place, without a copy.
bool SameLowerName(const std::string& text, std::string_view lower) {
    if (text.size() != lower.size()) return false;
    for (size_t i = 0; i < text.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) != static_cast<unsigned char>(lower[i])) return false;
    return true;
}

int LineOfKey(const SettingsScan& scan, const char* section, const char* name) {
    for (const ScannedKey& key : scan.keys)
        if (key.counted && SameLowerName(key.name, name) && SameLowerName(key.section, section)) return key.line;
    return 0;
}

GameLine GameLineOf(std::string_view line, bool gluedToByteOrderMark) {
    std::string_view text = TrimProfileBlanks(line);
    if (text.empty() || text[0] != '[') return {line, false};
    if (gluedToByteOrderMark) return {{}, false};
    size_t close = text.find(']');
    if (close == std::string_view::npos) return {text, true};
    if (close != text.rfind(']')) return {text.substr(0, close + 1), false};
    return {line, false};
}

std::string GameView(const std::string& bytes) {
    if (bytes.compare(0, 2, "\xFF\xFE") == 0 || bytes.compare(0, 2, "\xFE\xFF") == 0) return bytes;
    const bool bom = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0;
    const std::string_view file = bytes;
    std::string view;
    view.reserve(bytes.size());
    size_t start = bom ? 3 : 0;
    for (bool firstLine = true;; firstLine = false) {
        size_t end = std::min(file.find_first_of("\r\n", start), file.size());
        GameLine line = GameLineOf(file.substr(start, end - start), bom && firstLine);
        view += line.text;
        if (line.closed) view += ']';
        if (end == bytes.size()) return view;
        view += bytes[end];
        start = end + 1;
    }
}
