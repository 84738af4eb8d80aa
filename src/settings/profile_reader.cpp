// Reads profile (INI) files the way Wine's GetPrivateProfileStringA/IntA do.
// The file is decoded to UTF-16 (UTF-8 or UTF-16 LE/BE after a BOM, else code
// page 1252) and parsed there; results go back to 1252 with Wine's best fit.
// Lines end at any CR/LF run and are trimmed of 0x09-0x0D, 0x1A and 0x20.
// "[name]" (up to the last "]") opens a section; any other line is a key,
// split at its first "="; keys before the first header form section "".
// Only the first section and the first key of a name count, compared
// ASCII-case-insensitively; names and values end at a NUL.
// Only a regular file of at most ProfileFileLimit bytes is read; the last
// one read stays parsed until its size or times change.
#include "settings/profile_reader.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/profile_line.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

using Text = std::u16string;
using View = std::u16string_view;

// Code page 1252 at 0x80-0x9F; the five unassigned bytes map to themselves.
const char16_t kAnsiHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Wine's best-fit bytes for characters outside 1252, from code `first` on;
// '.' marks a character without one. Fullwidth ASCII is handled in ToAnsi.
struct BestFitRun {
    char16_t first;
    const char* bytes;
};
const BestFitRun kBestFit[] = {
    {0x0100, "AaAaAaCcCcCcCcDd\xD0" "dEeEeEeEeEeGgGgGgGgHhHhIiIi"},
    {0x012C, "IiIiIi..JjKk.LlLlLl..LlNnNnNn...OoOoOo..RrRr"},
    {0x0158, "RrSsSsSs..TtTtTtUuUuUuUuUuUuWwYy.ZzZz...b"},
    {0x0189, "\xD0.......\x83.....I..l....OOo.........t..TUu"},
    {0x01B6, "z.........|..!.........AaIiOoUuUuUuUuUu.Aa"}, {0x01E4, "GgGgKkOoOo..j"}, {0x0261, "g"},
    {0x02B9, "'\".'.......^...'\xAF\xB4`._"}, {0x02DA, "\xB0"}, {0x0300, "`\xB4^~\xAF\xAF..\xA8.\xB0...\""},
    {0x0327, "\xB8.........__"}, {0x037E, ";"}, {0x0393, "G....T..........S..F..O.......a\xDF.de......\xB5"},
    {0x03C0, "p..st.f"}, {0x04BB, "h"}, {0x0589, ":"}, {0x066A, "%"}, {0x2000, "       .........--.....="},
    {0x2024, "\xB7"}, {0x2032, "'..`"}, {0x2044, "/"}, {0x2070, "\xB0...45678......n0123456789"},
    {0x20A1, "\xA2..\xA3..P"}, {0x2102, "C....E..gHHHh.IILl.N..PPQRRR......Z...Z.K\xC5" "BC"},
    {0x212E, "eeEF.Mo"}, {0x2205, "\xD8"}, {0x2212, "-\xB1./\\*\xB0\xB7v...8....|.....n"},
    {0x2236, ":.....~...........\x98"}, {0x2261, "=..==....\xAB\xBB"}, {0x22C5, "\xB7"}, {0x2302, "\xA6^"},
    {0x2310, "\xAC"}, {0x2320, "().......<>"}, {0x2500, "-.\xA6.........+...+...+...+...+.......\xA6"},
    {0x252C, "-.......-.......+"}, {0x2550, "-\xA6++++++++++++\xA6\xA6\xA6\xA6\xA6\xA6------+++"},
    {0x2580, "\xAF..._...\xA6...\xA6...\xA6\xA6\xA6\xA6"}, {0x25A0, "\xA6"}, {0x263C, "\xA4"}, {0x2758, "|"},
    {0x3000, " .......<>\xAB\xBB"}, {0x301A, "[]"}, {0x30FB, "\xB7"},
};

char16_t FromAnsi(unsigned char b) { return b >= 0x80 && b < 0xA0 ? kAnsiHigh[b - 0x80] : b; }

Text FromAnsi(const char* s) {
    Text out;
    for (; s && *s; ++s) out += FromAnsi(static_cast<unsigned char>(*s));
    return out;
}

