// velquorin-sim: the plug-in's own code in the simulated world.
#include <cstdio>
#include <cstring>
#include <string>

#include "sim/sim.h"

namespace {

void ShowPanel(const char* moment) {
    std::printf("%s\n", moment);
    for (const std::string& line : sim::PanelLines()) std::printf("    | %s\n", line.c_str());
}

int Demo() {
    sim::Reset();
    sim::UseFreshWorkingDirectory();
    sim::Load();
    std::printf("Loaded the plug-in: %zu registrations\n", sim::RegistrationLog().size());
    int train = sim::AddTrain("metrotrain", {0.0f, 0.0f, 0.0f});
    sim::PlacePlayer({-2.0f, 3.25f, 0.5f});
    sim::RunFrame();
    sim::TapKey(70);
    ShowPanel("Boarded the metro train (F):");
    sim::KeyDown(87);
    sim::RunFrames(50);
    sim::KeyUp(87);
    sim::RunFrames(600);
    ShowPanel("Throttle at 50 %, after ten seconds:");
    sim::TapKey(76);
    sim::RunFrames(400);
    ShowPanel("Hard brake, stopped:");
    sim::AdvanceClock(600);
    sim::TapKey(70);
    std::printf("Left the train; it stands at y = %.1f\n", sim::Get(train).position.y);
    std::printf("%d frames, %d yields\n", sim::YieldCount(), sim::YieldCount());
    sim::Unload();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::string command = argc > 1 ? argv[1] : "demo";
    if (command == "demo") return Demo();
    std::fprintf(stderr, "usage: velquorin-sim demo\n");
    return 2;
}
