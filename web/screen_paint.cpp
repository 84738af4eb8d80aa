// The numbers are the desk simulator's: text scale 1.0 is a font of an
// eighteenth of the screen's height, ~g~ and ~r~ switch to its green and
// red, boxes are black, centred on their position.
#include "screen_paint.h"

#include <algorithm>

#include "json_text.h"
#include "overlay/colour_runs.h"

namespace {

double Opacity(int alpha) { return std::clamp(alpha, 0, 255) / 255.0; }

const char* MarkerColour(char marker) {
    switch (marker) {
    case 'g': return "rgb(115,204,115)";
    case 'r': return "rgb(224,51,51)";
    default: return "rgb(255,255,255)";
    }
}

std::string RunsJson(const std::string& line) {
    std::string runs;
    ForEachColourRun(line, [&](char marker, const std::string& run) {
        runs += (runs.empty() ? "[" : ",[") + JsonString(MarkerColour(marker)) + "," + JsonString(run) + "]";
    });
    return "[" + runs + "]";
}

}  // namespace

std::string PaintedFrameJson(const DrawnFrame& frame, double width, double height) {
    std::string json = "{\"boxes\":[";
    for (size_t i = 0; i < frame.boxes.size(); ++i) {
        const DrawnBox& box = frame.boxes[i];
        json += (i ? ",[" : "[") + JsonNumber((box.x - box.width / 2) * width) + "," +
                JsonNumber((box.y - box.height / 2) * height) + "," + JsonNumber(box.width * width) + "," +
                JsonNumber(box.height * height) + "," + JsonNumber(Opacity(box.alpha)) + "]";
    }
    json += "],\"texts\":[";
    bool first = true;
    for (const DrawnText& text : frame.texts) {
        size_t start = 0;
        for (int row = 0; start <= text.text.size(); ++row) {
            size_t end = std::min(text.text.find('\n', start), text.text.size());
            json += std::string(first ? "" : ",") + "{\"x\":" + JsonNumber(text.x * width) +
                    ",\"y\":" + JsonNumber(text.y * height) + ",\"size\":" + JsonNumber(text.scale * height / 18.0) +
                    ",\"row\":" + std::to_string(row) + ",\"opacity\":" + JsonNumber(Opacity(text.alpha)) +
                    ",\"runs\":" + RunsJson(text.text.substr(start, end - start)) + "}";
            first = false;
            start = end + 1;
        }
    }
    return json + "]}";
}
