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
    return bestDistance <= allowed ? best : "";
}
