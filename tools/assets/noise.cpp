// Hash-based gradient and cell noise for the textures, the lakebed and the sounds.
#include "noise.h"

namespace tarn::assets {

std::uint32_t hash3(std::int32_t x, std::int32_t y, std::uint32_t seed) {
    std::uint32_t h = seed * 0x27d4eb2du;
    h ^= static_cast<std::uint32_t>(x) * 0x85ebca6bu;
    h = (h << 13) | (h >> 19);
    h ^= static_cast<std::uint32_t>(y) * 0xc2b2ae35u;
    h ^= h >> 16;
    h *= 0x7feb352du;
    h ^= h >> 15;
    h *= 0x846ca68bu;
    h ^= h >> 16;
    return h;
}

namespace {

int wrap(int i, int period) {
    if (period <= 0) return i;
    const int m = i % period;
    return m < 0 ? m + period : m;
}

double gradientDot(int ix, int iy, double dx, double dy, std::uint32_t seed, int period) {
    const std::uint32_t h = hash3(wrap(ix, period), wrap(iy, period), seed);
    const double angle = (h & 0xffffu) * (6.283185307179586 / 65536.0);
    return std::cos(angle) * dx + std::sin(angle) * dy;
}

double fade(double t) { return t * t * t * (t * (t * 6.0 - 15.0) + 10.0); }

}  // namespace

double gradientNoise(double x, double y, std::uint32_t seed, int period) {
    const double fx = std::floor(x), fy = std::floor(y);
    const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
    const double dx = x - fx, dy = y - fy;
    const double n00 = gradientDot(ix, iy, dx, dy, seed, period);
    const double n10 = gradientDot(ix + 1, iy, dx - 1, dy, seed, period);
    const double n01 = gradientDot(ix, iy + 1, dx, dy - 1, seed, period);
    const double n11 = gradientDot(ix + 1, iy + 1, dx - 1, dy - 1, seed, period);
    const double u = fade(dx), v = fade(dy);
    // Scaled so the result spans about [-1, 1].
    return 1.41 * mix(mix(n00, n10, u), mix(n01, n11, u), v);
}

double fbm(double x, double y, int octaves, std::uint32_t seed, int period, double gain) {
    double sum = 0.0, amplitude = 1.0, norm = 0.0;
    for (int i = 0; i < octaves; ++i) {
        sum += amplitude * gradientNoise(x, y, seed + 101u * i, period);
        norm += amplitude;
        amplitude *= gain;
        x *= 2.0;
        y *= 2.0;
        if (period > 0) period *= 2;
    }
    return sum / norm;
}

double cellDistance(double x, double y, std::uint32_t seed, int period) {
    const int ix = static_cast<int>(std::floor(x)), iy = static_cast<int>(std::floor(y));
    double best = 1e9;
    for (int oy = -1; oy <= 1; ++oy) {
        for (int ox = -1; ox <= 1; ++ox) {
            const int cx = ix + ox, cy = iy + oy;
            const std::uint32_t h = hash3(wrap(cx, period), wrap(cy, period), seed);
            const double px = cx + (h & 0xffffu) / 65536.0;
            const double py = cy + (h >> 16) / 65536.0;
            const double d = std::hypot(px - x, py - y);
            if (d < best) best = d;
        }
    }
    return best;
}

}  // namespace tarn::assets
