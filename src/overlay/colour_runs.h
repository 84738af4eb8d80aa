// The game's colour markers in a drawn text: ~g~ and ~r~ colour what
// follows green or red, any other letter (~w~, ~s~) white again. The panel
// writes them; whatever paints its lines away from the game (the desk's
// screenshot, the settings page) splits a line here, so the two agree.
#pragma once
#include <string>
#include <string_view>

// paint(marker, run) for each non-empty run, left to right; the marker is
// 'w' until the first one.
template <typename Paint>
void ForEachColourRun(std::string_view line, Paint paint) {
    char marker = 'w';
    std::string run;
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '~' && i + 2 < line.size() && line[i + 2] == '~') {
            if (!run.empty()) paint(marker, run);
            run.clear();
            marker = line[i + 1];
            i += 2;
            continue;
        }
        run += line[i];
    }
    if (!run.empty()) paint(marker, run);
}
