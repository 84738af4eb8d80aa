// The desk drive's keys and screen. A terminal reports presses and their
// auto-repeats but never a release, so each press is a key-down and a key
// that has not repeated for 150 ms is let go.
#include "drive_session.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <sstream>

#include "desk.h"
#include "printable.h"

namespace {

constexpr int ReleaseAfterMs = 150;
constexpr float StepMetres = 0.5f;
constexpr uint32_t Alt = 18, F5 = 116, F6 = 117, LeftControl = 162, Numpad1 = 97, Numpad3 = 99;

// The plug-in reads .\Velquorin.ini, a copy: when the reload chord goes
// down, the copy is made again from the player's file, so the plug-in
// reads that file as it is now.
void Press(DriveSession& s, uint32_t vk) {
    sim::KeyDown(vk);  // a repeat arrives as a second key-down, marked as already down
    s.held[vk] = DriveClock::now();
    const SettingsRecord& settings = PluginSettings();
    bool chord = s.held.count(settings.reloadIniFileModifierKey) && s.held.count(settings.reloadIniFileKey);
    if (chord && !s.settingsPath.empty()) {
        char at[32];
        std::snprintf(at, sizeof at, "at %.1f s: ", (sim::Now() - s.startTick) / 1000.0);
        s.lastReload = at + RefreshSettings(s.settingsPath);
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

// On foot, a step over the ground toward the spot by the cab door, where
// the train stands now (a negative one away from it); the last step toward
// stops on the spot, and from the spot away is out from the door's side.
// The ground is the spot's height, so a player respawned lower stands at
// the door again once walked there.
void Walk(const DriveSession& s, float metres) {
    if (sim::Get(sim::Player()).seatedIn != 0 || !sim::Exists(s.train)) return;
    const sim::Vec3 at = sim::Get(sim::Player()).position, spot = SpotByCabDoor(s.train);
    const float dx = at.x - spot.x, dy = at.y - spot.y, from = std::hypot(dx, dy);
    const bool onSpot = from < 0.01f;
    const float outX = spot.x < sim::Get(s.train).position.x ? -1.0f : 1.0f;
    const float ux = onSpot ? outX : dx / from, uy = onSpot ? 0.0f : dy / from;
    const float to = std::max(0.0f, from - metres);
    sim::PlacePlayer({spot.x + ux * to, spot.y + uy * to, spot.z});
}

// The pad's stand-ins: a trigger pulled all the way while its key repeats.
constexpr struct {
    char typed;
    sim::pad::Button button;
} PadKeys[] = {{']', sim::pad::RT}, {'[', sim::pad::LT},      {'7', sim::pad::A},         {'8', sim::pad::X},
               {'9', sim::pad::RB}, {'0', sim::pad::LB},      {',', sim::pad::DpadLeft}, {'.', sim::pad::DpadRight},
               {'2', sim::pad::DpadDown}, {'4', sim::pad::Y}};

void PadRelease(sim::pad::Button button) {
    if (button == sim::pad::RT || button == sim::pad::LT)
        sim::SetTrigger(button, 0.0f);
    else
        sim::PadUp(button);
}

bool PressPad(DriveSession& s, char c) {
    for (const auto& key : PadKeys) {
        if (key.typed != c) continue;
        if (key.button == sim::pad::RT || key.button == sim::pad::LT)
            sim::SetTrigger(key.button, 1.0f);
        else
            sim::PadDown(key.button);
        s.padHeld[key.button] = DriveClock::now();
        return true;
    }
    return false;
}

// Letters are their own keys; the rest have stand-ins a terminal can send.
// Each goes through the simulated Windows keyboard: Tab is the left
// Control key, sent as 17, and '1' keypad 1 with NumLock on.
void PressCharacter(DriveSession& s, char c) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (PressPad(s, c)) return;
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
    case '+': Walk(s, StepMetres); break;
    case '-': Walk(s, -StepMetres); break;
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

// The track from above, along y, a row for the train and one for the
// player, each mark where it stands. A column is 1, 2 or 5 times a power
// of ten metres, the least that keeps both within a quarter of the row;
// the row shows a quarter of track before them and moves on by a quarter
// when they near its end.
std::vector<std::string> TrackLines(const DriveSession& s) {
    constexpr int Width = 60;
    const sim::Entity& train = sim::Get(s.train);
    const sim::Entity& player = sim::Get(sim::Player());
    const double trainY = train.position.y, playerY = player.position.y;
    const double low = std::min(trainY, playerY), spread = std::fabs(trainY - playerY);
    double metres = 1.0;
    for (int step = 0; spread > Width / 4 * metres; ++step) metres *= step % 3 == 1 ? 2.5 : 2.0;
    const double quarter = Width / 4 * metres, start = (std::floor(low / quarter) - 1) * quarter;
    auto row = [&](double y, char mark) {
        std::string line(Width, '-');
        line[static_cast<size_t>(std::clamp((y - start) / metres, 0.0, Width - 1.0))] = mark;
        return line;
    };
    const sim::Vec3 door = CabDoor(s.train);
    const float dx = player.position.x - door.x, dy = player.position.y - door.y, dz = player.position.z - door.z;
    char trainLine[160], playerLine[160];
    std::snprintf(trainLine, sizeof trainLine, "Track  |%s| train at y = %.1f m, a column is %g m",
                  row(trainY, 'T').c_str(), trainY, metres);
    if (player.seatedIn == s.train)
        std::snprintf(playerLine, sizeof playerLine, "Player |%s| in the driver's seat", row(playerY, 'P').c_str());
    else
        std::snprintf(playerLine, sizeof playerLine, "Player |%s| %.1f m from the cab door", row(playerY, 'P').c_str(),
                      static_cast<double>(std::sqrt(dx * dx + dy * dy + dz * dz)));
    return {trainLine, playerLine};
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
struct KeyNamesRecord {
    std::vector<uint32_t> codes;
    std::vector<std::string> help;
    std::string enterExit, panelPosition, console;
};

const KeyNamesRecord& KeyNames() {
    static KeyNamesRecord names;
    const SettingsRecord& k = PluginSettings();
    std::vector<uint32_t> codes = {k.enterExitKey,       k.throttleUpKey,     k.throttleDownKey,
                                   k.brakeLightKey,      k.brakeMediumKey,    k.brakeHardKey,
                                   k.changeDirectionKey, k.openLeftDoorsKey,  k.openRightDoorsKey,
                                   k.toggleGuiPositionKey, k.reloadIniFileModifierKey, k.reloadIniFileKey,
                                   k.toggleConsoleKey};
    if (codes == names.codes) return names;
    names.codes = codes;
    names.enterExit = BindingName("enter_exit", k.enterExitKey);
    names.panelPosition = BindingName("toggle_gui_position", k.toggleGuiPositionKey);
    names.console = BindingName("toggle_console", k.toggleConsoleKey);
    names.help = {"Keys: " + KeyHelp("enter_exit", k.enterExitKey) + " board/leave  " +
                      KeyHelp("throttle_up", k.throttleUpKey) + "/" + KeyHelp("throttle_down", k.throttleDownKey) +
                      " throttle  " + KeyHelp("brake_light", k.brakeLightKey) + "/" +
                      KeyHelp("brake_medium", k.brakeMediumKey) + "/" + KeyHelp("brake_hard", k.brakeHardKey) +
                      " brakes",
                  "      " + KeyHelp("change_direction", k.changeDirectionKey) + " direction  " +
                      KeyHelp("open_left_doors", k.openLeftDoorsKey) + "/" +
                      KeyHelp("open_right_doors", k.openRightDoorsKey) + " doors  " +
                      KeyHelp("toggle_gui_position", k.toggleGuiPositionKey) + " panel position",
                  "      " + KeyHelp("toggle_console", k.toggleConsoleKey) + " console  " +
                      BindingName("reload_ini_file_modifier", k.reloadIniFileModifierKey) + " + " +
                      BindingName("reload_ini_file", k.reloadIniFileKey) + " (r) reload",
                  "      Pad (use_gamepad=1): ] RT  [ LT  7 A  8 X  9 RB  0 LB  , . D-pad left/right  2 D-pad down  4 Y",
                  "      On foot: + a step toward the cab door, - a step away (half a metre each)",
                  "      The game: ! kills the player, * switches character (the drive ends by itself)"};
    return names;
}

}  // namespace

const char* const DriveHelp =
    "Keys, as the shipped settings bind them (the screen lists those of the settings in use):\n"
    "  F board or leave, W/S throttle, J/K/L brakes, c or Tab direction (LCONTROL),\n"
    "  1/3 the left/right doors (NUMPAD1/NUMPAD3), 5 or F5 panel position, O console,\n"
    "  r the reload chord (Alt + I); other letters and the arrows are sent as themselves.\n"
    "  On foot: + a step toward the train's cab door, - a step away (half a metre each).\n"
    "  A pad (use_gamepad=1, as shipped; it drives once pressed): ] RT, [ LT, 7 A, 8 X, 9 RB,\n"
    "  0 LB, , and . the D-pad's left and right, 2 its down, 4 Y.\n"
    "  The game: ! kills the player, * switches character; 6 or F6 is the game's switch to\n"
    "  another character unless Velquorin takes it. q or Ctrl-C quits.\n"
    "The train: a metro train (metrotrain), unless --model says freight.\n"
    "The log: with write_log=1 (as shipped) the plug-in's Velquorin.log of the drive and the\n"
    "Velquorin.ini it last read are kept in ./velquorin-drive/ when the drive ends;\n"
    "velquorin-sim check velquorin-drive/Velquorin.log reads both.";

void StartDriveSession(DriveSession& s) {
    // As if the game had been running a while: the plug-in's debounce
    // counts from tick 0, so at a clock of 0 the first half second of
    // presses would do nothing.
    sim::SetClock(60000);
    // The terminal's own auto-repeat stands for Windows' repeat; a second
    // one from the simulated keyboard would be a repeat Windows never sends.
    sim::SetKeyRepeat(false);
    sim::Load();
    s.train = PlaceTrainAndPlayer(s.model);
    // The plug-in's script starts in the first frame, and its log counts
    // from there: the screen's times count from the same tick.
    sim::RunFrame(DriveFrameMs);
    s.startTick = sim::Now();
}

void TypeKeys(DriveSession& s, const std::string& typed) {
    for (size_t i = 0; i < typed.size();) {
        if (typed[i] == '\033') {
            i = PressEscape(s, typed, i);
        } else {
            PressCharacter(s, typed[i]);
            ++i;
        }
    }
}

void ReleaseQuietKeys(DriveSession& s) {
    auto now = DriveClock::now();
    for (auto it = s.padHeld.begin(); it != s.padHeld.end();) {
        if (now - it->second > std::chrono::milliseconds(ReleaseAfterMs)) {
            PadRelease(static_cast<sim::pad::Button>(it->first));
            it = s.padHeld.erase(it);
        } else {
            ++it;
        }
    }
    for (auto it = s.held.begin(); it != s.held.end();) {
        if (now - it->second > std::chrono::milliseconds(ReleaseAfterMs)) {
            sim::KeyUp(it->first);
            it = s.held.erase(it);
        } else {
            ++it;
        }
    }
}

void NoteWhatTheGameDid(DriveSession& s) {
    const sim::GameReactions& game = sim::GameReacted();
    const char* what = game.switchedCharacter ? "the game switched character"
                       : game.ownExit         ? "the game's own exit"
                       : game.enteredCar      ? "the game walked the player into a car"
                       : game.wheelShown      ? "the game shows its character wheel"
                                              : nullptr;
    if (!what) return;
    s.gameReacted = what;
    s.gameReactedTick = sim::Now();
}

std::vector<std::string> ScreenLines(const DriveSession& s) {
    std::vector<std::string> lines;
    auto line = [&](const std::string& text) { lines.push_back(text); };
    char title[120];
    std::snprintf(title, sizeof title, "Velquorin desk drive: %s   %.1f s (the log's clock)   q quits",
                  s.model.c_str(), (sim::Now() - s.startTick) / 1000.0);
    line(title);
    line("Settings: " + (s.settingsPath.empty() ? std::string("the shipped settings")
                                                 : Printable(s.settingsPath) + ", read again at each reload chord"));
    if (!s.lastReload.empty()) line("Last reload " + Printable(s.lastReload));
    const KeyNamesRecord& keys = KeyNames();
    for (const std::string& help : keys.help) line(help);
    line("");
    const DriveRecord& drive = PluginDrive();
    const OverlayRecord& overlay = PluginOverlay();
    line(drive.driving ? "Player: in the driver's seat"
                       : "Player: on foot (press " + keys.enterExit + " by the cab door)");
    if (!s.gameReacted.empty() && sim::Now() - s.gameReactedTick < 3000) line("The game: " + s.gameReacted);
    std::vector<std::string> panel = sim::PanelLines();
    if (!drive.driving)
        line(panel.empty() ? "Panel: not shown while on foot" : "Hint, where the panel shows (show_hints=1):");
    else if (!overlay.panelVisible)
        line("Panel: hidden (" + keys.panelPosition + " shows it again)");
    else {
        char where[96];
        std::snprintf(where, sizeof where, "Panel at position %d (%.2f, %.2f):", overlay.panelSlot,
                      static_cast<double>(overlay.panelX), static_cast<double>(overlay.panelY));
        line(where);
    }
    for (const std::string& text : panel) line("  " + ColouredLine(text, true));
    line("");
    for (const std::string& track : TrackLines(s)) line(track);
    line(DoorLine(s));
    line("");
    if (sim::ConsoleDrawn()) {
        line("Console:");
        std::istringstream text(sim::ConsoleTextDrawn());
        int shown = 0;
        for (std::string entry; std::getline(text, entry) && shown < 8; ++shown) line("  " + entry);
    } else {
        line("Console: hidden (" + keys.console + ")");
    }
    return lines;
}

// Side by side as in the game's folder, where the checker given the log
// looks for the settings.
std::string KeepLogAndSettings(const std::string& folder) {
    namespace fs = std::filesystem;
    std::error_code error;
    if (!fs::is_regular_file("Velquorin.log", error)) return "No log of this drive: write_log is 0 in the settings.";
    const auto replace = fs::copy_options::overwrite_existing;
    fs::create_directories(folder, error);
    if (!fs::copy_file("Velquorin.log", fs::path(folder) / "Velquorin.log", replace, error))
        return "Could not keep the log in " + Printable(folder) + ": " + error.message();
    // A reload that found no file left the game its defaults: no settings
    // file then, rather than an older one beside this log.
    const fs::path settings = fs::path(folder) / "Velquorin.ini";
    const bool kept = fs::is_regular_file("Velquorin.ini", error)
                          ? fs::copy_file("Velquorin.ini", settings, replace, error)
                          : (fs::remove(settings, error), !error);
    const std::string where = Printable(folder);
    if (!kept) return "Kept the log in " + where + ", but not the settings beside it: " + error.message();
    return "The plug-in's Velquorin.log of this drive and the Velquorin.ini it last read: " + where +
           "\n(velquorin-sim check " + where + "/Velquorin.log reads both)";
}
