// velquorin-check: tells a player what the game makes of their settings.
// Started by a double-click it checks the Velquorin.ini beside it; a file
// dropped onto it arrives as its argument.
#include <windows.h>

#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <system_error>

#include "command_line.h"
#include "log_summary.h"
#include "printable.h"
#include "settings_check.h"
#include "velquorin_source.h"
#include "velquorin_version.h"

namespace fs = std::filesystem;

namespace {

fs::path ProgramFolder() {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length == MAX_PATH) return {};
    return fs::path(path).parent_path();
}

// The Velquorin.ini beside the program, else the one in the current folder;
// "" when neither is there.
std::string FindSettingsFile(std::FILE* out) {
    std::error_code error;
    fs::path beside = ProgramFolder() / "Velquorin.ini";
    fs::path here = fs::current_path(error) / "Velquorin.ini";
    if (fs::exists(beside, error)) {
        std::fprintf(out, "No file given: checking the Velquorin.ini beside velquorin-check.exe.\n");
        return beside.string();
    }
    if (fs::exists(here, error)) {
        std::fprintf(out, "No file given, and no Velquorin.ini beside velquorin-check.exe: checking the one in "
                          "the current folder.\n");
        return here.string();
    }
    std::fprintf(out, "%s\n",
                 Printable("error: no file given, and there is no Velquorin.ini beside velquorin-check.exe (in " +
                           ProgramFolder().string() + ") or in the current folder (" +
                           fs::current_path(error).string() + ").")
                     .c_str());
    std::fprintf(out, "Put velquorin-check.exe in the game's folder, beside Velquorin.ini, and start it there, or "
                      "drop Velquorin.ini onto it.\n");
    return "";
}

// A console of its own means Explorer started the program, and the window
// closes with it; a program started from a prompt or a script shares its
// console, and one whose input is no console never waits.
void WaitForEnterIfTheWindowWouldClose() {
    DWORD processes[2];
    DWORD mode;
    if (GetConsoleProcessList(processes, 2) != 1) return;
    if (!GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode)) return;
    std::printf("\nPress Enter to close this window.");
    std::fflush(stdout);
    for (int c = std::getchar(); c != '\n' && c != EOF; c = std::getchar()) {
    }
}

int Run(int argc, char** argv) {
    CLI::App app{"velquorin-check " VELQUORIN_VERSION ": what the game makes of a Velquorin.ini: each value it "
                 "will use, and the mistakes it takes without a word.\nExit status: 0 no mistakes, 1 warnings, "
                 "2 an error.",
                 "velquorin-check"};
    app.set_version_flag("--version", "velquorin-check " VELQUORIN_SOURCE_VERSION, "print the version and exit");
    app.set_help_flag("-h,--help", "print this help and exit");
    app.allow_windows_style_options(false);  // "/x" is a path (Wine hands Unix paths on as they are)
    std::string path;
    app.add_option("FILE", path,
                   "the file to check (default: the Velquorin.ini beside velquorin-check.exe, else the one in "
                   "the current folder); a Velquorin.log is summed up after the settings beside it")
        ->type_name("");
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& outcome) {
        return ExitAfterParse(app, outcome);
    }
    if (path.empty()) path = FindSettingsFile(stdout);
    if (path.empty()) return 2;
    return CheckSettingsAndLog(path, stdout);
}

}  // namespace

int main(int argc, char** argv) {
    int status = 2;
    try {
        status = Run(argc, argv);
    } catch (const std::exception& error) {
        std::fprintf(stdout, "error: %s\n", Printable(error.what()).c_str());
    }
    std::fflush(stdout);
    WaitForEnterIfTheWindowWouldClose();
    return status;
}
