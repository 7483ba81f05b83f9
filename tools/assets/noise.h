// Deterministic randomness for the asset generator: a small seeded generator and gradient
// noise that can repeat with a whole-number period, so textures tile without seams.
#pragma once

#include <cmath>
#include <cstdint>

namespace tarn::assets {

// Same sequence on every machine, unlike the standard distributions.
class Rng {
public:
    explicit Rng(std::uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 1) {}
    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // Uniform in [lo, hi).
    double uniform(double lo = 0.0, double hi = 1.0) {
        return lo + (hi - lo) * static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0);
    }

private:
    std::uint64_t state_;
};

std::uint32_t hash3(std::int32_t x, std::int32_t y, std::uint32_t seed);

// Gradient noise in about [-1, 1]. With period > 0 the lattice wraps every `period` cells,
// so noise(x + period, y) == noise(x, y).
double gradientNoise(double x, double y, std::uint32_t seed, int period = 0);

// Sum of octaves, each twice the frequency and `gain` times the amplitude of the one before.
// The period (in cells of the first octave) doubles with the frequency, so tiling holds.
double fbm(double x, double y, int octaves, std::uint32_t seed, int period = 0, double gain = 0.5);

// Distance to the nearest of a jittered grid of points, wrapping every `period` cells:
// cells of stone, scales and cracks.
double cellDistance(double x, double y, std::uint32_t seed, int period);

inline double clamp01(double v) { return v < 0.0 ? 0.0 : (v > 1.0 ? 1.0 : v); }
inline double smoothstep(double edge0, double edge1, double v) {
    const double t = clamp01((v - edge0) / (edge1 - edge0));
    return t * t * (3.0 - 2.0 * t);
}
inline double mix(double a, double b, double t) { return a + (b - a) * t; }

}  // namespace tarn::assets