char ToAnsi(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
    for (int i = 0; i < 32; ++i)
        if (kAnsiHigh[i] == c) return static_cast<char>(0x80 + i);
    if (c >= 0xFF01 && c <= 0xFF5E) return static_cast<char>(c - 0xFEE0);
    for (const BestFitRun& run : kBestFit)
        if (c >= run.first && c - run.first < static_cast<int>(std::strlen(run.bytes)))
            return run.bytes[c - run.first] == '.' ? '?' : run.bytes[c - run.first];
    return '?';
}

// Wine's UTF-8 decoder: each rejected prefix becomes one U+FFFD, and a
// sequence cut short by the end of the file swallows what is left.
char32_t NextUtf8(const unsigned char*& p, const unsigned char* end) {
    unsigned c = *p++;
    if (c < 0x80) return c;
    unsigned len = c >= 0xF5 ? 0 : c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC2 ? 1 : 0;
    if (len > static_cast<size_t>(end - p)) {
        p = end;
        return 0xFFFD;
    }
    char32_t res = c & (0x3F >> len);
    switch (len) {
    case 3:
        if ((c = *p ^ 0x80u) >= 0x40) break;
        res = res << 6 | c, ++p;
        if (res < 0x10) break;
        [[fallthrough]];
    case 2:
        if ((c = *p ^ 0x80u) >= 0x40) break;
        res = res << 6 | c;
        if (res >= 0x4400) break;  // above U+10FFFF
        ++p;
        if (res < 0x20 || (res >= 0x360 && res <= 0x37F)) break;  // overlong or surrogate
        [[fallthrough]];
    case 1:
        if ((c = *p ^ 0x80u) >= 0x40) break;
        res = res << 6 | c, ++p;
        if (res < 0x80) break;
        return res;
    }
    return 0xFFFD;
}

Text Decode(const std::string& bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const unsigned char* end = p + bytes.size();
    Text out;
    out.reserve(bytes.size());
    if (bytes.size() >= 3 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF) {
        for (p += 3; p < end;) {
            char32_t c = NextUtf8(p, end);
            if (c < 0x10000) {
                out += static_cast<char16_t>(c);
            } else {
                out += static_cast<char16_t>(0xD7C0 + (c >> 10));
                out += static_cast<char16_t>(0xDC00 | (c & 0x3FF));
            }
        }
    } else if (bytes.size() >= 2 && ((p[0] == 0xFF && p[1] == 0xFE) || (p[0] == 0xFE && p[1] == 0xFF))) {
        int hi = p[0] == 0xFF ? 1 : 0;  // index of the high byte: 1 little-endian, 0 big-endian
        for (p += 2; p + 1 < end; p += 2) out += static_cast<char16_t>(p[hi] << 8 | p[1 - hi]);
        if (p < end) out += *p;  // Wine reads past the end here; the next byte is usually 0
    } else {
        for (; p < end; ++p) out += FromAnsi(*p);
    }
    return out;
}

View Trim(View s) { return TrimProfileBlanks(s); }

bool SameName(View name, View wanted) {
    if (name.size() != wanted.size()) return false;
    auto lower = [](char16_t c) { return c >= 'A' && c <= 'Z' ? static_cast<char16_t>(c + 32) : c; };
    for (size_t i = 0; i < name.size(); ++i)
        if (lower(name[i]) != lower(wanted[i])) return false;
    return true;
}

// A stretch of the decoded file, by position, so it survives moving the text.
struct Span {
    uint32_t at = 0, length = 0;
};

// One non-blank line: a section header's name, or a key's name and value
// (hasValue false when the line had no "=").
struct Line {
    bool header = false, hasValue = false;
    Span name, value;
};

struct ProfileFile {
    Text text;
    std::vector<Line> lines;
};

View In(const ProfileFile& file, Span span) { return View(file.text).substr(span.at, span.length); }

std::vector<Line> SplitLines(const Text& text) {
    auto span = [&text](View part) {
        return Span{static_cast<uint32_t>(part.data() - text.data()), static_cast<uint32_t>(part.size())};
    };
    std::vector<Line> lines;
    for (View rest = text; !rest.empty();) {
        View line = TakeProfileLine(rest);
        if (line.empty()) continue;
        ProfileLine<char16_t> read = ReadProfileLine(line);
        const bool hasValue = read.kind == ProfileLineKind::Key;
        lines.push_back({read.kind == ProfileLineKind::Header, hasValue, span(read.name),
                         hasValue ? span(read.value) : Span{}});
    }
    return lines;
}

