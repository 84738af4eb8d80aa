// velquorin-sim: the plug-in's own code in the simulated world, for
// modders and players without the game.
#include <cstdio>
#include <exception>
#include <string>

#include "command_line.h"
#include "desk.h"
#include "drive_session.h"
#include "log_summary.h"
#include "settings_check.h"
#include "velquorin_source.h"
#include "velquorin_version.h"

namespace {

// The game's model names, and "metro", the short one players use.
CLI::Option* AddModelOption(CLI::App& command, std::string& model, bool required) {
    CLI::Option* option =
        command.add_option("--model", model, "the train: freight, or metro (the game's metrotrain)")
            ->type_name("MODEL")
            ->check(CLI::IsMember({"freight", "metro", "metrotrain"}).description(""))
            ->transform([](std::string name) {  // runs before the check
                name = CLI::detail::to_lower(name);
                return name == "metro" ? std::string("metrotrain") : name;
            });
    if (required) option->required();
    return option;
}

CLI::Validator InRange(long low, long high) { return CLI::Range(low, high).description(""); }

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"velquorin-sim " VELQUORIN_VERSION ": the Velquorin plug-in's own code in a simulated game.",
                 "velquorin-sim"};
    app.set_version_flag("--version", "velquorin-sim " VELQUORIN_SOURCE_VERSION, "print the version and exit");
    app.set_help_flag("-h,--help", "print this help and exit");
    app.require_subcommand(1);

    DemoOptions demo;
    CLI::App* demoCommand = app.add_subcommand("demo", "a scripted drive, printed, with a screenshot and a chart");
    demoCommand->add_option("--settings", demo.settings, "a Velquorin.ini to drive with (default: the shipped one)")
        ->type_name("FILE");
    demoCommand->add_option("--out", demo.out, "where the pictures go")->type_name("DIR")->capture_default_str();
    demoCommand->add_option("--fps", demo.fps, "frames a second")->type_name("N")->check(InRange(10, 1000))
        ->capture_default_str();

    DriveOptions drive;
    CLI::App* driveCommand = app.add_subcommand("drive", "drive a train yourself in this terminal");
    driveCommand->add_option("--settings", drive.settings, "a Velquorin.ini, read again at each reload chord (default: the shipped one)")
        ->type_name("FILE");
    AddModelOption(*driveCommand, drive.model, false)->default_str("metro");
    driveCommand->footer(DriveHelp);

    std::string checked;
    CLI::App* checkCommand = app.add_subcommand("check", "what the game makes of a settings file");
    checkCommand->add_option("FILE", checked, "the Velquorin.ini to check, or a Velquorin.log to sum up after the settings beside it")->type_name("")->required();

    PlotOptions plot;
    CLI::App* plotCommand = app.add_subcommand("plot", "the speed chart of a run from rest at a fixed throttle");
    plotCommand->add_option("--throttle", plot.throttle, "percent")->type_name("0..100")->required()
        ->check(InRange(0, 100));
    plotCommand->add_option("--brake", plot.brake, "0 released, 1 light, 2 medium, 3 hard")->type_name("0..3")
        ->check(InRange(0, 3))->capture_default_str();
    AddModelOption(*plotCommand, plot.model, true);
    CLI::Option* frames =
        plotCommand->add_option("--frames", plot.frames, "how long to run (default: until the speed settles)")
            ->type_name("N")->check(InRange(1, 1000000));
    CLI::Option* fps = plotCommand->add_option("--fps", plot.fps, "frames a second")->type_name("N")
        ->check(InRange(10, 1000))->capture_default_str();
    plotCommand->add_flag("--frame-rates", plot.frameRates,
                          "one chart of the run at 30, 60, 144 and 240 frames a second, with "
                          "speed_steps_per_second at 0 and at 60")
        ->excludes(frames)->excludes(fps);
    plotCommand->add_option("--settings", plot.settings, "a Velquorin.ini (default: the shipped one)")
        ->type_name("FILE");
    plotCommand->add_option("--out", plot.out, "the chart")->type_name("FILE")->capture_default_str();

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& outcome) {
        return ExitAfterParse(app, outcome);
    }

    std::string command = app.get_subcommands().front()->get_name();
    try {
        if (command == "demo") return RunDemo(demo);
        if (command == "drive") return RunDrive(drive);
        if (command == "plot") return RunPlot(plot);
        return CheckSettingsAndLog(checked, stdout);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "velquorin-sim %s: %s\n", command.c_str(), error.what());
        return 2;
    }
}
