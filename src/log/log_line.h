// Inside the log: a line built in a fixed buffer, and the one place that
// writes it. Nothing here allocates or throws.
#pragma once
#include <cstdint>

struct LogLineRecord {
    char text[2048];
    uint32_t length = 0;
    bool cut = false;  // the text did not fit; the line ends in "..."
};

// Whether events go to the file now: it is open, not full, and the
// settings last loaded keep write_log on.
bool LogWanted();

// The line's time, then a space; what follows is the event.
void BeginLogLine(LogLineRecord& line);
void AppendText(LogLineRecord& line, const char* text);
void AppendNumber(LogLineRecord& line, uint64_t value);
void AppendSigned(LogLineRecord& line, int64_t value);
void AppendHexByte(LogLineRecord& line, uint8_t value);
// Three decimals, for distances and speeds, unless told otherwise.
void AppendFixed(LogLineRecord& line, float value, int decimals = 3);
// The shortest text that reads back as the same float (0.5, 50, 1e-07).
void AppendShortest(LogLineRecord& line, float value);
// Ends the line and appends it to the file; the last line that fits under
// the limit says the log is full, and nothing is written after it.
void WriteLogLine(LogLineRecord& line);

// For each settings load, after it: opens the file (with its start line)
// at the first load that turns write_log on, and says whether this load's
// line is written: write_log is on, or this load just turned it off.
bool LogTakesSettingsLine();
