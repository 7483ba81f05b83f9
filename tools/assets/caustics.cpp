// Caustics: light refracted by a rippling water surface, gathered on the floor. The ripples
// are sums of waves with whole numbers of wavelengths across the tile and whole numbers of
// cycles over the 32 frames, so every frame tiles and the last frame flows into the first.
#include <cmath>
#include <cstdio>
#include <vector>

#include "generator.h"
#include "image.h"
#include "noise.h"

namespace tarn::assets {

namespace {

constexpr int kFrames = 32;
constexpr int kSize = 256;         // pixels per side of a frame
constexpr int kRaysPerSide = 768;  // light rays per side traced for each frame

struct Wave {
    int kx, ky;  // wavelengths across the tile
    int cycles;  // cycles over the whole loop
    double amplitude;
    double phase;
};

std::vector<Wave> makeWaves() {
    const Wave waves[] = {
        {3, 1, 1, 1.0, 0.3},  {-1, 3, 1, 0.9, 1.9}, {2, -3, 1, 0.7, 4.1}, {-4, -1, 2, 0.5, 2.7},
        {1, 5, 2, 0.35, 0.8}, {5, 2, 2, 0.3, 5.5},  {-3, 4, 1, 0.4, 3.3}, {6, -4, 3, 0.15, 1.1},
    };
    return {std::begin(waves), std::end(waves)};
}

// Light per pixel for one moment of the loop, 1.0 where the floor gets the average.
std::vector<double> gatherLight(const std::vector<Wave>& waves, double loopTime) {
    std::vector<double> light(size_t(kSize) * kSize, 0.0);
    // Larger bends focus the light into sharper lines.
    const double bend = 0.085;
    for (int j = 0; j < kRaysPerSide; ++j) {
        for (int i = 0; i < kRaysPerSide; ++i) {
            const double x = (i + 0.5) / kRaysPerSide, y = (j + 0.5) / kRaysPerSide;
            double gx = 0, gy = 0;
            for (const Wave& w : waves) {
                const double a = 2 * M_PI * (w.kx * x + w.ky * y - w.cycles * loopTime) + w.phase;
                const double s = std::sin(a) * w.amplitude / std::hypot(w.kx, w.ky);
                gx += s * w.kx;
                gy += s * w.ky;
            }
            // The ray leaves the surface bent along the slope and lands wrapped into the tile.
            double fx = (x + bend * gx / (2 * M_PI)) * kSize - 0.5,
                   fy = (y + bend * gy / (2 * M_PI)) * kSize - 0.5;
            const double bx = std::floor(fx), by = std::floor(fy);
            const double tx = fx - bx, ty = fy - by;
            const int x0 = (int(bx) % kSize + kSize) % kSize,
                      y0 = (int(by) % kSize + kSize) % kSize;
            const int x1 = (x0 + 1) % kSize, y1 = (y0 + 1) % kSize;
            light[size_t(y0) * kSize + x0] += (1 - tx) * (1 - ty);
            light[size_t(y0) * kSize + x1] += tx * (1 - ty);
            light[size_t(y1) * kSize + x0] += (1 - tx) * ty;
            light[size_t(y1) * kSize + x1] += tx * ty;
        }
    }
    const double perPixel = double(kRaysPerSide) * kRaysPerSide / (double(kSize) * kSize);
    // A small wrapped blur smooths the ray noise without softening the lines much.
    std::vector<double> smooth(light.size());
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            double sum = 0;
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    const double w = (dx == 0 ? 2 : 1) * (dy == 0 ? 2 : 1);
                    sum +=
                        w *
                        light[size_t((y + dy + kSize) % kSize) * kSize + (x + dx + kSize) % kSize];
                }
            }
            smooth[size_t(y) * kSize + x] = sum / (16.0 * perPixel);
        }
    }
    return smooth;
}

}  // namespace

bool writeCaustics(const std::string& resources) {
    const std::vector<Wave> waves = makeWaves();
    const Color deep = rgb(18, 62, 70), bright = rgb(214, 248, 236);
    for (int frame = 0; frame < kFrames; ++frame) {
        const std::vector<double> light = gatherLight(waves, double(frame) / kFrames);
        Image image(kSize, kSize, 3);
        for (int y = 0; y < kSize; ++y) {
            for (int x = 0; x < kSize; ++x) {
                const double l = light[size_t(y) * kSize + x];
                image.set(x, y, mix(deep, bright, clamp01((l - 0.55) / 2.2)));
            }
        }
        char name[128];
        std::snprintf(name, sizeof name, paths::causticsPattern, frame + 1);
        if (!saveTiff(image, gameFile(resources, name))) return false;
    }
    return true;
}

}  // namespace tarn::assets
