// The lake floor. One height field feeds both the height map the game tests positions
// against and the lakebed mesh it draws, so the two agree: every height-map pixel is the
// fine mesh surface at that pixel's centre, and the drawn mesh, simplified, stays within a
// few hundredths of a unit of it.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "generator.h"
#include "image.h"
#include "mesh.h"
#include "noise.h"

namespace tarn::assets {

namespace {

constexpr double kExtent = 110.0;     // world units covered by the map, centred on 0
constexpr int kMapSize = 1024;        // height-map pixels per side
constexpr int kCells = 256;           // mesh cells per side: 4 by 4 pixels each
constexpr double kLakebedLift = 5.0;  // the game lowers the lakebed object by this
constexpr double kMossRepeat = 6.0;   // world units per repeat of the moss texture
// How far the drawn floor may leave the fine one, in world units: well under the height
// map's own step of 24/226 units, so the map and the mesh still agree.
constexpr double kSimplifyError = 0.04;
// The drawn floor comes in square pieces, kChunks per side, so the game can leave out the
// pieces outside the view.
constexpr int kChunks = 16;

struct Rock {
    double x, z, radius, height;
};

std::vector<Rock> scatterRocks() {
    Rock rocks[110];
    Rng rng(7);
    int count = 0;
    while (count < 110) {
        const double x = rng.uniform(-45, 45), z = rng.uniform(-45, 45);
        const double radius = rng.uniform(0.4, 2.3), height = radius * rng.uniform(0.5, 1.1);
        // Keep the view from the camera's start clear.
        if (std::hypot(x, z - 3) < 6) continue;
        rocks[count++] = {x, z, radius, height};
    }
    return {rocks, rocks + count};
}

// Floor height in world units. A rounded-square basin fills the square world: a floor of
// hollows, ridges and rocks, a gentle rise towards the banks, then steep banks up to shores
// above the water line (y = 15) all along the map's edge. The banks never start within
// 50.5 units of the centre, which keeps the start line z = 0 open water.
double floorHeight(double x, double z, const std::vector<Rock>& rocks) {
    const double d = std::pow(std::pow(std::fabs(x), 5) + std::pow(std::fabs(z), 5), 0.2);
    const double broad = fbm(x / 24, z / 24, 3, 11);
    const double ridge = 1.0 - std::fabs(fbm(x / 11, z / 11, 3, 23));
    const double detail = fbm(x / 2.2, z / 2.2, 3, 37);
    double floor = -7.6 + 2.6 * broad + 2.4 * ridge * ridge * ridge + 0.22 * detail;
    // Soft limits keep the open floor between -10 and -3.
    floor = -6.5 + 3.5 * std::tanh((floor + 6.5) / 3.5);
    // Rocks stand out of it, but none reaches up to the open water of the start line.
    for (const Rock& r : rocks) {
        const double q = (std::hypot(x - r.x, z - r.z)) / r.radius;
        if (q >= 1.0) continue;
        const double lumpy = 1.0 + 0.3 * gradientNoise(x * 1.7, z * 1.7, 53);
        const double top = std::min(-1.2, floor + r.height * lumpy * std::pow(1.0 - q * q, 0.6));
        floor = std::max(floor, top);
    }

    const double bankStart = 50.6 + 1.0 * (0.5 + 0.5 * fbm(x / 9, z / 9, 2, 41));
    floor = mix(floor, -3.8 + 0.4 * detail, smoothstep(41.0, bankStart, d));
    const double shore = 15.55 + 0.3 * fbm(x / 4, z / 4, 2, 59);
    const double t = clamp01((d - bankStart) / 3.2);
    return mix(floor, shore, t * t * (3.0 - 2.0 * t));
}

// Every triangle goes to the piece its centre lies over; pieces keep only the vertices
// they use.
std::vector<Mesh> splitIntoChunks(const Mesh& fine, const std::vector<std::uint32_t>& triangles) {
    std::vector<Mesh> chunks(size_t(kChunks) * kChunks);
    std::vector<std::vector<std::uint32_t>> local(chunks.size());
    const auto chunkOf = [](float v) {
        return std::clamp(int((v + kExtent / 2) / kExtent * kChunks), 0, kChunks - 1);
    };
    for (size_t k = 0; k + 2 < triangles.size(); k += 3) {
        const glm::vec3 centre = (fine.positions[triangles[k]] + fine.positions[triangles[k + 1]] +
                                  fine.positions[triangles[k + 2]]) / 3.0f;
        const size_t c = size_t(chunkOf(centre.z)) * kChunks + chunkOf(centre.x);
        Mesh& chunk = chunks[c];
        if (local[c].empty()) local[c].assign(fine.positions.size(), UINT32_MAX);
        for (size_t corner = k; corner < k + 3; ++corner) {
            const std::uint32_t v = triangles[corner];
            if (local[c][v] == UINT32_MAX)
                local[c][v] = chunk.addVertex(fine.positions[v], fine.normals[v], fine.uvs[v]);
            chunk.indices.push_back(local[c][v]);
        }
    }
    std::vector<Mesh> used;
    for (size_t c = 0; c < chunks.size(); ++c) {
        if (chunks[c].indices.empty()) continue;
        char name[32];
        std::snprintf(name, sizeof name, "lakebed_%02zu_%02zu", c / kChunks, c % kChunks);
        chunks[c].name = name;
        used.push_back(std::move(chunks[c]));
    }
    return used;
}

}  // namespace

bool writeTerrain(const std::string& resources) {
    const std::vector<Rock> rocks = scatterRocks();
    const int n = kCells + 1;
    const double step = kExtent / kCells;
    std::vector<double> heights(size_t(n) * n);
    for (int j = 0; j < n; ++j) {
        for (int i = 0; i < n; ++i)
            heights[size_t(j) * n + i] = floorHeight(-55 + i * step, -55 + j * step, rocks);
    }
    const auto H = [&](int i, int j) {
        i = std::clamp(i, 0, kCells);
        j = std::clamp(j, 0, kCells);
        return heights[size_t(j) * n + i];
    };

    // Height map: the mesh surface at each pixel centre, row 0 at z = -55.
    Image map(kMapSize, kMapSize, 4);
    const double pixel = kExtent / kMapSize;
    for (int r = 0; r < kMapSize; ++r) {
        for (int c = 0; c < kMapSize; ++c) {
            const double gx = ((c + 0.5) * pixel) / step, gz = ((r + 0.5) * pixel) / step;
            const int i = int(gx), j = int(gz);
            const double fx = gx - i, fz = gz - j;
            // The two triangles of each cell share the diagonal from (i, j) to (i+1, j+1).
            const double h =
                fx >= fz
                    ? H(i, j) + fx * (H(i + 1, j) - H(i, j)) + fz * (H(i + 1, j + 1) - H(i + 1, j))
                    : H(i, j) + fz * (H(i, j + 1) - H(i, j)) + fx * (H(i + 1, j + 1) - H(i, j + 1));
            const long s = std::clamp(std::lround((h + 11.0) / 24.0 * 226.0), 0L, 255L);
            std::uint8_t* p = map.at(c, r);
            p[0] = p[1] = p[2] = std::uint8_t(s);
            p[3] = 255;
        }
    }
    if (!savePng(map, gameFile(resources, paths::heightMap))) return false;

    Mesh bed;
    bed.name = "lakebed";
    for (int j = 0; j < n; ++j) {
        for (int i = 0; i < n; ++i) {
            const double x = -55 + i * step, z = -55 + j * step;
            const glm::vec3 normal =
                glm::normalize(glm::vec3(float(H(i - 1, j) - H(i + 1, j)), float(2 * step),
                                         float(H(i, j - 1) - H(i, j + 1))));
            bed.addVertex({float(x), float(H(i, j) + kLakebedLift), float(z)}, normal,
                          {float(x / kMossRepeat), float(z / kMossRepeat)});
        }
    }
    for (int j = 0; j < kCells; ++j) {
        for (int i = 0; i < kCells; ++i) {
            const std::uint32_t a = j * n + i, b = a + 1, c = a + n, d = c + 1;
            bed.indices.insert(bed.indices.end(), {a, b, d, a, d, c});
        }
    }
    orientTriangles(bed);
    return writeObj(splitIntoChunks(bed, simplifiedIndices(bed, float(kSimplifyError))),
                    gameFile(resources, paths::lakebedModel),
                    "Tarnhollow lakebed: 110 by 110 units in 16 by 16 pieces, drawn 5 units lower "
                    "than written here.");
}

}  // namespace tarn::assets
