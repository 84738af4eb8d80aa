// The scan follows the reader the plug-in uses off Windows (lines end at any
// CR/LF run, are trimmed, "[...]" up to the last "]" is a header, other
// lines are keys split at the first "="), and notes every line Windows'
// reader takes differently.
#include "settings_scan.h"

#include <cctype>
#include <set>

#include "key_names.h"
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

struct ScanState {
    SettingsScan scan;
    std::string section;
    bool sectionCounted = false;  // the first header of this name
    bool beforeAnyHeader = true;
    std::set<std::string> sectionsSeen;
    std::set<std::string> keysSeen;  // "section\nkey" of counted keys
};

void Warn(ScanState& s, int line, const std::string& message) {
    s.scan.findings.push_back({Finding::Warning, line, message});
}

void Note(ScanState& s, int line, const std::string& message) {
    s.scan.findings.push_back({Finding::Note, line, message});
}

void OpenSection(ScanState& s, int line, const std::string& name) {
    s.section = name;
    s.beforeAnyHeader = false;
    std::string lower = Lower(name);
    s.sectionCounted = s.sectionsSeen.insert(lower).second;
    if (!s.sectionCounted) {
        Warn(s, line, "a second [" + name + "] header: only the first section of a name counts, so every key "
                      "under this one is ignored.");
        return;
    }
    if (!IsSettingSection(name)) {
        std::string nearest = NearestName(name, {"gameplay", "keys", "gui"});
        Warn(s, line, "unknown section [" + name + "]: the plug-in reads only [gameplay], [keys] and [gui], so "
                      "its keys are ignored and their defaults apply." +
                          (nearest.empty() ? "" : " Did you mean [" + nearest + "]?"));
    }
}

void ReadHeader(ScanState& s, const Line& line) {
    const std::string& text = line.text;
    size_t first = text.find(']');
    size_t last = text.rfind(']');
    std::string name = Trimmed(text.substr(1, last - 1));
    if (first != last) {
        std::string windowsName = Trimmed(text.substr(1, first - 1));
        Warn(s, line.number, "the header " + text + " has two ']': our reader takes the section [" + name +
                                 "] (up to the last ']'), Windows takes [" + windowsName +
                                 "] (up to the first). Keep one ']'.");
    }
    OpenSection(s, line.number, name);
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
        Note(s, line.number, "'#' does not start a comment in this file: the line is read as a key named \"" +
                                 key.name + "\", which nothing reads. Comments start with ';'.");
        return;
    }
    if (s.beforeAnyHeader) {
        Warn(s, line.number, "\"" + text + "\" comes before any [section]: Windows ignores it and so does the "
                             "plug-in. Put it under its section.");
        return;
    }
    if (equals == std::string::npos) {
        Warn(s, line.number, "\"" + text + "\" has no '=': it is not read as a value. Write key = value.");
        return;
    }
    if (key.name.empty()) {
        Warn(s, line.number, "\"" + text + "\" has no key name before the '=': it is ignored.");
        return;
    }
    if (!s.sectionCounted) return;  // reported once at the header
    if (!IsSettingSection(s.section)) return;

    std::string seen = Lower(s.section) + "\n" + Lower(key.name);
    key.counted = s.keysSeen.insert(seen).second;
    if (!key.counted) {
        Warn(s, line.number, key.name + " appears again: only its first line counts, this one is ignored.");
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
        Warn(s, line.number, "unknown key " + key.name + " in [" + s.section +
                                 "]: the value is ignored and the default applies." + hint);
    } else if (SettingKeys[FindSettingKey(s.section, key.name)].kind == SettingKind::Unused) {
        Note(s, line.number, key.name + " is accepted but no action uses it.");
    }
    s.scan.keys.push_back(key);
}

}  // namespace

SettingsScan ScanSettingsText(const std::string& bytes) {
    ScanState s;
    std::string text = bytes;
    bool bom = text.size() >= 3 && text.compare(0, 3, "\xEF\xBB\xBF") == 0;
    if (text.size() >= 2 && (text.compare(0, 2, "\xFF\xFE") == 0 || text.compare(0, 2, "\xFE\xFF") == 0)) {
        Warn(s, 1, "the file is saved as UTF-16: save it as plain text (ANSI, or UTF-8 without a byte-order "
                   "mark) so both readers see the same thing.");
        return s.scan;
    }
    if (bom) text.erase(0, 3);

    bool firstLine = true;
    for (const Line& line : SplitLines(text)) {
        if (line.text.empty()) continue;
        bool header = line.text[0] == '[';
        bool closed = line.text.find(']') != std::string::npos;
        if (bom && firstLine) {
            if (header && closed)
                Warn(s, line.number, "the file starts with a UTF-8 byte-order mark. Windows does not skip it, so "
                                     "in the game the header " + line.text + " on line " +
                                     std::to_string(line.number) + " is lost and every key up to the next "
                                     "header is ignored (defaults apply). Save the file as ANSI or as UTF-8 "
                                     "without a byte-order mark.");
            else
                Note(s, line.number, "the file starts with a UTF-8 byte-order mark; Windows keeps it as part of "
                                     "the first line. Harmless here, but saving without it is safer.");
        }
        firstLine = false;
        if (header && closed) {
            ReadHeader(s, line);
        } else if (header) {
            Warn(s, line.number, "the header " + line.text + " has no ']': Windows opens a section there, our "
                                 "reader does not, so in the game the keys below it, up to the next header, are "
                                 "lost. Close it with ']'.");
            // Ours files it as a key of the section above, which nothing reads.
        } else {
            ReadKey(s, line);
        }
    }
    return s.scan;
}

int LineOfKey(const SettingsScan& scan, const char* section, const char* name) {
    for (const ScannedKey& key : scan.keys)
        if (key.counted && Lower(key.section) == section && Lower(key.name) == name) return key.line;
    return 0;
}
