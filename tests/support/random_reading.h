// A second reading of the scene's random stream, to check what the objects drew from it:
// a fresh default-seeded engine, scaled in double precision rather than the game's floats.
#pragma once

#include <random>

#include "scene/random.h"

namespace tarn::test {

// Puts the game's shared source back to where a run starts.
inline void restartSceneRandom() { tarn::scene::rng = std::mt19937(); }

class RandomReading {
public:
    void skip(unsigned long long count) { engine_.discard(count); }
    // The next value as the game scales it into [a, b), to within float rounding.
    double next(double a, double b) { return double(engine_()) / 4294967296.0 * (b - a) + a; }

private:
    std::mt19937 engine_;
};

}  // namespace tarn::test
