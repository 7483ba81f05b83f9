// What the generated files must agree on for the game to work and look right: the height
// map against the lakebed, shores all round, seamless textures and caustics, and an
// ambience that loops cleanly.
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <assimp/Importer.hpp>
#include <cmath>
#include <vector>

#include "assets/asset_paths.h"
#include "scene/height_map.h"
#include "support/lake_game.h"

using namespace tarn::test;

namespace {

using Pixels = tarn::test::WindowImage;

int channel(const Pixels& img, int x, int y, int c) { return img.rgb[(size_t(y) * img.width + x) * 3 + c]; }

// The game's own floor lookup, on the staged map.
const tarn::scene::HeightMap& gameMap() {
    static const tarn::scene::HeightMap map(staged(tarn::paths::heightMap));
    return map;
}

double terrainHeight(double x, double z) { return gameMap().terrainHeight(x, z); }

// Mean absolute difference between two columns (or rows) of an RGB image.
double lineDifference(const Pixels& img, int a, int b, bool columns) {
    const int n = columns ? img.height : img.width;
    double sum = 0;
    for (int i = 0; i < n; ++i) {
        for (int c = 0; c < 3; ++c) {
            sum += columns ? std::abs(channel(img, a, i, c) - channel(img, b, i, c))
                           : std::abs(channel(img, i, a, c) - channel(img, i, b, c));
        }
    }
    return sum / (3.0 * n);
}

// A texture tiles when the step across its wrap edge is no larger than the largest step
// between neighbouring columns (rows) inside it.
void expectTiles(const std::string& gamePath) {
    SCOPED_TRACE(gamePath);
    const Pixels img = Pixels::load(staged(gamePath));
    ASSERT_GT(img.width, 2);
    for (bool columns : {true, false}) {
        const int n = columns ? img.width : img.height;
        double interior = 0;
        for (int i = 0; i + 1 < n; ++i)
            interior = std::max(interior, lineDifference(img, i, i + 1, columns));
        EXPECT_LE(lineDifference(img, n - 1, 0, columns), interior)
            << (columns ? "left-right" : "top-bottom");
    }
}

double frameDifference(const Pixels& a, const Pixels& b) {
    double sum = 0;
    for (size_t i = 0; i < a.rgb.size(); ++i) sum += std::abs(int(a.rgb[i]) - int(b.rgb[i]));
    return sum / double(a.rgb.size());
}

// The samples of a staged sound.
std::vector<float> readSound(const std::string& gamePath, SF_INFO& info) {
    info = {};
    SNDFILE* file = sf_open(staged(gamePath).c_str(), SFM_READ, &info);
    std::vector<float> samples(file ? size_t(info.frames * info.channels) : 0);
    if (file) {
        sf_readf_float(file, samples.data(), info.frames);
        sf_close(file);
    }
    return samples;
}

// The drawn lakebed, lowered by 5 as the game places it, must lie where the height map says
// the floor is: inside every triangle, its height is within the lookups one sample step
// around the point, give or take one height level. Its triangles, seen from above, cover
// the whole square.
TEST(HeightMap, LakebedMeshAgreesWithTheLookup) {
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(staged(tarn::paths::lakebedModel), aiProcess_Triangulate);
    ASSERT_NE(scene, nullptr);
    const double step = 110.0 / gameMap().width, level = 24.0 / 226.0;
    double area = 0, lowX = 1e9, highX = -1e9, lowZ = 1e9, highZ = -1e9;
    int failures = 0;
    for (unsigned m = 0; m < scene->mNumMeshes; ++m) {
        const aiMesh* mesh = scene->mMeshes[m];
        for (unsigned f = 0; f < mesh->mNumFaces; ++f) {
            const unsigned* index = mesh->mFaces[f].mIndices;
            const aiVector3D a = mesh->mVertices[index[0]], b = mesh->mVertices[index[1]],
                             c = mesh->mVertices[index[2]];
            // Signed, so the odd sliver folded over at a steep shore counts once.
            area += ((b.x - a.x) * (c.z - a.z) - (c.x - a.x) * (b.z - a.z)) / 2;
            lowX = std::min({lowX, double(a.x), double(b.x), double(c.x)});
            highX = std::max({highX, double(a.x), double(b.x), double(c.x)});
            lowZ = std::min({lowZ, double(a.z), double(b.z), double(c.z)});
            highZ = std::max({highZ, double(a.z), double(b.z), double(c.z)});
            // The centre, and halfway from it to each corner.
            const aiVector3D centre = (a + b + c) / 3.0f;
            for (const aiVector3D& p : {centre, (centre + a) / 2.0f, (centre + b) / 2.0f,
                                        (centre + c) / 2.0f}) {
                double lo = 1e9, hi = -1e9;
                for (double dz : {-step, 0.0, step}) {
                    for (double dx : {-step, 0.0, step}) {
                        const double h = terrainHeight(std::clamp(p.x + dx, -55.0, 54.999),
                                                       std::clamp(p.z + dz, -55.0, 54.999));
                        lo = std::min(lo, h), hi = std::max(hi, h);
                    }
                }
                const double floor = p.y - 5.0;
                if ((floor < lo - level || floor > hi + level) && failures++ < 5) {
                    ADD_FAILURE() << "at x=" << p.x << " z=" << p.z << " the mesh is at " << floor
                                  << ", the map says " << lo << " to " << hi;
                }
            }
        }
    }
    EXPECT_EQ(failures, 0);
    EXPECT_NEAR(lowX, -55.0, 0.1);
    EXPECT_NEAR(highZ - lowZ, 110.0, 0.1);
    EXPECT_NEAR(std::fabs(area), (highX - lowX) * (highZ - lowZ), 0.01) << "holes in the lakebed";
}

// The outermost pixels, all round: shore above the water line, so the lake has no open edge.
TEST(HeightMap, ShoresRiseAboveTheWaterAllRound) {
    const double edge = 55.0 - 2 * 110.0 / 1024;
    for (double t = -55.0; t < 55.0; t += 110.0 / 1024) {
        for (double side : {-55.0, edge}) {
            ASSERT_GT(terrainHeight(t, side), 15.0) << "z " << side << " x " << t;
            ASSERT_GT(terrainHeight(side, t), 15.0) << "x " << side << " z " << t;
        }
    }
}

TEST(Textures, RepeatingSurfacesTileWithoutSeams) {
    expectTiles(tarn::paths::mossTexture);
    expectTiles(tarn::paths::skyTexture);
    for (int frame : {1, 17, 32}) expectTiles(tarn::app::causticsPath(frame));
}

TEST(Textures, CausticsLoopFromTheLastFrameToTheFirst) {
    std::vector<Pixels> frames;
    for (int i = 1; i <= 32; ++i) {
        frames.push_back(Pixels::load(staged(tarn::app::causticsPath(i))));
        ASSERT_FALSE(frames.back().rgb.empty()) << i;
    }
    double largestStep = 0;
    for (int i = 0; i + 1 < 32; ++i) {
        const double d = frameDifference(frames[i], frames[i + 1]);
        EXPECT_GT(d, 0.5) << "frames " << i + 1 << " and " << i + 2
                          << " should differ: the caustics move";
        largestStep = std::max(largestStep, d);
    }
    EXPECT_LE(frameDifference(frames[31], frames[0]), largestStep);
}

TEST(Sounds, AmbienceLoopsWithoutAClick) {
    SF_INFO info;
    const std::vector<float> s = readSound(tarn::paths::ambientSound, info);
    ASSERT_FALSE(s.empty());
    for (int c = 0; c < info.channels; ++c) {
        std::vector<float> steps;
        for (sf_count_t i = 0; i + 1 < info.frames; ++i) {
            steps.push_back(
                std::fabs(s[size_t(i + 1) * info.channels + c] - s[size_t(i) * info.channels + c]));
        }
        std::sort(steps.begin(), steps.end());
        const float seam = std::fabs(s[c] - s[size_t(info.frames - 1) * info.channels + c]);
        EXPECT_LE(seam, steps[steps.size() * 999 / 1000])
            << "channel " << c << ": the wrap is a click";
    }
}

}  // namespace
