// The one random source of the scene. Its seed is fixed and the objects draw from it in
// their creation order, so every run builds the same lake.
#pragma once

#include <random>

namespace tarn::scene {

// Default seed (5489), never reseeded.
extern std::mt19937 rng;

// One draw from rng scaled into [a, b), in single precision.
float randomUniform(float a, float b);

}  // namespace tarn::scene
