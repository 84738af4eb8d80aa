// velquorin-bench: whole passes of the plug-in's frame loop through the
// simulated host, each beside its floor (the same natives issued by a bare
// script), with heap allocations counted per pass.
//
//   velquorin-bench [benchmark flags] [--instructions FILE]
//       times every scene and prints the table; FILE holds lines
//       "scene pass-instructions floor-instructions" from callgrind runs
//   velquorin-bench --scenario NAME --frames N [--floor]
//       sets the scene up and runs N passes, for counting instructions
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "bench/alloc_count.h"
#include "bench/replay.h"
#include "bench/scenes.h"

namespace {

void Frame(benchmark::State& state, Scene scene, bool floor) {
    SetUpScene(scene);
    if (floor) SwitchToFloor(scene);
    uint64_t before = AllocationCount();
    if (floor) {
        for (auto _ : state) RunFloorPass(scene);
    } else {
        for (auto _ : state) RunPass(scene);
    }
    state.counters["allocs"] =
        benchmark::Counter(static_cast<double>(AllocationCount() - before), benchmark::Counter::kAvgIterations);
    TearDownScene();
}

struct Median {
    double nanoseconds = -1;
    double allocations = -1;
};

// Passes everything on to the console and keeps each benchmark's median.
class MedianKeeper : public benchmark::ConsoleReporter {
public:
    MedianKeeper() : ConsoleReporter(OO_Tabular) {}  // no colour codes in a saved run
    std::map<std::string, Median> medians;
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Aggregate || run.aggregate_name != "median") continue;
            Median& m = medians[run.run_name.function_name];
            m.nanoseconds = run.GetAdjustedCPUTime();  // CPU time: other builds on the machine inflate wall time
            auto allocs = run.counters.find("allocs");
            if (allocs != run.counters.end()) m.allocations = allocs->second.value;
        }
        ConsoleReporter::ReportRuns(runs);
    }
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

void PrintTable(const MedianKeeper& kept, const std::map<std::string, Instructions>& instructions) {
    std::printf("\n| Frame | ns per pass (median) | floor ns | ratio to floor | allocations per pass | "
                "instructions per pass | floor instructions |\n");
    std::printf("|---|---:|---:|---:|---:|---:|---:|\n");
    for (const SceneInfo& info : Scenes) {
        auto pass = kept.medians.find(std::string("pass/") + info.name);
        auto floor = kept.medians.find(std::string("floor/") + info.name);
        if (pass == kept.medians.end()) continue;
        double ns = pass->second.nanoseconds;
        double floorNs = floor == kept.medians.end() ? -1 : floor->second.nanoseconds;
        auto counted = instructions.find(info.name);
        Instructions i = counted == instructions.end() ? Instructions{} : counted->second;
        std::printf("| %s | %s | %s | %s | %s | %s | %s |\n", info.title, Figure(ns, "%.0f").c_str(),
                    Figure(floorNs, "%.0f").c_str(), Figure(floorNs > 0 ? ns / floorNs : -1, "%.2f").c_str(),
                    Figure(pass->second.allocations, "%.2f").c_str(), Figure(i.pass, "%.0f").c_str(),
                    Figure(i.floor, "%.0f").c_str());
    }
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
        std::fprintf(stderr, "velquorin-bench: %s: %zu natives per pass\n", info->name, ReplayedNatives());
    }
    for (long i = 0; i < frames; ++i) floor ? RunFloorPass(info->scene) : RunPass(info->scene);
    TearDownScene();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const char* scenario = nullptr;
    const char* instructionsFile = nullptr;
    long frames = -1;
    bool floor = false;
    std::vector<char*> rest{argv[0]};
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--scenario") == 0 && i + 1 < argc)
            scenario = argv[++i];
        else if (std::strcmp(argv[i], "--frames") == 0 && i + 1 < argc)
            frames = std::strtol(argv[++i], nullptr, 10);
        else if (std::strcmp(argv[i], "--floor") == 0)
            floor = true;
        else if (std::strcmp(argv[i], "--instructions") == 0 && i + 1 < argc)
            instructionsFile = argv[++i];
        else
            rest.push_back(argv[i]);
    }
    PrepareWorkingDirectory();
    if (scenario) {
        int status = RunFrames(scenario, frames, floor);
        RemoveWorkingDirectory();
        return status;
    }

    for (const SceneInfo& info : Scenes) {
        for (bool isFloor : {false, true}) {
            std::string name = std::string(isFloor ? "floor/" : "pass/") + info.name;
            auto* b = benchmark::RegisterBenchmark(name.c_str(), Frame, info.scene, isFloor);
            b->Unit(benchmark::kNanosecond)->Repetitions(9)->ReportAggregatesOnly(true)->MinTime(0.2);
        }
    }
    int count = static_cast<int>(rest.size());
    benchmark::Initialize(&count, rest.data());
    if (benchmark::ReportUnrecognizedArguments(count, rest.data())) {
        RemoveWorkingDirectory();
        return 1;
    }
    MedianKeeper reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    PrintTable(reporter, ReadInstructions(instructionsFile));
    benchmark::Shutdown();
    RemoveWorkingDirectory();
    return 0;
}