// The key's value, or nothing when the key is absent or has no "=".
std::optional<Text> Lookup(const ProfileFile& file, View section, View key) {
    bool inSection = section.empty();  // the unnamed section always comes first
    for (const Line& line : file.lines) {
        if (line.header) {
            if (inSection) return std::nullopt;  // a later section of the same name is ignored
            inSection = SameName(In(file, line.name), section);
        } else if (inSection && SameName(In(file, line.name), key)) {
            if (!line.hasValue) return std::nullopt;
            return Text(In(file, line.value));
        }
    }
    return std::nullopt;
}

// What tells a changed file apart: its size and times, and its inode when
// an editor saved by replacing it.
struct FileStamp {
    uint64_t size = 0, device = 0, inode = 0;
    int64_t modified = 0, changed = 0;  // nanoseconds since 1970
    bool operator==(const FileStamp&) const = default;
};

constexpr int64_t Second = 1000000000;

FileStamp StampOf(const struct stat& info) {
#ifdef _WIN32
    // msvcrt has whole seconds, and no device or inode that stat and fstat agree on.
    const int64_t modified = static_cast<int64_t>(info.st_mtime) * Second;
    return {static_cast<uint64_t>(info.st_size), 0, 0, modified, modified};
#else
    auto ns = [](const timespec& t) { return static_cast<int64_t>(t.tv_sec) * Second + t.tv_nsec; };
    return {static_cast<uint64_t>(info.st_size), static_cast<uint64_t>(info.st_dev),
            static_cast<uint64_t>(info.st_ino), ns(info.st_mtim), ns(info.st_ctim)};
#endif
}

// The last file read, parsed once for all the lookups of a load. A file
// changed less than two seconds before it was read might change again
// within the same timestamp step (a coarse kernel clock, FAT's two
// seconds) and keep its stamp, so until then each lookup reads it again and
// parses it again only if its bytes differ.
struct ProfileCache {
    std::string path;
    FileStamp stamp;
    bool settled = false;
    std::string bytes;
    ProfileFile file;
};
ProfileCache Cache;
const ProfileFile NoFile;
constexpr int64_t SettleTime = 2 * Second;

#ifdef _WIN32
constexpr int OpenFlags = O_RDONLY | O_BINARY;
#else
constexpr int OpenFlags = O_RDONLY | O_NONBLOCK | O_CLOEXEC;  // a FIFO must not block
#endif

unsigned ReadChunk(size_t left) { return static_cast<unsigned>(std::min<size_t>(left, 1u << 20)); }

// The file's bytes, or nothing when the path turned into something other
// than a regular file since it was looked at, or grew past the limit.
std::optional<std::string> ReadRegularFile(const std::string& name, FileStamp& stamp) {
    int fd = open(name.c_str(), OpenFlags);
    if (fd < 0) return std::nullopt;
    struct stat info {};
    std::optional<std::string> bytes;
    if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        stamp = StampOf(info);
        // One byte past the limit, so that a file grown since fstat still stops.
        bytes.emplace(std::min<uint64_t>(stamp.size, ProfileFileLimit) + 1, '\0');
        size_t had = 0;
        while (had < bytes->size()) {
            auto n = read(fd, bytes->data() + had, ReadChunk(bytes->size() - had));
            if (n <= 0) break;
            had += static_cast<size_t>(n);
        }
        if (had > ProfileFileLimit)
            bytes.reset();
        else
            bytes->resize(had);
    }
    close(fd);
    return bytes;
}

