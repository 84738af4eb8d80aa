// The panel's speed and throttle lines and the console's number text, swept
// across both builds: over a million floats where two C runtimes are most
// likely to part, each side of every whole-number step of the speed in
// km/h and mph and of the throttle, the exact ties, zeros, subnormals, the
// largest floats and a random sample of all bit patterns.
//
//   velquorin-format-sweep             prints every value's texts, a line each
//   velquorin-format-sweep --compare   reads such lines, formats the same values
//                                      and names every value whose texts differ
//
// The Windows program is linked from the shipped DLL's own objects, so the
// texts it compares are the ones the DLL draws.
#include <bit>
#include <chrono>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "overlay/overlay.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

constexpr double KilometresPerHour = 3.6;
constexpr double MilesPerHour = 2.23693629;
constexpr int Steps = 1000;        // whole numbers each side of zero, per unit
constexpr int Neighbours = 100;    // floats each side of a step
constexpr int RandomSample = 200000;

float FromBits(uint32_t bits) { return std::bit_cast<float>(bits); }
uint32_t Bits(float value) { return std::bit_cast<uint32_t>(value); }

// The floats either side of where the shown whole number changes: there
// the product in double precision crosses k + 0.5 of the unit.
void AddSteps(std::vector<uint32_t>& values, double factor, int steps) {
    for (int k = -steps; k < steps; ++k) {
        const float nearest = static_cast<float>((k + 0.5) / factor);
        float below = nearest, above = nearest;
        for (int i = 0; i < Neighbours; ++i) {
            below = std::nextafter(below, -std::numeric_limits<float>::infinity());
            above = std::nextafter(above, std::numeric_limits<float>::infinity());
            values.push_back(Bits(below));
            values.push_back(Bits(above));
        }
        values.push_back(Bits(nearest));
    }
}

std::vector<uint32_t> Values() {
    std::vector<uint32_t> values;
    AddSteps(values, KilometresPerHour, Steps);
    AddSteps(values, MilesPerHour, Steps);
    AddSteps(values, 1.0, 200);  // the throttle, whose steps are exact ties
    // Ties of the six-decimal number text: odd multiples of 2^-7 end in a 5
    // at the seventh decimal.
    for (int m = 1; m < 20000; m += 2) {
        values.push_back(Bits(std::ldexp(static_cast<float>(m), -7)));
        values.push_back(Bits(-std::ldexp(static_cast<float>(m), -7)));
    }
    // Zeros, subnormals, the largest floats, infinities and NaNs, each sign.
    for (uint32_t sign : {0u, 0x80000000u}) {
        for (uint32_t bits = 0; bits < 1000; ++bits) values.push_back(sign | bits);
        for (uint32_t bits = 0x007FFFFFu; bits > 0x007FFFFFu - 1000; --bits) values.push_back(sign | bits);
        for (uint32_t bits = 0x7F7FFFFFu; bits > 0x7F7FFFFFu - 1000; --bits) values.push_back(sign | bits);
        for (uint32_t bits : {0x7F800000u, 0x7FC00000u, 0x7F800001u, 0x7FFFFFFFu}) values.push_back(sign | bits);
    }
    std::mt19937 random(20261208);
    for (int i = 0; i < RandomSample; ++i) values.push_back(static_cast<uint32_t>(random()));
    return values;
}

// One value's line: its bits, then the speed line in km/h and in mph, the
// throttle line and the number text, separated by tabs.
std::string Texts(uint32_t bits) {
    const float value = FromBits(bits);
    char hex[16], kmh[100], mph[100], throttle[100];
    std::snprintf(hex, sizeof hex, "%08" PRIX32, bits);
    FormatSpeedLine(kmh, value, true);
    FormatSpeedLine(mph, value, false);
    FormatThrottleLine(throttle, value);
    return std::string(hex) + '\t' + kmh + '\t' + mph + '\t' + throttle + '\t' + FormatNumber(value) + '\n';
}

// Exact ties of the speed lines among the values: the product lands on k + 0.5.
int SpeedTies(const std::vector<uint32_t>& values) {
    int ties = 0;
    for (uint32_t bits : values)
        for (double factor : {KilometresPerHour, MilesPerHour}) {
            const double shown = static_cast<double>(FromBits(bits)) * factor;
            if (std::isfinite(shown) && shown - std::floor(shown) == 0.5) ++ties;
        }
    return ties;
}

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

int Print() {
    const std::vector<uint32_t> values = Values();
    const auto start = std::chrono::steady_clock::now();
    std::string out;
    out.reserve(values.size() * 80);
    for (uint32_t bits : values) out += Texts(bits);
    const double seconds = SecondsSince(start);
    std::fwrite(out.data(), 1, out.size(), stdout);
    std::fprintf(stderr, "formatted %zu values (%d exact ties of the speed lines) in %.2f s\n", values.size(),
                 SpeedTies(values), seconds);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

std::string ReadAll(std::FILE* in) {
    std::string all;
    char chunk[1 << 16];
    for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, in)) > 0;) all.append(chunk, n);
    return all;
}

int Compare() {
#ifdef _WIN32
    _setmode(_fileno(stdin), _O_BINARY);
#endif
    const std::string theirs = ReadAll(stdin);
    const auto start = std::chrono::steady_clock::now();
    size_t values = 0, differences = 0;
    for (size_t at = 0; at < theirs.size();) {
        size_t end = theirs.find('\n', at);
        if (end == std::string::npos) end = theirs.size() - 1;
        const std::string line = theirs.substr(at, end + 1 - at);
        at = end + 1;
        const std::string ours = Texts(static_cast<uint32_t>(std::strtoul(line.c_str(), nullptr, 16)));
        ++values;
        if (ours == line) continue;
        if (++differences <= 20)
            std::printf("value %.8s differs:\n  other: %s  this:  %s", line.c_str(), line.c_str(), ours.c_str());
    }
    std::printf("%zu values, %zu differences, formatted in %.2f s\n", values, differences, SecondsSince(start));
    return differences == 0 && values >= 1000000 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--compare") == 0) return Compare();
    if (argc == 1) return Print();
    std::fprintf(stderr, "usage: velquorin-format-sweep [--compare]\n");
    return 2;
}
