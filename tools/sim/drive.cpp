// velquorin-sim drive: the player's keys in a terminal. A terminal reports
// presses and their auto-repeats but never a release, so each press is a
// key-down and a key that has not repeated for 150 ms is let go.
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <filesystem>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <map>
#include <sstream>
#include <thread>

#include "desk.h"
#include "printable.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int ReleaseAfterMs = 150;
constexpr int FrameMs = 16;
constexpr int RedrawMs = 33;
constexpr uint32_t Alt = 18, F5 = 116, F6 = 117, LeftControl = 162, Numpad1 = 97, Numpad3 = 99;

struct TerminalRecord {
    termios saved{};
    bool raw = false;
};
TerminalRecord Terminal;
volatile std::sig_atomic_t QuitRequested = 0;

struct DriveSession {
    int train = 0;
    std::string model;
    std::string settingsPath;  // absolute; "" for the shipped settings
    std::string lastReload;
    std::map<uint32_t, Clock::time_point> held;  // keys down, by their last press or repeat
    std::string gameReacted;  // what the game last did of its own, shown for a while
    Clock::time_point gameReactedAt;
    bool quit = false;
};

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

// The plug-in reads .\Velquorin.ini, a copy: when the reload chord goes
// down, the copy is made again from the player's file, so the plug-in
// reads that file as it is now.
void Press(DriveSession& s, uint32_t vk) {
    sim::KeyDown(vk);  // a repeat arrives as a second key-down, marked as already down
    s.held[vk] = Clock::now();
    const SettingsRecord& settings = PluginSettings();
    bool chord = s.held.count(settings.reloadIniFileModifierKey) && s.held.count(settings.reloadIniFileKey);
    if (chord && !s.settingsPath.empty()) {
        char at[32];
        std::snprintf(at, sizeof at, "at %.1f s: ", sim::Now() / 1000.0);
        s.lastReload = at + RefreshSettings(s.settingsPath);
    }
}

void ReleaseQuietKeys(DriveSession& s) {
    auto now = Clock::now();
    for (auto it = s.held.begin(); it != s.held.end();) {
        if (now - it->second > std::chrono::milliseconds(ReleaseAfterMs)) {
            sim::KeyUp(it->first);
            it = s.held.erase(it);
        } else {
            ++it;
        }
    }
}

// The game taking the player out of the seat behind the plug-in's back: a
// death, respawned beside the track, or a switch to another character,
// the old one left sitting in the seat.
void LeaveSeatTheGamesWay(bool switchCharacter) {
    if (switchCharacter) {
        sim::SwitchPlayerCharacter();
        return;
    }
    const sim::Vec3 at = sim::Get(sim::Player()).position;
    sim::PlacePlayer({at.x + 5.0f, at.y, 0.0f});
}

// Letters are their own keys; the rest have stand-ins a terminal can send.
// Each goes through the simulated Windows keyboard: Tab is the left
// Control key, sent as 17, and '1' keypad 1 with NumLock on.
void PressCharacter(DriveSession& s, char c) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    switch (c) {
    case 'q':
    case 0x03: s.quit = true; break;
    case 'c':
    case '\t': Press(s, LeftControl); break;
    case '1': Press(s, Numpad1); break;
    case '3': Press(s, Numpad3); break;
    case '5': Press(s, F5); break;
    case '6': Press(s, F6); break;
    case '!': LeaveSeatTheGamesWay(false); break;
    case '*': LeaveSeatTheGamesWay(true); break;
    case 'r': {  // the reload chord, as the settings bind it
        const SettingsRecord& settings = PluginSettings();
        Press(s, settings.reloadIniFileModifierKey), Press(s, settings.reloadIniFileKey);
        break;
    }
    default:
        if (c >= 'a' && c <= 'z') Press(s, static_cast<uint32_t>(c - 'a' + 'A'));
        break;
    }
}

// Escape sequences: F5 and F6 as xterm and the Linux console send them,
// the arrows, and Alt + a letter as ESC before it.
size_t PressEscape(DriveSession& s, const std::string& in, size_t at) {
    std::string rest = in.substr(at + 1);
    if (rest.rfind("[15~", 0) == 0 || rest.rfind("[[E", 0) == 0) {
        Press(s, F5);
        return at + (rest[1] == '[' ? 4 : 5);
    }
    if (rest.rfind("[17~", 0) == 0) {
        Press(s, F6);
        return at + 5;
    }
    // The arrows, as ESC [ A to D, or ESC O A to D in application mode.
    if (rest.size() >= 2 && (rest[0] == '[' || rest[0] == 'O') && rest[1] >= 'A' && rest[1] <= 'D') {
        static const uint32_t Arrows[] = {38, 40, 39, 37};  // up, down, right, left
        Press(s, Arrows[rest[1] - 'A']);
        return at + 3;
    }
    if (!rest.empty() && std::isalpha(static_cast<unsigned char>(rest[0]))) {  // Alt + a letter
        Press(s, Alt);
        Press(s, static_cast<uint32_t>(std::toupper(static_cast<unsigned char>(rest[0]))));
        return at + 2;
    }
    size_t end = at + 1;  // anything else: skip the whole sequence
    if (end < in.size() && (in[end] == '[' || in[end] == 'O')) {
        ++end;
        while (end < in.size() && !(in[end] >= 0x40 && in[end] <= 0x7E)) ++end;
        ++end;
    }
    return end;
}

