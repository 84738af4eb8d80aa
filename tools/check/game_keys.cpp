// The words for the game's controls a player meets, from the plug-in's
// own table of the game's defaults; any other control goes by its name.
#include "game_keys.h"

#include <cctype>
#include <cstring>

#include "host/game_controls.h"
#include "host/key_names.h"

namespace {

// A player's words for a control, and what it does on foot (nullptr: it
// does nothing a player walking about would meet).
struct ControlWords {
    int control;
    const char* words;
    const char* onFoot;
};
constexpr ControlWords Known[] = {
    {75, "leave the vehicle", nullptr},
    {23, "enter a vehicle", "enters a vehicle"},
    {49, "arrest", nullptr},
    {166, "switch character", "switches character"},
    {167, "switch character", "switches character"},
    {168, "switch character", "switches character"},
    {169, "switch to online", "switches to online"},
    {19, "character wheel", "opens the character wheel"},
    {36, "crouch", "crouches"},
    {182, "phone camera", nullptr},
    {185, "phone camera", nullptr},
};

const ControlWords* KnownWords(int control) {
    for (const ControlWords& known : Known)
        if (known.control == control) return &known;
    return nullptr;
}

std::string WordsOf(int control) {
    if (const ControlWords* known = KnownWords(control)) return known->words;
    const char* name = GameControls[control].name;
    if (std::strncmp(name, "REPLAY_", 7) == 0) return "replay editor";
    std::string words;
    for (const char* c = name; *c; ++c)
        words += *c == '_' ? ' ' : static_cast<char>(std::tolower(static_cast<unsigned char>(*c)));
    return words;
}

std::string NameOf(uint32_t code) {
    const char* name = KeyNameOfCode(code);
    return name ? name : "key " + std::to_string(code);
}

// What the game does on foot with one physical key, joined: "switches
// character and crouches"; "" for nothing.
std::string OnFootUse(uint8_t key, bool enterExit, bool hintTakesEnter) {
    std::string does;
    for (uint16_t control = 0; control < GameControlCount; ++control) {
        const ControlWords* known = KnownWords(control);
        if (!known || !known->onFoot || !ControlOnKeys(GameControls[control], &key, 1)) continue;
        // Boarding is what the enter/exit key is for; only the game's own
        // enter matters, and the hint takes it at a cab door.
        if (enterExit && (control != 23 || hintTakesEnter)) continue;
        if (does.find(known->onFoot) == std::string::npos)
            does += std::string(does.empty() ? "" : " and ") + known->onFoot;
    }
    return does;
}

}  // namespace

std::string GameUseOfBinding(uint32_t binding) {
    uint8_t keys[2] = {};
    const int count = KeysFiringBinding(binding, keys);
    std::string use;
    std::vector<std::string> said;
    for (uint16_t control = 0; control < GameControlCount; ++control) {
        if (!ControlOnKeys(GameControls[control], keys, count)) continue;
        const std::string words = WordsOf(control);
        bool again = false;
        for (const std::string& earlier : said) again |= earlier == words;
        if (again) continue;
        said.push_back(words);
        use += (use.empty() ? "" : ", ") + words + " (" + std::to_string(control) + ")";
    }
    return use;
}

std::string GameUseInBrief(uint32_t binding) {
    uint8_t keys[2] = {};
    const int count = KeysFiringBinding(binding, keys);
    std::string brief;
    int others = 0;
    for (uint16_t control = 0; control < GameControlCount; ++control) {
        if (!ControlOnKeys(GameControls[control], keys, count)) continue;
        const ControlWords* known = KnownWords(control);
        std::string words = known ? known->words : WordsOf(control);
        if (!known && words != "replay editor") {
            ++others;
        } else if (brief.find(words) == std::string::npos) {
            brief += (brief.empty() ? "" : ", ") + words;
        }
    }
    if (others == 0) return brief;
    const std::string more = std::to_string(others) + (others == 1 ? " control" : " controls");
    return brief.empty() ? more : brief + " and " + std::to_string(others) + " more";
}

std::vector<OnFootClash> OnFootClashes(const SettingsRecord& s) {
    const struct {
        const char* key;
        uint32_t binding;
    } onFoot[] = {{"enter_exit", s.enterExitKey},
                  {"toggle_console", s.toggleConsoleKey},
                  {"reload_ini_file_modifier", s.reloadIniFileModifierKey},
                  {"reload_ini_file", s.reloadIniFileKey}};
    std::vector<OnFootClash> clashes;
    for (const auto& use : onFoot) {
        const bool enterExit = std::strcmp(use.key, "enter_exit") == 0;
        uint8_t keys[2] = {};
        const int count = KeysFiringBinding(use.binding, keys);
        for (int k = 0; k < count; ++k) {
            std::string does = OnFootUse(keys[k], enterExit, s.showHints);
            if (does.empty()) continue;
            const uint8_t other = count == 2 ? keys[1 - k] : 0;
            const bool otherFree = other != 0 && OnFootUse(other, enterExit, s.showHints).empty();
            clashes.push_back({use.key, use.binding, keys[k], other, otherFree, does});
        }
    }
    return clashes;
}

std::string OnFootClashText(const OnFootClash& clash, const std::string& writtenName) {
    const std::string binding = writtenName.empty() ? NameOf(clash.binding) : writtenName;
    const std::string key = clash.physicalKey == clash.binding
                                ? binding
                                : NameOf(clash.physicalKey) + " (one of " + binding + "'s two keys)";
    std::string text = std::string(clash.key) + " = " + binding + ": on foot " + key + " also " + clash.does +
                       ", and Velquorin leaves it to the game there.";
    if (std::strcmp(clash.key, "enter_exit") == 0)
        return text + " At a cab door with a car parked within reach the game may walk you into the car: "
                      "show_hints=1 takes the key from the game where the hint says it boards.";
    if (clash.otherKeyFree) return text + " Its other key, " + NameOf(clash.otherKey) + ", does nothing in the game.";
    return text + " A key the game does not use, such as O or F4, does only Velquorin's action.";
}

std::vector<std::string> PadButtonLines() {
    return {"RT throttle up while held, LT throttle down (each beyond half its travel)",
            "A light brake, X medium brake, RB hard brake (RB is also the game's handbrake, taken from it)",
            "LB direction, at a standstill",
            "D-pad left / right the left / right doors, D-pad down the panel position",
            "Y leaves the train, and boards it at a cab door (the game's own leave and enter, taken from it)",
            "The game keeps L3 (horn), R3 and B (cameras) and Start (pause)."};
}
