// Lines are split as the reader splits them (a CR LF pair is one end, a
// lone CR or LF another) and trimmed of the same blanks, so the line this
// rewrites is the one the game reads.
#include "settings_edit.h"

#include <cctype>
#include <vector>

namespace {

bool IsBlank(unsigned char c) { return (c >= 0x09 && c <= 0x0D) || c == 0x1A || c == 0x20; }

struct RawLine {
    size_t start;  // first byte
    size_t end;    // one past the last byte before the line end
    size_t next;   // first byte of the next line
};

std::vector<RawLine> SplitRawLines(const std::string& bytes) {
    std::vector<RawLine> lines;
    size_t start = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r' && bytes[i] != '\n') continue;
        size_t next = i + 1;
        if (bytes[i] == '\r' && next < bytes.size() && bytes[next] == '\n') ++next;
        lines.push_back({start, i, next});
        start = next;
        i = next - 1;
    }
    if (start < bytes.size()) lines.push_back({start, bytes.size(), bytes.size()});
    return lines;
}

// [first, last) of the line without its blanks at either end.
void TrimRange(const std::string& bytes, size_t& first, size_t& last) {
    while (first < last && IsBlank(static_cast<unsigned char>(bytes[first]))) ++first;
    while (last > first && IsBlank(static_cast<unsigned char>(bytes[last - 1]))) --last;
}

bool SameWord(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// A new line is ended as the file's own lines are; a file without any
// gets Notepad's CR LF.
std::string LineEndOf(const std::string& bytes) {
    size_t end = bytes.find_first_of("\r\n");
    if (end == std::string::npos) return "\r\n";
    if (bytes[end] == '\r') return end + 1 < bytes.size() && bytes[end + 1] == '\n' ? "\r\n" : "\r";
    return "\n";
}

// Inserts text as whole lines at offset at, which is a line's start or
// the end of a last line that has no line end.
void InsertLines(std::string& bytes, size_t at, const std::string& text, const std::string& lineEnd) {
    bool unended = at == bytes.size() && !bytes.empty() && bytes.back() != '\r' && bytes.back() != '\n';
    bytes.insert(at, (unended ? lineEnd : "") + text);
}

}  // namespace

bool IsUtf16Text(const std::string& bytes) {
    return bytes.compare(0, 2, "\xFF\xFE") == 0 || bytes.compare(0, 2, "\xFE\xFF") == 0;
}

bool SetSettingText(std::string& bytes, const std::string& section, const std::string& name,
                    const std::string& value) {
    if (IsUtf16Text(bytes)) return false;
    const std::string lineEnd = LineEndOf(bytes);
    const std::vector<RawLine> lines = SplitRawLines(bytes);
    bool inSection = false, sectionFound = false;
    size_t sectionEnd = 0;  // where an absent key goes: after the section's last line that is not blank
    for (const RawLine& line : lines) {
        size_t first = line.start, last = line.end;
        TrimRange(bytes, first, last);
        if (first < last && bytes[first] == '[') {
            if (inSection) break;  // only the first section of a name counts
            size_t close = bytes.rfind(']', last - 1);
            size_t nameEnd = close == std::string::npos || close <= first ? last : close;
            size_t nameStart = first + 1;
            TrimRange(bytes, nameStart, nameEnd);
            inSection = !sectionFound && SameWord(bytes.substr(nameStart, nameEnd - nameStart), section);
            if (inSection) sectionFound = true, sectionEnd = line.next;
            continue;
        }
        if (!inSection || first == last) continue;
        sectionEnd = line.next;
        size_t equals = bytes.find('=', first);
        if (equals == std::string::npos || equals >= last) continue;
        size_t keyStart = first, keyEnd = equals;
        TrimRange(bytes, keyStart, keyEnd);
        if (!SameWord(bytes.substr(keyStart, keyEnd - keyStart), name)) continue;
        size_t valueStart = equals + 1, valueEnd = last;
        TrimRange(bytes, valueStart, valueEnd);
        if (bytes.compare(valueStart, valueEnd - valueStart, value) == 0) return false;
        bytes.replace(valueStart, valueEnd - valueStart, value);
        return true;
    }
    if (sectionFound) {
        InsertLines(bytes, sectionEnd, name + "=" + value + lineEnd, lineEnd);
    } else {
        bool endsBlank = bytes.empty() || lines.empty() || lines.back().start == lines.back().end;
        InsertLines(bytes, bytes.size(), (endsBlank ? "" : lineEnd) + "[" + section + "]" + lineEnd + name + "=" +
                                             value + lineEnd, lineEnd);
    }
    return true;
}
