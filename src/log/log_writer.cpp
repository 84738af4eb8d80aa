// The log file's state: opened at most once per load of the plug-in,
// appended to line by line, and closed for good when full or failing.
#include <charconv>
#include <cmath>
#include <cstring>

#include "host/platform.h"
#include "log/log.h"
#include "log/log_line.h"
#include "settings/settings.h"
#include "velquorin_source.h"

namespace {

struct LogRecord {
    bool openTried = false;
    uintptr_t file = 0;  // 0: no file, or no longer written
    uint32_t bytes = 0;
    uint32_t startTick = 0;
    bool settingsSaidOn = false;  // write_log as the last load left it
};
LogRecord LogState;

constexpr char FullText[] = "log full at 256 KiB: nothing more is written until the game starts again";
// The full line's time (ten digits at most), its space, text and line end.
constexpr uint32_t FullLineBytes = 10 + 1 + sizeof FullText - 1 + 1;

uint32_t SinceStart() { return static_cast<uint32_t>(GetTickCount()) - LogState.startTick; }

void StopWriting() {
    CloseLogFile(LogState.file);
    LogState.file = 0;
}

void Append(const LogLineRecord& line) {
    if (!AppendToLogFile(LogState.file, line.text, line.length)) {
        StopWriting();  // a full disk or a vanished file: no half-told log
        return;
    }
    LogState.bytes += line.length;
}

}  // namespace

void LogPluginStarted() { LogState.startTick = static_cast<uint32_t>(GetTickCount()); }

bool LogWanted() { return LogState.file != 0 && Settings.writeLog; }

// A folder that cannot be written gives no file, once: the plug-in runs on
// without a log and never asks again.
bool LogTakesSettingsLine() {
    if (Settings.writeLog && !LogState.openTried) {
        LogState.openTried = true;
        LogState.file = CreateLogFile(LogPath);
        if (LogState.file != 0) {
            LogLineRecord line;
            BeginLogLine(line);
            AppendText(line, "start: Velquorin " VELQUORIN_SOURCE_VERSION);
            WriteLogLine(line);
        }
    }
    const bool written = LogState.file != 0 && (Settings.writeLog || LogState.settingsSaidOn);
    LogState.settingsSaidOn = Settings.writeLog;
    return written;
}

void CloseLog() {
    if (LogState.file != 0) StopWriting();
}

void BeginLogLine(LogLineRecord& line) {
    line.length = 0;
    line.cut = false;
    AppendNumber(line, SinceStart());
    AppendText(line, " ");
}

namespace {
// Room is kept for "...\n" at the end of a line that was cut.
void AppendRange(LogLineRecord& line, const char* text, size_t size) {
    const uint32_t room = sizeof line.text - 4;
    for (size_t i = 0; i < size; ++i) {
        if (line.length >= room) {
            line.cut = true;
            return;
        }
        // One event, one line: a line break inside a text would split it.
        const char c = text[i];
        line.text[line.length++] = c == '\n' || c == '\r' ? ' ' : c;
    }
}
void AppendChars(LogLineRecord& line, const char* begin, const char* end) {
    AppendRange(line, begin, static_cast<size_t>(end - begin));
}
}  // namespace

void AppendText(LogLineRecord& line, const char* text) { AppendRange(line, text, std::strlen(text)); }

void AppendNumber(LogLineRecord& line, uint64_t value) {
    char text[24];
    auto result = std::to_chars(text, text + sizeof text, value);
    AppendChars(line, text, result.ptr);
}

void AppendSigned(LogLineRecord& line, int64_t value) {
    char text[24];
    auto result = std::to_chars(text, text + sizeof text, value);
    AppendChars(line, text, result.ptr);
}

void AppendHexByte(LogLineRecord& line, uint8_t value) {
    const char digits[] = "0123456789ABCDEF";
    const char text[] = {'0', 'x', digits[value >> 4], digits[value & 15], '\0'};
    AppendText(line, text);
}

// A NaN or an infinity is written by name; both builds spell them alike.
void AppendFixed(LogLineRecord& line, float value, int decimals) {
    if (!std::isfinite(value)) return AppendText(line, std::isnan(value) ? "nan" : value > 0 ? "inf" : "-inf");
    char text[64];
    auto result = std::to_chars(text, text + sizeof text, static_cast<double>(value), std::chars_format::fixed, decimals);
    if (result.ec == std::errc()) AppendChars(line, text, result.ptr);
}

void AppendShortest(LogLineRecord& line, float value) {
    if (!std::isfinite(value)) return AppendText(line, std::isnan(value) ? "nan" : value > 0 ? "inf" : "-inf");
    char text[64];
    auto result = std::to_chars(text, text + sizeof text, value);
    if (result.ec == std::errc()) AppendChars(line, text, result.ptr);
}

void WriteLogLine(LogLineRecord& line) {
    if (LogState.file == 0) return;
    if (line.cut) {
        std::memcpy(line.text + line.length, "...", 3);
        line.length += 3;
    }
    line.text[line.length++] = '\n';
    if (LogState.bytes + line.length + FullLineBytes > LogLimitBytes) {
        LogLineRecord full;
        BeginLogLine(full);
        AppendText(full, FullText);
        full.text[full.length++] = '\n';
        Append(full);
        StopWriting();
        return;
    }
    Append(line);
}
