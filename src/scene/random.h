// The one random source of the scene. Its seed is fixed and the objects draw from it in
// their creation order, so every run builds the same lake.
#pragma once

#include <random>

namespace tarn::scene {

// Default seed (5489), never reseeded.
extern std::mt19937 rng;

// One draw from rng scaled into [a, b), in single precision.
float randomUniform(float a, float b);

// A swimmer's next course, drawn in this order: turn rate (degrees, -360 to 360), roll
// rate (degrees, -45 to 45), then how long it lasts (1 to 10 s).
void drawNewCourse(float& turnRate, float& rollRate, float& courseDuration);

}  // namespace tarn::scene
