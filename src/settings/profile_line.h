// How the portable profile reader takes one line of a settings file, for
// the reader itself (on the file decoded to UTF-16) and for the settings
// page's editor (on its bytes), so that a value the page rewrites is the
// one the reader finds. Every search stays inside the line.
#pragma once
#include <string_view>

template <typename Char>
bool IsProfileBlank(Char c) {
    return (c >= 0x09 && c <= 0x0D) || c == 0x1A || c == 0x20;
}

template <typename Char>
std::basic_string_view<Char> TrimProfileBlanks(std::basic_string_view<Char> s) {
    while (!s.empty() && IsProfileBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsProfileBlank(s.back())) s.remove_suffix(1);
    return s;
}

// The next line of rest, trimmed (empty for a blank one); rest moves past
// it and past the whole run of CR and LF that ends it.
template <typename Char>
std::basic_string_view<Char> TakeProfileLine(std::basic_string_view<Char>& rest) {
    size_t cut = 0;
    while (cut < rest.size() && rest[cut] != '\r' && rest[cut] != '\n') ++cut;
    std::basic_string_view<Char> line = TrimProfileBlanks(rest.substr(0, cut));
    while (cut < rest.size() && (rest[cut] == '\r' || rest[cut] == '\n')) ++cut;
    rest.remove_prefix(cut);
    return line;
}

enum class ProfileLineKind { Header, Key, KeyWithoutValue };

// A header's name, or a key's name and value; both views point into the
// line and end at a NUL, as the names and values copied out do.
template <typename Char>
struct ProfileLine {
    ProfileLineKind kind;
    std::basic_string_view<Char> name, value;
};

// line is trimmed and not empty. "[name]" up to the last ']' is a header;
// any other line a key, split at its first '='.
template <typename Char>
ProfileLine<Char> ReadProfileLine(std::basic_string_view<Char> line) {
    using View = std::basic_string_view<Char>;
    auto part = [](View s) {
        s = TrimProfileBlanks(s);
        return s.substr(0, s.find(Char(0)));
    };
    size_t close = line.rfind(Char(']'));
    if (line[0] == '[' && close != View::npos) return {ProfileLineKind::Header, part(line.substr(1, close - 1)), {}};
    size_t equals = line.find(Char('='));
    if (equals == View::npos) return {ProfileLineKind::KeyWithoutValue, part(line), {}};
    return {ProfileLineKind::Key, part(line.substr(0, equals)), part(line.substr(equals + 1))};
}
