// What the page's script calls: the player's file as bytes, the checker's
// report on it, the values the game reads from it, changes to it, and the
// driver panel and console drawn by the plug-in's own code. Every answer
// is a string that stays valid until the next call.
#include <emscripten.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <new>
#include <fstream>
#include <string>

#include "browser_keys.h"
#include "driving/drive_state.h"
#include "game_keys.h"
#include "json_text.h"
#include "key_hints.h"
#include "host/key_names.h"
#include "overlay/boarding_hint.h"
#include "overlay/overlay.h"
#include "screen_paint.h"
#include "settings/load_settings.h"
#include "settings/profile_access.h"
#include "settings/profile_reader.h"
#include "settings/settings.h"
#include "settings_check.h"
#include "settings_edit.h"
#include "settings_file.h"
#include "settings_scan.h"
#include "setting_keys.h"
#include "web_host.h"

extern const char ShippedSettings[];
extern const size_t ShippedSettingsSize;

namespace fs = std::filesystem;

namespace {

std::string Document;  // the player's file as it will be saved
std::string FileName = "Velquorin.ini";  // as the report's File: line names it
bool Refused = false;  // too big to read: nothing to edit or save
uintmax_t RefusedSize = 0;
std::string Report;    // the checker's report on it
std::string Answer;
int ReportStatus = 0;
std::string WrittenKeys[LoadedKeyCount];  // each binding's text in the file, for the name it is shown by
std::string KeyNotes[LoadedKeyCount];     // what the player should know of a key bound on this page

// The checker's report, word for word as velquorin-check prints it.
void CheckDocument() {
    char* text = nullptr;
    size_t size = 0;
    std::FILE* out = open_memstream(&text, &size);
    if (!out) {
        Report = "error: no memory for the report.\n";
        return;
    }
    try {
        ReportStatus = Refused ? RefuseToCheck(FileName, WhyTooBig(RefusedSize), out)
                               : CheckSettingsText(Document, FileName, out);
    } catch (const std::exception& error) {
        std::fprintf(out, "error: %s\n", error.what());
        ReportStatus = 2;
    }
    std::fclose(out);
    Report.assign(text, size);
    std::free(text);
}

// The game's start with this file: the plug-in loads it as Windows' reader
// takes it, places the panel and posts any error to its console.
void LoadAsTheGameDoes() {
    std::error_code error;
    const fs::path game = "/game";
    fs::create_directories(game, error);
    std::ofstream(game / "Velquorin.ini", std::ios::binary | std::ios::trunc) << GameView(Document);
    fs::path home = fs::current_path(error);
    fs::current_path(game, error);
    Settings = SettingsRecord{};
    OverlayState = OverlayRecord{};
    ShowSettingsLoad(LoadSettings());
    for (size_t row = 0; row < LoadedKeyCount; ++row) {
        char text[100] = "";
        if (SettingKeys[row].kind == SettingKind::Binding)
            ReadProfileString(SettingKeys[row].section, SettingKeys[row].name, "", text, sizeof text, SettingsPath);
        WrittenKeys[row] = text;
    }
    fs::current_path(home, error);
}

void Refresh() {
    CheckDocument();
    LoadAsTheGameDoes();
}

// An edit only marks the report and the values out of date: they are made
// again when the page next asks for them (vq_state), so edits that come
// faster than the page checks (a drag, a slider) cost one pass over the
// file each and one check between them.
bool Stale = false;

void RefreshIfStale() {
    if (!Stale) return;
    Stale = false;
    Refresh();
}

bool StartsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

// The report's findings (its "warning:", "note:" and "error:" lines) that
// mention one of the words.
template <typename Mentions>
std::string FindingsJson(Mentions mentions) {
    std::string json;
    size_t start = 0;
    while (start < Report.size()) {
        size_t end = Report.find('\n', start);
        if (end == std::string::npos) end = Report.size();
        std::string line = Report.substr(start, end - start);
        start = end + 1;
        if (!StartsWith(line, "warning: ") && !StartsWith(line, "note: ") && !StartsWith(line, "error: ")) continue;
        if (mentions(line)) json += (json.empty() ? "" : ",") + JsonString(line);
    }
    return "[" + json + "]";
}

bool MentionsABinding(const std::string& line) {
    if (line.find("key") != std::string::npos) return true;
    for (size_t row = 0; row < SettingKeyCount; ++row)
        if (SettingKeys[row].kind == SettingKind::Binding && line.find(SettingKeys[row].name) != std::string::npos)
            return true;
    return false;
}

bool MentionsAPanel(const std::string& line) {
    return line.find("panel") != std::string::npos || line.find("gui_position") != std::string::npos;
}

std::string KeyNameText(uint32_t code) {
    const char* name = KeyNameOfCode(code);
    return name ? name : code == 0 ? "" : std::to_string(code);
}

const SettingKey* KeyNamed(const std::string& name) {
    for (size_t row = 0; row < SettingKeyCount; ++row)
        if (name == SettingKeys[row].name) return &SettingKeys[row];
    return nullptr;
}

// Three decimals, without the zeros a player would not write.
std::string PositionText(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", value);
    std::string shown = text;
    while (shown.back() == '0') shown.pop_back();
    if (shown.back() == '.') shown += '0';
    return shown == "-0.0" ? "0.0" : shown;
}

// The page's state for a file just opened (or refused).
void StartOn(const char* name, bool refused) {
    FileName = name;
    Refused = refused;
    for (std::string& note : KeyNotes) note.clear();
    Stale = false;
    Refresh();
}

}  // namespace