void ReadKeys(DriveSession& s) {
    char buffer[256];
    ssize_t n = read(STDIN_FILENO, buffer, sizeof buffer);
    if (n <= 0) return;
    std::string in(buffer, static_cast<size_t>(n));
    for (size_t i = 0; i < in.size();) {
        if (in[i] == '\033') {
            i = PressEscape(s, in, i);
        } else {
            PressCharacter(s, in[i]);
            ++i;
        }
    }
}

std::string TrackLine(const DriveSession& s) {
    constexpr int Width = 60;
    constexpr double Length = 1000.0;  // metres the line shows before it wraps
    const sim::Entity& train = sim::Get(s.train);
    std::string line(Width + 1, '-');
    auto column = [&](double y) {
        double along = std::fmod(y, Length);
        if (along < 0) along += Length;
        return static_cast<size_t>(along / Length * Width);
    };
    line[column(train.position.y)] = 'T';
    const DriveRecord& drive = PluginDrive();
    if (!drive.driving) line[column(sim::Get(sim::Player()).position.y)] = 'P';
    char text[160];
    std::snprintf(text, sizeof text, "Track |%s| y = %.1f m", line.c_str(), train.position.y);
    return text;
}

std::string DoorLine(const DriveSession& s) {
    const sim::Entity& train = sim::Get(s.train);
    const sim::Entity& carriage = sim::Get(train.carriage);
    auto side = [&](int a, int b, int c, int d) {
        int open = train.doors[a] + train.doors[b] + carriage.doors[c] + carriage.doors[d];
        return open == 4 ? "OPEN" : open == 0 ? "shut" : "partly open";
    };
    return std::string("Doors: left ") + side(0, 2, 1, 3) + ", right " + side(1, 3, 0, 2);
}

// How this terminal sends a key: letters and arrows as themselves ("": no
// stand-in needed), other keys by the stand-ins PressCharacter takes.
std::string TerminalKey(uint32_t code) {
    switch (code) {
    case LeftControl: return "c or Tab";
    case Numpad1: return "1";
    case Numpad3: return "3";
    case F5: return "5 or F5";
    case F6: return "6 or F6";
    default: break;
    }
    bool letter = code >= 'A' && code <= 'Z' && code != 'C' && code != 'Q' && code != 'R';
    bool arrow = code >= 37 && code <= 40;
    return letter || arrow ? "" : "not on this terminal";
}

std::string KeyHelp(const char* key, uint32_t code) {
    std::string terminal = TerminalKey(code);
    return BindingName(key, code) + (terminal.empty() ? "" : " (" + terminal + ")");
}

// The bindings by name, as the settings now stand; the names are read from
// the working copy again only when a reload changed a code.
const std::vector<std::string>& KeyHelpLines() {
    static std::vector<std::string> lines;
    static std::vector<uint32_t> shownCodes;
    const SettingsRecord& k = PluginSettings();
    std::vector<uint32_t> codes = {k.enterExitKey,       k.throttleUpKey,     k.throttleDownKey,
                                   k.brakeLightKey,      k.brakeMediumKey,    k.brakeHardKey,
                                   k.changeDirectionKey, k.openLeftDoorsKey,  k.openRightDoorsKey,
                                   k.toggleGuiPositionKey, k.reloadIniFileModifierKey, k.reloadIniFileKey,
                                   k.toggleConsoleKey};
    if (codes == shownCodes) return lines;
    shownCodes = codes;
    lines = {"Keys: " + KeyHelp("enter_exit", k.enterExitKey) + " board/leave  " +
                 KeyHelp("throttle_up", k.throttleUpKey) + "/" + KeyHelp("throttle_down", k.throttleDownKey) +
                 " throttle  " + KeyHelp("brake_light", k.brakeLightKey) + "/" +
                 KeyHelp("brake_medium", k.brakeMediumKey) + "/" + KeyHelp("brake_hard", k.brakeHardKey) + " brakes",
             "      " + KeyHelp("change_direction", k.changeDirectionKey) + " direction  " +
                 KeyHelp("open_left_doors", k.openLeftDoorsKey) + "/" +
                 KeyHelp("open_right_doors", k.openRightDoorsKey) + " doors  " +
                 KeyHelp("toggle_gui_position", k.toggleGuiPositionKey) + " panel position",
             "      " + KeyHelp("toggle_console", k.toggleConsoleKey) + " console  " +
                 BindingName("reload_ini_file_modifier", k.reloadIniFileModifierKey) +
                 " + " + BindingName("reload_ini_file", k.reloadIniFileKey) + " (r) reload",
             "      The game: ! kills the player, * switches character (the drive ends by itself)"};
    return lines;
}

