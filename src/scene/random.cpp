// Storage of the shared random source and its one scaling rule.
#include "scene/random.h"

#include <cstdint>

namespace tarn::scene {

std::mt19937 rng;

float randomUniform(float a, float b) {
    const auto u = static_cast<std::uint32_t>(rng());
    // Kept to this exact sequence of float steps: every placement in the lake follows it.
    const float unit = static_cast<float>(static_cast<double>(u)) * 0x1p-32f;
    return unit * (b - a) + a;
}

void drawNewCourse(float& turnRate, float& rollRate, float& courseDuration) {
    turnRate = randomUniform(-360.0f, 360.0f);
    rollRate = randomUniform(-45.0f, 45.0f);
    courseDuration = randomUniform(1.0f, 10.0f);
}

}  // namespace tarn::scene