// The parsed file; NoFile for a missing file in an existing folder and for
// anything but a regular file of at most ProfileFileLimit bytes (a FIFO
// would block, a device never end). Null when Wine could not open the path
// (no folder, a folder, no access): then it hands the default back verbatim.
const ProfileFile* OpenProfile(const char* path) {
    if (!path) return nullptr;
    std::string name = path;
#ifndef _WIN32
    for (char& c : name)
        if (c == '\\') c = '/';
#endif
    struct stat info {};
    if (stat(name.c_str(), &info) != 0) {
        if (errno != ENOENT) return nullptr;
        // The folder without its trailing separator, which Windows' stat rejects.
        size_t slash = name.find_last_of("/\\");
        bool root = slash == 0 || (slash != std::string::npos && name[slash - 1] == ':');
        std::string folder = slash == std::string::npos ? "." : name.substr(0, root ? slash + 1 : slash);
        bool folderExists = stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
        return folderExists ? &NoFile : nullptr;
    }
    if (S_ISDIR(info.st_mode)) return nullptr;
    if (!S_ISREG(info.st_mode) || static_cast<uint64_t>(info.st_size) > ProfileFileLimit) return &NoFile;
    if (Cache.settled && Cache.path == name && Cache.stamp == StampOf(info)) return &Cache.file;

    const int64_t now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                            std::chrono::system_clock::now().time_since_epoch()).count();
    FileStamp stamp;
    std::optional<std::string> bytes = ReadRegularFile(name, stamp);
    if (!bytes) return &NoFile;
    Cache.settled = false;
    if (Cache.path != name || Cache.bytes != *bytes) {
        ProfileFile fresh;
        fresh.text = Decode(*bytes);
        fresh.lines = SplitLines(fresh.text);
        Cache.file = std::move(fresh);
        Cache.bytes = std::move(*bytes);
        Cache.path = name;
    }
    Cache.stamp = stamp;
    Cache.settled = stamp.changed + SettleTime < now;
    return &Cache.file;
}

// Wine's copy-out strips one pair of matching outer quotes, and when the
// buffer just fits the unquoted text it drops that text's last character.
Text CopyOut(Text value, uint32_t size) {
    bool quoted = value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0];
    if (quoted) value.erase(0, 1);
    Text out = value.substr(0, size - 1);
    if (quoted && size >= value.size() && !out.empty()) out.pop_back();
    return out;
}

// The text GetPrivateProfileStringW would store in a buffer of size > 0.
Text Fetch(const char* section, const char* key, const char* defaultText, uint32_t size, const char* path) {
    Text fallback = FromAnsi(defaultText);
    while (fallback.size() > 1 && fallback.back() == ' ') fallback.pop_back();
    const ProfileFile* file = OpenProfile(path);
    if (!file) return fallback.substr(0, size - 1);
    // A null section or key would list names under Windows; here it finds nothing.
    std::optional<Text> value;
    if (section && key) {
        Text s = FromAnsi(section), k = FromAnsi(key);
        value = Lookup(*file, Trim(s), Trim(k));
    }
    return CopyOut(value ? *value : fallback, size);
}

// RtlUnicodeStringToInteger with base 0: lower-case 0x/0o/0b prefixes,
// digits until the first non-digit, wrapping modulo 2^32.
uint32_t ParseInteger(const Text& text) {
    size_t i = 0;
    while (i < text.size() && text[i] <= ' ') ++i;
    bool minus = i < text.size() && text[i] == '-';
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    uint32_t base = 10;
    if (i + 1 < text.size() && text[i] == '0') {
        char16_t p = text[i + 1];
        base = p == 'x' ? 16 : p == 'o' ? 8 : p == 'b' ? 2 : 10;
        if (base != 10) i += 2;
    }
    uint32_t total = 0;
    for (; i < text.size(); ++i) {
        char16_t c = text[i];
        uint32_t digit = c >= '0' && c <= '9'   ? c - '0'
                         : c >= 'a' && c <= 'z' ? c - 'a' + 10
                         : c >= 'A' && c <= 'Z' ? c - 'A' + 10
                                                : 99;
        if (digit >= base) break;
        total = total * base + digit;
    }
    return minus ? 0u - total : total;
}

}  // namespace

uint32_t ReadProfileInt(const char* section, const char* key, int32_t defaultValue, const char* path) {
    try {
        Text text = Fetch(section, key, "", 30, path);
        return text.empty() ? static_cast<uint32_t>(defaultValue) : ParseInteger(text);
    } catch (...) {  // out of memory
        return static_cast<uint32_t>(defaultValue);
    }
}

uint32_t ReadProfileString(const char* section, const char* key, const char* defaultText, char* buffer,
                           uint32_t size, const char* path) {
    if (!buffer || size == 0) return 0;
    uint32_t n = 0;
    try {
        for (char16_t c : Fetch(section, key, defaultText, size, path)) buffer[n++] = ToAnsi(c);
    } catch (...) {  // out of memory
        n = 0;
    }
    buffer[n] = '\0';
    return n;
}
