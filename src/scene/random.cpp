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

}  // namespace tarn::scene
