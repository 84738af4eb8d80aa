// Each line is found as the game finds it: its headers as Windows' reader
// ends them (the checker's game view, GameLineOf), then every line as the
// portable reader reads that view (ReadProfileLine), so the line this
// rewrites is the one the game reads. Every search stays inside its line, so an edit
// costs one pass over the file whatever the file holds.
#include "settings_edit.h"

#include <string_view>

#include "settings/profile_line.h"
#include "settings_scan.h"

namespace {

using View = std::string_view;

bool SameWord(View a, View b) {
    if (a.size() != b.size()) return false;
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    for (size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i])) return false;
    return true;
}

// A new line is ended as the file's own lines are; a file without any
// gets Notepad's CR LF.
std::string LineEndOf(View bytes) {
    size_t end = bytes.find_first_of("\r\n");
    if (end == View::npos) return "\r\n";
    if (bytes[end] == '\r') return end + 1 < bytes.size() && bytes[end + 1] == '\n' ? "\r\n" : "\r";
    return "\n";
}

// Whether the last line of the file is blank, so a section added after it
// needs no blank line of its own.
bool EndsWithBlankLine(View bytes) {
    size_t end = bytes.size();
    if (end > 0 && bytes[end - 1] == '\n') {
        --end;
        if (end > 0 && bytes[end - 1] == '\r') --end;
    } else if (end > 0 && bytes[end - 1] == '\r') {
        --end;
    } else {
        return bytes.empty();
    }
    return end == 0 || bytes[end - 1] == '\r' || bytes[end - 1] == '\n';
}

// Inserts text as whole lines at offset at, which is a line's start or
// the end of a last line that has no line end.
void InsertLines(std::string& bytes, size_t at, const std::string& text, const std::string& lineEnd) {
    bool unended = at == bytes.size() && !bytes.empty() && bytes.back() != '\r' && bytes.back() != '\n';
    bytes.insert(at, (unended ? lineEnd : "") + text);
}

// One past the line end (a CR LF pair, or a lone CR or LF) at offset end.
size_t AfterLineEnd(View bytes, size_t end) {
    if (end + 1 < bytes.size() && bytes[end] == '\r' && bytes[end + 1] == '\n') return end + 2;
    return end < bytes.size() ? end + 1 : end;
}

size_t EndOfLine(View text, size_t start) {
    while (start < text.size() && text[start] != '\r' && text[start] != '\n') ++start;
    return start;
}

}  // namespace

bool IsUtf16Text(const std::string& bytes) {
    return bytes.compare(0, 2, "\xFF\xFE") == 0 || bytes.compare(0, 2, "\xFE\xFF") == 0;
}

bool SetSettingText(std::string& bytes, const std::string& section, const std::string& name,
                    const std::string& value) {
    if (IsUtf16Text(bytes)) return false;
    const std::string lineEnd = LineEndOf(bytes);
    const View file = bytes;
    const bool bom = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0;
    bool inSection = false, sectionFound = false;
    size_t sectionEnd = 0;  // where an absent key goes: after the section's last line that is not blank
    for (size_t at = bom ? 3 : 0, end; at <= file.size(); at = end + 1) {
        end = EndOfLine(file, at);
        const View written = TrimProfileBlanks(file.substr(at, end - at));
        const GameLine seen = GameLineOf(written, bom && at == 3);
        if (seen.text.empty()) continue;
        if (seen.text[0] == '[') {  // a header for Windows' reader: for ours too, in the game's view of it
            std::string header(seen.text);
            if (seen.closed) header += ']';
            if (inSection) break;  // only the first section of a name counts
            inSection = !sectionFound && SameWord(ReadProfileLine(View(header)).name, section);
            if (inSection) sectionFound = true, sectionEnd = AfterLineEnd(file, end);
            continue;
        }
        if (!inSection) continue;
        sectionEnd = AfterLineEnd(file, end);
        const ProfileLine<char> line = ReadProfileLine(written);
        if (!SameWord(line.name, name)) continue;
        if (line.kind == ProfileLineKind::KeyWithoutValue) {
            // The reader stops at this line and takes the default: give it the value.
            bytes.insert(static_cast<size_t>(written.data() + written.size() - file.data()), "=" + value);
            return true;
        }
        if (line.value == value) return false;
        bytes.replace(static_cast<size_t>(line.value.data() - file.data()), line.value.size(), value);
        return true;
    }
    if (sectionFound) {
        InsertLines(bytes, sectionEnd, name + "=" + value + lineEnd, lineEnd);
    } else {
        InsertLines(bytes, bytes.size(), (EndsWithBlankLine(bytes) ? "" : lineEnd) + "[" + section + "]" + lineEnd +
                                             name + "=" + value + lineEnd, lineEnd);
    }
    return true;
}
