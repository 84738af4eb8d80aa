// velquorin-sim drive: the player's keys in a terminal, in raw mode, and
// the session's screen redrawn in place.
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "desk.h"
#include "drive_session.h"

namespace {

constexpr int RedrawMs = 33;

struct TerminalRecord {
    termios saved{};
    bool raw = false;
};
TerminalRecord Terminal;
volatile std::sig_atomic_t QuitRequested = 0;

void RestoreTerminal() {
    if (!Terminal.raw) return;
    tcsetattr(STDIN_FILENO, TCSANOW, &Terminal.saved);
    std::printf("\033[?25h\033[?1049l");
    std::fflush(stdout);
    Terminal.raw = false;
}

void OnSignal(int) { QuitRequested = 1; }

bool EnterRawMode() {
    if (!isatty(STDIN_FILENO) || tcgetattr(STDIN_FILENO, &Terminal.saved) != 0) return false;
    termios raw = Terminal.saved;
    raw.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO | ISIG | IEXTEN));
    raw.c_iflag &= static_cast<tcflag_t>(~(IXON | ICRNL | BRKINT | ISTRIP));
    raw.c_cc[VMIN] = 0;
    raw.c_cc[VTIME] = 0;
    if (tcsetattr(STDIN_FILENO, TCSANOW, &raw) != 0) return false;
    Terminal.raw = true;
    std::atexit(RestoreTerminal);
    std::signal(SIGTERM, OnSignal);
    std::signal(SIGHUP, OnSignal);
    std::printf("\033[?1049h\033[?25l\033[2J");
    return true;
}

void ReadKeys(DriveSession& s) {
    char buffer[256];
    ssize_t n = read(STDIN_FILENO, buffer, sizeof buffer);
    if (n > 0) TypeKeys(s, std::string(buffer, static_cast<size_t>(n)));
}

void Redraw(const DriveSession& s) {
    std::string frame = "\033[H";
    for (const std::string& line : ScreenLines(s)) frame += line + "\033[K\r\n";
    frame += "\033[J";
    std::fputs(frame.c_str(), stdout);
    std::fflush(stdout);
}

}  // namespace

int RunDrive(const DriveOptions& options) {
    using Clock = DriveClock;
    DriveSession s;
    s.model = options.model;
    s.settingsPath = options.settings.empty() ? "" : AbsolutePath(options.settings);
    // The run's folder goes at exit; the plug-in's log of it is kept here.
    const std::string keptLog = AbsolutePath("velquorin-drive");
    PrepareSettings(s.settingsPath);
    if (!EnterRawMode()) {
        std::fprintf(stderr, "velquorin-sim drive needs a terminal; try velquorin-sim demo\n");
        return 2;
    }
    StartDriveSession(s);

    auto nextFrame = Clock::now();
    auto nextRedraw = nextFrame;
    while (!s.quit && !QuitRequested) {
        ReadKeys(s);
        ReleaseQuietKeys(s);
        // One frame per 16 ms of real time; after a stall, catch up a little only.
        for (int caughtUp = 0; Clock::now() >= nextFrame && caughtUp < 4; ++caughtUp) {
            sim::RunFrame(DriveFrameMs);
            NoteWhatTheGameDid(s);
            nextFrame += std::chrono::milliseconds(DriveFrameMs);
        }
        if (Clock::now() > nextFrame + std::chrono::milliseconds(100)) nextFrame = Clock::now();
        if (Clock::now() >= nextRedraw) {
            Redraw(s);
            nextRedraw = Clock::now() + std::chrono::milliseconds(RedrawMs);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    sim::Unload();
    RestoreTerminal();
    std::printf("%s\n", KeepLogAndSettings(keptLog).c_str());
    for (const std::string& fault : sim::Faults()) std::printf("host fault: %s\n", fault.c_str());
    return sim::Faults().empty() ? 0 : 1;
}