extern "C" {

// Opens the player's file under its name. 0 when there was no memory
// for it: the page then keeps the file it had.
EMSCRIPTEN_KEEPALIVE int vq_open(const char* bytes, int size, const char* name) {
    try {
        std::string opened(bytes, static_cast<size_t>(size));
        Document.swap(opened);
    } catch (const std::bad_alloc&) {
        return 0;
    }
    StartOn(name, false);
    return 1;
}

// A file above the plug-in's limit is never read: the page shows the
// checkers' refusal and the defaults the game falls back on.
EMSCRIPTEN_KEEPALIVE void vq_refuse(double size, const char* name) {
    Document.clear();
    RefusedSize = static_cast<uintmax_t>(size);
    StartOn(name, true);
}

EMSCRIPTEN_KEEPALIVE void vq_open_shipped() {
    vq_open(ShippedSettings, static_cast<int>(ShippedSettingsSize), "Velquorin.ini");
}

EMSCRIPTEN_KEEPALIVE double vq_file_limit() { return static_cast<double>(ProfileFileLimit); }

EMSCRIPTEN_KEEPALIVE const char* vq_document_data() { return Document.data(); }
EMSCRIPTEN_KEEPALIVE int vq_document_size() { return static_cast<int>(Document.size()); }

// Sets a key of the checker's table by name; 1 when the file changed.
EMSCRIPTEN_KEEPALIVE int vq_set(const char* name, const char* value) {
    const SettingKey* key = KeyNamed(name);
    if (Refused || !key || !SetSettingText(Document, key->section, key->name, value)) return 0;
    Stale = true;
    return 1;
}

// Moves a preset; a coordinate given as NaN has not moved and keeps the
// player's own text.
EMSCRIPTEN_KEEPALIVE int vq_set_position(int preset, double x, double y) {
    if (preset < 0 || preset > 3) return 0;
    const std::string n = std::to_string(preset);
    int changed = 0;
    if (!std::isnan(x)) changed |= vq_set(("gui_position_x_" + n).c_str(), PositionText(x).c_str());
    if (!std::isnan(y)) changed |= vq_set(("gui_position_y_" + n).c_str(), PositionText(y).c_str());
    return changed;
}

// Binds an action to the key the browser reported (the KeyboardEvent's
// code, key and keyCode). The answer, as JSON: the code bound, 0 when the
// key cannot be bound (nothing changes, the page keeps waiting), and what
// to tell the player.
EMSCRIPTEN_KEEPALIVE const char* vq_bind(const char* action, const char* code, const char* key, int keyCode,
                                         int keyCodeIsWindows) {
    const BrowserKeyBinding binding = VirtualKeyOfBrowserKey(code, key, keyCode, keyCodeIsWindows != 0);
    if (binding.virtualKey != 0) {
        vq_set(action, KeyNameText(binding.virtualKey).c_str());
        for (size_t row = 0; row < LoadedKeyCount; ++row)
            if (std::string(action) == SettingKeys[row].name) KeyNotes[row] = binding.note;
    }
    Answer = "{\"code\":" + std::to_string(binding.virtualKey) + ",\"note\":" + JsonString(binding.note) + "}";
    return Answer.c_str();
}

// The values the game uses, the actions' keys, and the findings to show
// beside the keys and the screen, as JSON.
EMSCRIPTEN_KEEPALIVE const char* vq_state() {
    RefreshIfStale();
    std::string presets;
    for (int i = 0; i < 4; ++i)
        presets += std::string(i ? "," : "") + "[" + JsonNumber(Settings.panelPresets[i].x) + "," +
                   JsonNumber(Settings.panelPresets[i].y) + "]";
    std::string keys;
    for (size_t row = 0; row < LoadedKeyCount; ++row) {
        if (SettingKeys[row].kind != SettingKind::Binding) continue;
        uint32_t code = static_cast<uint32_t>(LoadedValue(Settings, row));
        std::string shown = ShownKeyName(code, WrittenKeys[row]);
        if (shown.empty() && code != 0) shown = std::to_string(code);
        keys += std::string(keys.empty() ? "" : ",") + "{\"action\":" + JsonString(SettingKeys[row].name) +
                ",\"code\":" + std::to_string(code) + ",\"key\":" + JsonString(shown) +
                ",\"game\":" + JsonString(GameUseInBrief(code)) +
                ",\"note\":" + JsonString(KeyNotes[row]) + "}";
    }
    Answer = "{\"presets\":[" + presets + "],\"backgroundOpacity\":" + std::to_string(Settings.backgroundOpacity) +
             ",\"textOpacity\":" + std::to_string(Settings.textOpacity) +
             ",\"metric\":" + (Settings.useMetricSystem ? "true" : "false") +
             ",\"showHints\":" + (Settings.showHints ? "true" : "false") +
             ",\"useGamepad\":" + (Settings.useGamepad ? "true" : "false") + ",\"keys\":[" + keys +
             "],\"keyFindings\":" + FindingsJson(MentionsABinding) +
             ",\"panelFindings\":" + FindingsJson(MentionsAPanel) +
             ",\"editable\":" + (Refused || IsUtf16Text(Document) ? "false" : "true") +
             ",\"refused\":" + (Refused ? "true" : "false") + ",\"status\":" + std::to_string(ReportStatus) +
             ",\"report\":" + JsonString(Report) + "}";
    return Answer.c_str();
}

// One frame: the driver panel at (x, y), in the sample state, or on foot
// at a cab door the hint in its place, and the console, drawn by the
// plug-in's code, for a canvas of width x height. It draws with the
// values of the last check: a drag draws its panel where the pointer has
// it between checks.
EMSCRIPTEN_KEEPALIVE const char* vq_frame(double width, double height, double x, double y, double speed,
                                          double throttle, int brakeLevel, int direction, int onFoot) {
    OverlayState.panelX = static_cast<float>(x);
    OverlayState.panelY = static_cast<float>(y);
    DriveState.speed = static_cast<float>(speed);
    DriveState.throttle = static_cast<float>(throttle);
    DriveState.brakeLevel = brakeLevel;
    DriveState.direction = direction;
    TakeDrawnFrame();
    if (!onFoot) {
        DrawDriverPanel();
    } else if (Settings.showHints) {
        BoardingLook atTheCabDoor;
        atTheCabDoor.verdict = BoardingVerdict::Boards;
        char line[100];
        FormatOnFootHint(line, atTheCabDoor);
        if (line[0] != '\0') DrawHintLine(line);
    }
    DrawConsole();
    Answer = PaintedFrameJson(TakeDrawnFrame(), width, height);
    return Answer.c_str();
}
}