// The game acting on a key of its own that Velquorin did not take.
void NoteWhatTheGameDid(DriveSession& s) {
    const sim::GameReactions& game = sim::GameReacted();
    const char* what = game.switchedCharacter ? "the game switched character"
                       : game.ownExit         ? "the game's own exit"
                       : game.enteredCar      ? "the game walked the player into a car"
                       : game.wheelShown      ? "the game shows its character wheel"
                                              : nullptr;
    if (!what) return;
    s.gameReacted = what;
    s.gameReactedAt = Clock::now();
}

void Redraw(const DriveSession& s) {
    std::ostringstream view;
    auto line = [&](const std::string& text) { view << text << "\033[K\r\n"; };
    line("Velquorin desk drive: " + s.model + "   q quits");
    line("Settings: " + (s.settingsPath.empty() ? std::string("the shipped Velquorin.ini")
                                                 : Printable(s.settingsPath) + ", read again at each reload chord"));
    if (!s.lastReload.empty()) line("Last reload " + Printable(s.lastReload));
    for (const std::string& help : KeyHelpLines()) line(help);
    line("");
    const DriveRecord& drive = PluginDrive();
    const OverlayRecord& overlay = PluginOverlay();
    line(drive.driving ? "Player: in the driver's seat" : "Player: on foot (press F by the cab door)");
    if (Clock::now() - s.gameReactedAt < std::chrono::seconds(3)) line("The game: " + s.gameReacted);
    std::vector<std::string> panel = sim::PanelLines();
    if (!drive.driving)
        line(panel.empty() ? "Panel: not shown while on foot" : "Hint, where the panel shows (show_hints=1):");
    else if (!overlay.panelVisible)
        line("Panel: hidden (F5 shows it again)");
    else {
        char where[96];
        std::snprintf(where, sizeof where, "Panel at position %d (%.2f, %.2f):", overlay.panelSlot,
                      static_cast<double>(overlay.panelX), static_cast<double>(overlay.panelY));
        line(where);
    }
    for (const std::string& text : panel) line("  " + ColouredLine(text, true));
    line("");
    line(TrackLine(s));
    line(DoorLine(s));
    line("");
    if (sim::ConsoleDrawn()) {
        line("Console:");
        std::istringstream text(sim::ConsoleTextDrawn());
        int shown = 0;
        for (std::string entry; std::getline(text, entry) && shown < 8; ++shown) line("  " + entry);
    } else {
        line("Console: hidden (" + BindingName("toggle_console", PluginSettings().toggleConsoleKey) + ")");
    }
    view << "\033[J";
    std::string frame = view.str();
    std::fputs("\033[H", stdout);
    std::fputs(frame.c_str(), stdout);
    std::fflush(stdout);
}

}  // namespace

int RunDrive(const DriveOptions& options) {
    DriveSession s;
    s.model = options.model;
    s.settingsPath = options.settings.empty() ? "" : AbsolutePath(options.settings);
    // The run's folder goes at exit; the plug-in's log of it is kept here.
    const std::string keptLog = AbsolutePath("velquorin-drive.log");
    PrepareSettings(s.settingsPath);
    if (!EnterRawMode()) {
        std::fprintf(stderr, "velquorin-sim drive needs a terminal; try velquorin-sim demo\n");
        return 2;
    }
    // As if the game had been running a while: the plug-in's debounce
    // counts from tick 0, so at a clock of 0 the first half second of
    // presses would do nothing.
    sim::SetClock(60000);
    // The terminal's own auto-repeat stands for Windows' repeat; a second
    // one from the simulated keyboard would be a repeat Windows never sends.
    sim::SetKeyRepeat(false);
    sim::Load();
    s.train = PlaceTrainAndPlayer(s.model);

    auto nextFrame = Clock::now();
    auto nextRedraw = nextFrame;
    while (!s.quit && !QuitRequested) {
        ReadKeys(s);
        ReleaseQuietKeys(s);
        // One frame per 16 ms of real time; after a stall, catch up a little only.
        for (int caughtUp = 0; Clock::now() >= nextFrame && caughtUp < 4; ++caughtUp) {
            sim::RunFrame(FrameMs);
            NoteWhatTheGameDid(s);
            nextFrame += std::chrono::milliseconds(FrameMs);
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
    std::error_code error;
    if (std::filesystem::copy_file("Velquorin.log", keptLog, std::filesystem::copy_options::overwrite_existing, error))
        std::printf("The plug-in's Velquorin.log of this drive (write_log=1): %s\n", keptLog.c_str());
    for (const std::string& fault : sim::Faults()) std::printf("host fault: %s\n", fault.c_str());
    return sim::Faults().empty() ? 0 : 1;
}
