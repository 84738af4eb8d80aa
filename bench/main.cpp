// velquorin-bench: whole passes of the plug-in's frame loop through the
// simulated host, each beside its floor (the same natives issued by a bare
// script), with heap allocations counted per pass. The same program runs
// on Linux against libvelquorin.so and under Wine against the shipped
// dist/Velquorin.asi.
//
//   velquorin-bench [--repetitions N] [--min-time SECONDS] [--filter NAME,...]
//                   [--instructions FILE] [--tsv FILE]
//       times every scene (or those named) and prints the table; FILE for
//       --instructions holds lines "scene pass-instructions floor-instructions"
//       from callgrind runs; --tsv also writes the figures tab-separated
//   velquorin-bench --scenario NAME --frames N [--floor]
//       sets the scene up and runs N passes, for counting instructions
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "bench/runner.h"
#include "bench/scenes.h"

namespace {

#ifdef _WIN32
constexpr const char* Build = "the shipped DLL under Wine";
#else
constexpr const char* Build = "the Linux build";
#endif

struct Row {
    const SceneInfo* info;
    Timing pass;
    Timing floor;
};

struct Instructions {
    double pass = -1;
    double floor = -1;
};

std::map<std::string, Instructions> ReadInstructions(const char* path) {
    std::map<std::string, Instructions> figures;
    if (!path) return figures;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string scene;
        Instructions i;
        if (fields >> scene >> i.pass >> i.floor) figures[scene] = i;
    }
    return figures;
}

std::string Figure(double value, const char* format) {
    if (value < 0) return "-";
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

double Ratio(double pass, double floor) { return pass >= 0 && floor > 0 ? pass / floor : -1; }

void PrintTable(const std::vector<Row>& rows, const RunOptions& options,
                const std::map<std::string, Instructions>& instructions) {
    std::printf("\n%s: ns per pass over %d repetitions of at least %.2f s each (their min and median)\n\n", Build,
                options.repetitions, options.minSeconds);
    std::printf("| Frame | ns per pass, min | median | floor ns, min | median | ratio to floor, min | median | "
                "allocations per pass |%s\n",
                instructions.empty() ? "" : " instructions per pass | floor instructions |");
    std::printf("|---|---:|---:|---:|---:|---:|---:|---:|%s\n", instructions.empty() ? "" : "---:|---:|");
    for (const Row& row : rows) {
        std::printf("| %s | %s | %s | %s | %s | %s | %s | %s |", row.info->title, Figure(row.pass.minNs, "%.0f").c_str(),
                    Figure(row.pass.medianNs, "%.0f").c_str(), Figure(row.floor.minNs, "%.0f").c_str(),
                    Figure(row.floor.medianNs, "%.0f").c_str(),
                    Figure(Ratio(row.pass.minNs, row.floor.minNs), "%.2f").c_str(),
                    Figure(Ratio(row.pass.medianNs, row.floor.medianNs), "%.2f").c_str(),
                    Figure(row.pass.allocationsPerPass, "%.2f").c_str());
        if (!instructions.empty()) {
            auto counted = instructions.find(row.info->name);
            Instructions i = counted == instructions.end() ? Instructions{} : counted->second;
            std::printf(" %s | %s |", Figure(i.pass, "%.0f").c_str(), Figure(i.floor, "%.0f").c_str());
        }
        std::printf("\n");
    }
    std::fflush(stdout);
}

void WriteTsv(const char* path, const std::vector<Row>& rows) {
    std::ofstream out(path);
    for (const Row& row : rows)
        out << row.info->name << '\t' << row.info->title << '\t' << row.pass.minNs << '\t' << row.pass.medianNs << '\t'
            << row.floor.minNs << '\t' << row.floor.medianNs << '\t' << row.pass.allocationsPerPass << '\n';
}

bool Selected(const SceneInfo& info, const char* filter) {
    if (!filter) return true;
    std::istringstream names(filter);
    std::string name;
    while (std::getline(names, name, ','))
        if (name == info.name) return true;
    return false;
}

int RunFrames(const char* name, long frames, bool floor) {
    const SceneInfo* info = FindScene(name);
    if (!info || frames < 0) {
        std::fprintf(stderr, "velquorin-bench: unknown scenario %s\n", name);
        return 2;
    }
    SetUpScene(info->scene);
    if (floor) {
        SwitchToFloor(info->scene);
        std::fprintf(stderr, "velquorin-bench: %s: %zu natives per pass\n", info->name, FloorNatives());
    }
    for (long i = 0; i < frames; ++i) {
        if (floor) {
            RunFloorPass(info->scene);
        } else {
            RunPass(info->scene);
            if (info->timedSingly) BetweenPasses(info->scene);
        }
    }
    TearDownScene();
    return 0;
}

int Usage() {
    std::fputs("usage: velquorin-bench [--repetitions N] [--min-time SECONDS] [--filter NAME,...] "
               "[--instructions FILE] [--tsv FILE]\n"
               "       velquorin-bench --scenario NAME --frames N [--floor]\n",
               stderr);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    const char* scenario = nullptr;
    const char* instructionsFile = nullptr;
    const char* tsvFile = nullptr;
    const char* filter = nullptr;
    long frames = -1;
    bool floor = false;
    RunOptions options;
    for (int i = 1; i < argc; ++i) {
        auto value = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
        const char* arg = argv[i];
        const char* given = nullptr;
        if (std::strcmp(arg, "--floor") == 0) {
            floor = true;
            continue;
        }
        if (!(given = value())) return Usage();
        if (std::strcmp(arg, "--scenario") == 0)
            scenario = given;
        else if (std::strcmp(arg, "--frames") == 0)
            frames = std::strtol(given, nullptr, 10);
        else if (std::strcmp(arg, "--repetitions") == 0)
            options.repetitions = std::max(1, std::atoi(given));
        else if (std::strcmp(arg, "--min-time") == 0)
            options.minSeconds = std::strtod(given, nullptr);
        else if (std::strcmp(arg, "--filter") == 0)
            filter = given;
        else if (std::strcmp(arg, "--instructions") == 0)
            instructionsFile = given;
        else if (std::strcmp(arg, "--tsv") == 0)
            tsvFile = given;
        else
            return Usage();
    }
    // Paths given are taken from where the program starts; it then works in
    // a directory of its own.
    std::string instructionsPath = instructionsFile ? std::filesystem::absolute(instructionsFile).string() : "";
    std::string tsvPath = tsvFile ? std::filesystem::absolute(tsvFile).string() : "";
    PrepareWorkingDirectory();
    if (scenario) {
        int status = RunFrames(scenario, frames, floor);
        RemoveWorkingDirectory();
        return status;
    }

    std::vector<Row> rows;
    for (const SceneInfo& info : Scenes) {
        if (!Selected(info, filter)) continue;
        SceneTiming timing = Measure(info, options);
        Row row{&info, timing.pass, timing.floor};
        std::fprintf(stderr, "%-14s %10.0f ns per pass (median), floor %10.0f ns\n", info.name, row.pass.medianNs,
                     row.floor.medianNs);
        rows.push_back(row);
    }
    PrintTable(rows, options, ReadInstructions(instructionsFile ? instructionsPath.c_str() : nullptr));
    if (tsvFile) WriteTsv(tsvPath.c_str(), rows);
    RemoveWorkingDirectory();
    return 0;
}
