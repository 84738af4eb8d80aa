#include "key_hints.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "host/key_names.h"

namespace {

std::string Upper(const std::string& text) {
    std::string upper;
    for (char c : text) upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper;
}

std::string Without(std::string text, const char* characters) {
    text.erase(std::remove_if(text.begin(), text.end(), [&](char c) { return std::strchr(characters, c); }),
               text.end());
    return text;
}

// What players write for keys the table names otherwise.
const struct {
    const char* words;
    const char* name;
} Words[] = {
    {"LEFTCTRL", "LCONTROL"}, {"LEFTCONTROL", "LCONTROL"}, {"RIGHTCTRL", "RCONTROL"}, {"RIGHTCONTROL", "RCONTROL"},
    {"LEFTALT", "LMENU"},     {"RIGHTALT", "RMENU"},       {"ALTGR", "RMENU"},        {"LEFTSHIFT", "LSHIFT"},
    {"RIGHTSHIFT", "RSHIFT"}, {"PGUP", "PRIOR"},           {"PGDN", "NEXT"},          {"DEL", "DELETE"},
    {"INS", "INSERT"},        {"SPACEBAR", "SPACE"},       {"CAPS", "CAPITAL"},
    // German keycaps, by what the key does.
    {"STRG", "CONTROL"},      {"ENTF", "DELETE"},          {"EINFG", "INSERT"},       {"POS1", "HOME"},
    {"ENDE", "END"},          {"LEER", "SPACE"},           {"LEERTASTE", "SPACE"},    {"BILDAUF", "PRIOR"},
    {"BILDAB", "NEXT"},
};

// The punctuation keys by the characters they type on a US keyboard.
const struct {
    const char* characters;
    const char* name;
} CharacterKeys[] = {
    {";:", "SEMICOLON"}, {"=+", "PLUS"},     {",<", "COMMA"},     {"-_", "MINUS"},
    {".>", "PERIOD"},    {"/?", "SLASH"},    {"`~", "TILDE"},     {"[{", "LBRACKET"},
    {"\\|", "BACKSLASH"}, {"]}", "RBRACKET"}, {"'\"", "QUOTE"},
};

// Reserved or unassigned in Windows' table of virtual-key codes.
const struct {
    uint32_t first, last;
} UnassignedCodes[] = {
    {0x07, 0x07}, {0x0A, 0x0B}, {0x0E, 0x0F}, {0x3A, 0x40}, {0x5E, 0x5E}, {0x88, 0x8F},
    {0x97, 0x9F}, {0xB8, 0xB9}, {0xC1, 0xDA}, {0xE0, 0xE0}, {0xE8, 0xE8},
};

size_t EditDistance(const std::string& a, const std::string& b) {
    std::vector<size_t> row(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        size_t diagonal = row[0];
        row[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

// How many letters the two have in common, in order.
size_t CommonLetters(const std::string& a, const std::string& b) {
    std::vector<size_t> row(b.size() + 1, 0);
    for (size_t i = 1; i <= a.size(); ++i) {
        size_t diagonal = 0;
        for (size_t j = 1; j <= b.size(); ++j) {
            size_t above = row[j];
            row[j] = a[i - 1] == b[j - 1] ? diagonal + 1 : std::max(row[j], row[j - 1]);
            diagonal = above;
        }
    }
    return row[b.size()];
}

}  // namespace

std::string ShownKeyName(uint32_t code, const std::string& written) {
    if (code != 0 && KeyCodeOfName(written.c_str()) == code) {
        std::string spelled = Upper(Without(written, " \t"));
        for (size_t i = 0; i < KeyNameCount; ++i)
            if (spelled == KeyNames[i].name) return spelled;
    }
    const char* name = KeyNameOfCode(code);
    return name ? name : "";
}

std::string NearestKeyName(const std::string& text) {
    std::string squeezed = Without(Upper(text), " \t-");
    if (squeezed.rfind("VK_", 0) == 0) squeezed.erase(0, 3);
    for (const std::string& form : {squeezed, Without(squeezed, "_")}) {
        if (uint32_t code = KeyCodeOfName(form.c_str())) return KeyNameOfCode(code);
        for (const auto& word : Words)
            if (form == word.words) return word.name;
        for (const char* pad : {"KEYPAD", "KP"})
            if (form.size() == std::strlen(pad) + 1 && form.rfind(pad, 0) == 0 && std::isdigit(form.back()))
                return std::string("NUMPAD") + form.back();
    }
    std::vector<std::string> names;
    for (size_t i = 0; i < KeyNameCount; ++i) names.push_back(KeyNames[i].name);
    return NearestName(squeezed, names);
}

std::string NearestName(const std::string& word, const std::vector<std::string>& candidates) {
    std::string upper = Upper(word);
    std::string best;
    size_t bestDistance = static_cast<size_t>(-1);
    for (const std::string& candidate : candidates) {
        size_t distance = EditDistance(upper, Upper(candidate));
        if (distance < bestDistance) {
            bestDistance = distance;
            best = candidate;
        }
    }
    size_t allowed = std::max<size_t>(2, upper.size() / 3);
    if (bestDistance > allowed) return "";
    // Close means most letters the same: more than half of the name's, and
    // at least half of what was written ("WW" is W, "LEER" is not LEFT).
    size_t common = CommonLetters(upper, Upper(best));
    return common * 2 > best.size() && common * 2 >= upper.size() ? best : "";
}

bool IsUnassignedKeyCode(uint32_t code) {
    for (const auto& range : UnassignedCodes)
        if (code >= range.first && code <= range.last) return true;
    return false;
}

bool IsTypedCharacter(const std::string& text) {
    bool any = false;
    for (char c : text) {
        if (std::isalnum(static_cast<unsigned char>(c))) return false;
        any = any || (c != ' ' && c != '\t');
    }
    return any;
}

std::string KeyNameOfCharacter(const std::string& text) {
    std::string typed = Without(text, " \t");
    if (typed.size() != 1) return "";
    for (const auto& key : CharacterKeys)
        if (std::strchr(key.characters, typed[0])) return key.name;
    return "";
}
