// Reader parity: every settings file of the given folders read key by key
// with our portable reader and with the platform's own GetPrivateProfileIntA
// and GetPrivateProfileStringA. Any difference fails; the first are named.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "settings/profile_reader.h"

namespace {

struct IntKey {
    const char* section;
    const char* key;
    int defaultValue;
};

// The keys the plug-in reads, with the defaults it passes.
constexpr IntKey IntKeys[] = {
    {"gameplay", "enter_realistic", 1},     {"gameplay", "use_metric_system", 1},
    {"gameplay", "max_speed_freight", 50},  {"gameplay", "max_speed_metro", 35},
    {"keys", "open_left_doors", 97},        {"keys", "open_right_doors", 99},
    {"keys", "reload_ini_file_modifier", 18}, {"keys", "reload_ini_file", 73},
    {"keys", "enter_exit", 70},             {"keys", "throttle_up", 87},
    {"keys", "throttle_down", 83},          {"keys", "brake_light", 74},
    {"keys", "brake_medium", 75},           {"keys", "brake_hard", 76},
    {"keys", "change_direction", 162},      {"keys", "toggle_gui_position", 116},
    {"gui", "background_opacity", 255},     {"gui", "text_opacity", 255},
    {"gameplay", "speed_steps_per_second", 0}, {"gui", "show_hints", 0},
    {"gameplay", "write_log", 0},
};
constexpr const char* PositionKeys[] = {
    "gui_position_x_0", "gui_position_y_0", "gui_position_x_1", "gui_position_y_1",
    "gui_position_x_2", "gui_position_y_2", "gui_position_x_3", "gui_position_y_3",
};
constexpr uint32_t PositionBuffer = 100;

// A Unix path handed over by CTest is on Wine's Z: drive.
std::string WindowsPath(std::string path) {
    if (!path.empty() && path[0] == '/') path = "Z:" + path;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

std::string Shown(const char* text, uint32_t length) {
    std::string out = "\"";
    for (uint32_t i = 0; i < length; ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        char escaped[8];
        if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\') {
            out += static_cast<char>(c);
        } else {
            std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
            out += escaped;
        }
    }
    return out + "\" (" + std::to_string(length) + " characters)";
}

struct Tally {
    int differences = 0;
    int lookups = 0;
    int notDefault = 0;  // lookups where the platform found something in the file
};

void Differ(const std::string& file, const char* section, const char* key, const std::string& ours,
            const std::string& theirs, Tally& tally) {
    if (++tally.differences <= 50)
        std::printf("%s: [%s] %s: portable reader %s, GetPrivateProfile %s\n", file.c_str(), section, key,
                    ours.c_str(), theirs.c_str());
}

void CompareFile(const std::string& path, const std::string& name, Tally& tally) {
    for (const IntKey& k : IntKeys) {
        uint32_t ours = ReadProfileInt(k.section, k.key, k.defaultValue, path.c_str());
        uint32_t theirs = GetPrivateProfileIntA(k.section, k.key, k.defaultValue, path.c_str());
        ++tally.lookups;
        if (theirs != static_cast<uint32_t>(k.defaultValue)) ++tally.notDefault;
        if (ours != theirs) Differ(name, k.section, k.key, std::to_string(ours), std::to_string(theirs), tally);
    }
    for (const char* key : PositionKeys) {
        char ours[PositionBuffer], theirs[PositionBuffer];
        std::memset(ours, 0x7E, sizeof ours);
        std::memset(theirs, 0x7E, sizeof theirs);
        uint32_t ourLength = ReadProfileString("gui", key, "0.0", ours, PositionBuffer, path.c_str());
        uint32_t theirLength = GetPrivateProfileStringA("gui", key, "0.0", theirs, PositionBuffer, path.c_str());
        ++tally.lookups;
        if (theirLength >= PositionBuffer || ourLength >= PositionBuffer) {
            Differ(name, "gui", key, std::to_string(ourLength) + " characters", std::to_string(theirLength) + " characters", tally);
            continue;
        }
        if (std::strcmp(theirs, "0.0") != 0) ++tally.notDefault;
        // The stored text and its terminating NUL must agree.
        if (ourLength != theirLength || std::memcmp(ours, theirs, ourLength + 1) != 0)
            Differ(name, "gui", key, Shown(ours, ourLength), Shown(theirs, theirLength), tally);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: velquorin-ini-parity CORPUS-FOLDER...\n");
        return 2;
    }
    namespace fs = std::filesystem;
    std::vector<std::pair<fs::path, fs::path>> files;  // folder, file
    for (int i = 1; i < argc; ++i) {
        fs::path corpus = WindowsPath(argv[i]);
        size_t before = files.size();
        for (const fs::directory_entry& entry : fs::recursive_directory_iterator(corpus))
            if (entry.is_regular_file() && entry.path().extension() == ".ini") files.emplace_back(corpus, entry.path());
        // A corpus that went missing would otherwise pass with nothing read.
        if (files.size() - before < 200) {
            std::printf("FAIL: fewer than 200 corpus files in %s\n", corpus.string().c_str());
            return 1;
        }
    }
    std::sort(files.begin(), files.end());

    Tally tally;
    const auto start = std::chrono::steady_clock::now();
    for (const auto& [corpus, file] : files)
        CompareFile(fs::absolute(file).string(), fs::relative(file, corpus).generic_string(), tally);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    std::printf("%zu files, %d lookups, %d found in the file, %d differences; %.1f s, %.0f files per second\n",
                files.size(), tally.lookups, tally.notDefault, tally.differences, seconds,
                static_cast<double>(files.size()) / seconds);
    // A path the platform cannot open would pass with every lookup at its default.
    if (tally.notDefault < tally.lookups / 10) {
        std::printf("FAIL: the platform found too few keys; is the corpus readable?\n");
        return 1;
    }
    return tally.differences == 0 ? 0 : 1;
}
