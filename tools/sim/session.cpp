// Starting a desk run: settings in a fresh working directory, the plug-in
// loaded, a train on the track and the player beside its cab.
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "desk.h"
#include "key_hints.h"
#include "settings/profile_access.h"
#include "settings_file.h"

namespace {

// The run's working directory, with its paths kept as plain characters for
// a signal handler, which may only unlink and rmdir.
struct WorkingDirectoryRecord {
    std::string dir, settings;
};
WorkingDirectoryRecord Working;

void RemoveOnSignal(int signal) {
    if (!Working.dir.empty()) {
        unlink(Working.settings.c_str());
        rmdir(Working.dir.c_str());
    }
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

// A fresh directory of our own under the temporary one, made current, and
// removed however the program ends: on return, exit, an uncaught error's
// way out of main, or a signal.
std::string UseFreshWorkingDirectory() {
    std::string pattern = (std::filesystem::temp_directory_path() / "velquorin-sim-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a working directory in " + pattern);
    Working = {pattern, pattern + "/Velquorin.ini"};
    static bool registered = false;
    if (!registered) std::atexit(RemoveWorkingDirectory);
    registered = true;
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) std::signal(signal, RemoveOnSignal);
    std::filesystem::current_path(pattern);
    return pattern;
}
template <typename T>
T& Global(const char* name) {
    void* address = sim::PluginSymbol(name);
    if (!address) throw std::runtime_error(std::string("the plug-in has no global ") + name);
    return *static_cast<T*>(address);
}
}  // namespace

DriveRecord& PluginDrive() { return Global<DriveRecord>("DriveState"); }
OverlayRecord& PluginOverlay() { return Global<OverlayRecord>("OverlayState"); }
SettingsRecord& PluginSettings() { return Global<SettingsRecord>("Settings"); }

double PanelSpeed(float speed) {
    return static_cast<double>(speed) * (PluginSettings().useMetricSystem ? 3.6 : 2.23693629);
}

const char* PanelUnit() { return PluginSettings().useMetricSystem ? "km/h" : "mph"; }

std::string AbsolutePath(const std::string& path) { return std::filesystem::absolute(path).string(); }

std::string PrepareSettings(const std::string& path) {
    std::string text = DefaultSettingsText, why;
    if (!path.empty() && !ReadSettingsFile(path, text, why)) throw std::runtime_error("cannot read " + path + ": " + why);
    sim::Reset();
    std::string dir = UseFreshWorkingDirectory();
    sim::WriteSettingsFile(text);
    return (path.empty() ? "the shipped settings" : path) + std::string(", copied to ") + dir + "/Velquorin.ini";
}

std::string RefreshSettings(const std::string& path) {
    std::string text, why;
    if (!ReadSettingsFile(path, text, why)) {
        std::remove("Velquorin.ini");
        return "cannot read " + path + ": " + why + "; the game reads its defaults";
    }
    sim::WriteSettingsFile(text);
    return "read " + path + " (" + std::to_string(text.size()) + " bytes)";
}

std::string BindingName(const char* key, uint32_t code) {
    char written[100];
    ReadProfileString("keys", key, "", written, sizeof written, SettingsPath);
    std::string name = ShownKeyName(code, written);
    return name.empty() ? "key " + std::to_string(code) : name;
}

void RemoveWorkingDirectory() {
    if (Working.dir.empty()) return;
    std::error_code ignored;
    std::filesystem::remove_all(Working.dir, ignored);
    Working = {};
}

// The cab door (the boarding point) of each drivable model, as an offset
// from the train's origin: the metro's 2.0 to the left of and 3.25 ahead
// of it, the freight's 1.3 to the right and 3.5 ahead.
sim::Vec3 CabDoor(int train) {
    const sim::Entity& t = sim::Get(train);
    const sim::Vec3 offset = t.model == "freight" ? sim::Vec3{1.3f, 3.5f, 1.5f} : sim::Vec3{-2.0f, 3.25f, 1.0f};
    return {t.position.x + offset.x, t.position.y + offset.y, t.position.z + offset.z};
}

// Half a metre below the door is inside either train's boarding distance.
sim::Vec3 SpotByCabDoor(int train) {
    const sim::Vec3 door = CabDoor(train);
    return {door.x, door.y, door.z - 0.5f};
}

int PlaceTrainAndPlayer(const std::string& model) {
    int train = sim::AddTrain(model, {0.0f, 0.0f, 0.0f});
    sim::PlacePlayer(SpotByCabDoor(train));
    return train;
}

// Plain text cannot show colour, and the brake line says which brake is on
// only by colour, so the red parts are named after the line.
std::string ColouredLine(const std::string& text, bool ansi) {
    std::string out, red;
    char marker = 'w';
    bool coloured = false;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '~' && i + 2 < text.size() && text[i + 2] == '~') {
            marker = text[i + 1];
            if (ansi) {
                out += marker == 'g' ? "\033[32m" : marker == 'r' ? "\033[31m" : "\033[0m";
                coloured = true;
            } else if (marker == 'r' && !red.empty()) {
                red += ',';
            }
            i += 2;
            continue;
        }
        out += text[i];
        if (marker == 'r') red += text[i];
    }
    if (ansi && coloured) out += "\033[0m";
    size_t last = red.find_last_not_of(" ,");
    if (!ansi && last != std::string::npos) out += "   (red: " + red.substr(0, last + 1) + ")";
    return out;
}
