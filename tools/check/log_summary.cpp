// The log's last session in a few lines: which build started it, the keys
// the keyboard sent and what each counted for, what the last settings load
// made of the file, the boardings with why the others failed, and how each
// drive ended. The lines are the plug-in's own (src/log/), each after its
// milliseconds.
#include "log_summary.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <vector>

#include "printable.h"
#include "settings_check.h"

namespace fs = std::filesystem;

namespace {

constexpr size_t MostShown = 40;  // keys, and drives

bool EndsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

std::string WithoutTime(const std::string& line) {
    size_t space = line.find(' ');
    return space == std::string::npos ? line : line.substr(space + 1);
}

void Say(std::FILE* out, const std::string& line) { std::fprintf(out, "%s\n", Printable(line).c_str()); }

struct Drive {
    std::string train;  // "3 (freight)"
    std::string end;    // how it ended, in the log's words; "" while it goes on
};

// "enter/exit: boarded train 3, freight, 0.100 from the cab door, ..." and
// "... left train 3 by the seat check: ...": the train is the number.
std::string TrainNumber(const std::string& text) { return text.substr(0, text.find_first_of(", ")); }

void SumUp(const fs::path& log, std::FILE* out) {
    std::ifstream in(log, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (WithoutTime(line).rfind("start: ", 0) == 0) lines.clear();  // an older session
        lines.push_back(line);
    }
    Say(out, "");
    Say(out, "The log, " + log.string() + ":");
    if (lines.empty()) return Say(out, "  empty: write_log is 0, or the game has not started since it was set");
    const std::string start = WithoutTime(lines.front());
    Say(out, "  last session: " + (start.rfind("start: ", 0) == 0 ? start.substr(7) : start));
    std::vector<std::string> keys;
    std::set<std::string> keysSeen;
    std::string lastLoad = "none in the log";
    std::map<std::string, int> failures;
    std::vector<Drive> drives;
    int reloads = 0;
    bool full = false;
    for (const std::string& line : lines) {
        const std::string event = WithoutTime(line);
        if (event.rfind("key: code ", 0) == 0 && keysSeen.insert(event).second) keys.push_back(event.substr(10));
        // Each load replaces what the one before it read.
        if (event.rfind("settings error: ", 0) == 0) lastLoad = "stopped: " + event.substr(16);
        if (event.rfind("settings: ", 0) == 0) lastLoad = "every value read";
        if (event.rfind("enter/exit: boarded train ", 0) == 0) {
            const std::string train = event.substr(26), number = TrainNumber(train);
            const size_t model = std::min(train.size(), number.size() + 2);
            drives.push_back({number + " (" + train.substr(model, train.find(',', model) - model) + ")", ""});
        }
        if (const size_t left = event.find("left train "); left != std::string::npos) {
            const std::string rest = event.substr(left + 11), number = TrainNumber(rest);
            for (auto drive = drives.rbegin(); drive != drives.rend(); ++drive)
                if (drive->end.empty() && TrainNumber(drive->train) == number) {
                    drive->end = rest.substr(std::min(rest.size(), number.size() + 1));
                    break;
                }
        }
        if (event.rfind("enter/exit: not boarded: ", 0) == 0) {
            std::string why = event.substr(25);
            // "too far from train 7, freight, 2.000 ...": the reason, not the figures.
            if (why.rfind("too far", 0) == 0) why = "too far";
            if (why.find("another model") != std::string::npos) why = "another model";
            ++failures[why];
        }
        if (event.rfind("game reload:", 0) == 0) ++reloads;
        if (event.rfind("log full", 0) == 0) full = true;
    }
    Say(out, "  game reloads since: " + std::to_string(reloads));
    Say(out, "  keys seen (" + std::to_string(keys.size()) + "), each as its first message came:");
    for (size_t i = 0; i < keys.size() && i < MostShown; ++i) Say(out, "    " + keys[i]);
    if (keys.size() > MostShown) Say(out, "    ... and " + std::to_string(keys.size() - MostShown) + " more");
    Say(out, "  last settings load: " + lastLoad);
    std::string tries = "  boardings: " + std::to_string(drives.size()) + " boarded";
    for (const auto& [why, count] : failures) tries += ", " + std::to_string(count) + " not (" + why + ")";
    Say(out, tries);
    if (!drives.empty()) Say(out, "  drives, each as it ended:");
    for (size_t i = 0; i < drives.size() && i < MostShown; ++i)
        Say(out, "    train " + drives[i].train + ": " +
                     (drives[i].end.empty() ? "not ended when the log stops" : drives[i].end));
    if (drives.size() > MostShown) Say(out, "    ... and " + std::to_string(drives.size() - MostShown) + " more");
    if (full) Say(out, "  the log is full (256 KiB): later events of that session are not in it");
}

}  // namespace

int CheckSettingsAndLog(const std::string& path, std::FILE* out) {
    fs::path given(path);
    const bool isLog = EndsWith(given.filename().string(), ".log") || EndsWith(given.filename().string(), ".LOG");
    fs::path settings = isLog ? given.parent_path() / "Velquorin.ini" : given;
    fs::path log = isLog ? given : given.parent_path() / "Velquorin.log";
    std::error_code error;
    int status = 0;
    if (!isLog || fs::exists(settings, error)) status = CheckSettingsFile(settings.string().c_str(), out);
    else Say(out, "No Velquorin.ini beside " + given.string() + ": only the log is summed up.");
    if (fs::is_regular_file(log, error)) SumUp(log, out);
    return status;
}
