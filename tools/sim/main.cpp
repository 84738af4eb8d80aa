// velquorin-sim: the plug-in's own code in the simulated world, for
// modders and players without the game.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "desk.h"
#include "settings_check.h"

namespace {
constexpr const char* Usage =
    "usage: velquorin-sim demo [--settings PATH] [--out DIR]   a scripted drive, printed, with two pictures\n"
    "       velquorin-sim drive [--settings PATH] [--model freight|metrotrain]   drive in this terminal\n"
    "       velquorin-sim check PATH                         what the plug-in makes of a settings file\n"
    "       velquorin-sim plot --throttle N --brake L --model freight|metrotrain --frames N\n"
    "                          [--settings PATH] [--out FILE]     the speed chart of a run from rest\n";
}  // namespace

int main(int argc, char** argv) {
    std::string command = argc > 1 ? argv[1] : "";
    std::vector<std::string> args(argv + (argc > 1 ? 2 : 1), argv + argc);
    try {
        if (command == "demo") return RunDemo(args);
        if (command == "drive") return RunDrive(args);
        if (command == "plot") return RunPlot(args);
        if (command == "check" && args.size() == 1) return CheckSettingsFile(args[0].c_str(), stdout);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "velquorin-sim %s: %s\n", command.c_str(), error.what());
        return 2;
    }
    std::fprintf(stderr, "%s", Usage);
    return 2;
}
