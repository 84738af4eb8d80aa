// The speed model: whole steps with no scaling by elapsed time. By default
// one a frame, so the train's feel follows the frame rate, as players of
// the game expect; with speed_steps_per_second, as many as are due.
#include "driving/driving.h"
#include "driving/step_pacing.h"
#include "host/natives.h"
#include "settings/settings.h"

namespace {

struct ModelConstants {
    float acceleration;
    float brake[3];  // light, medium, hard
    float drag;
};
constexpr ModelConstants Freight{0.02f, {0.01f, 0.02f, 0.03f}, 0.004f};
constexpr ModelConstants Metro{0.04f, {0.01f, 0.03f, 0.06f}, 0.005f};

// Taken off every value sent to the game, in both directions.
constexpr double StandstillOffset = 0.059;

float StepSpeed(float v, const ModelConstants& model, float limit) {
    if (!(v + model.acceleration > limit)) v += model.acceleration;

    const int level = DriveState.brakeLevel;
    if (v > 0.0f && level >= 1 && level <= 3) {
        v -= model.brake[level - 1];
        if (v < 0.0f) v = 0.0f;
    }
    v -= model.drag;
    if (v < 0.0f) v = 0.0f;
    return v;
}

}  // namespace

void UpdateSpeed() {
    const int train = DriveState.train;
    if (train == 0) return;

    const ModelConstants* model;
    float topSpeed;
    if (IsVehicleModel(train, "freight")) {
        model = &Freight;
        topSpeed = Settings.maxSpeedFreight;
    } else if (IsVehicleModel(train, "metrotrain")) {
        model = &Metro;
        topSpeed = Settings.maxSpeedMetro;
    } else {
        return;
    }

    const float limit = (DriveState.throttle * 0.01f) * topSpeed;
    float v = DriveState.speed;
    for (int step = 0; step < StepPacing.stepsThisPass; ++step) v = StepSpeed(v, *model, limit);
    DriveState.speed = v;

    const float signedSpeed = static_cast<float>(DriveState.direction) * v;
    ApplyTrainSpeed(train, static_cast<float>(static_cast<double>(signedSpeed) - StandstillOffset));
}
