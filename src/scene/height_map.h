// The lake floor as an image: the floor height under any horizontal position, and the
// test that keeps the camera, the creature and the fish above it and inside the lake.
#pragma once

#include <glm/glm.hpp>
#include <memory>
#include <string>
#include <vector>

namespace tarn::scene {

// Samples are the red byte of 8-bit RGBA pixels; column 0 lies at x = -55 and row 0 at
// z = -55, the image spanning 110 units on both axes.
class HeightMap {
public:
    // No map: the floor is absent everywhere (the lowest height, -11).
    HeightMap() = default;
    // Loads an image file, converted to 8-bit RGBA whatever it holds. A file that cannot
    // be read, or whose header is broken or claims more pixels than the game takes, is
    // reported (with its path where the library's text has none) and leaves the map empty.
    explicit HeightMap(const std::string& path);
    // A map from pixels already in memory (4 bytes a pixel, row after row).
    HeightMap(int width, int height, std::vector<unsigned char> rgba);

    // Floor height under (x, z). Positions beyond the image read its nearest edge.
    double terrainHeight(double x, double z) const;
    // The same floor without its steps: heights interpolated between sample centres.
    double smoothHeight(double x, double z) const;

    // The sample in (column, row), both clamped into the image. The map must not be empty.
    double sampleAt(int column, int row) const;

    std::vector<unsigned char> pixels;
    double extentX = 110.0;
    double extentZ = 110.0;
    int width = 0;
    int height = 0;
};

// The floor height of sample value s (0 to 255).
double heightOfSample(unsigned char s);

// The one height map of the lake, loaded at start-up.
extern std::unique_ptr<HeightMap> heightMap;

// True when the position keeps the clearance inside the square x, z within [-53, 53], above
// the floor that is drawn (the smooth floor) and below the water surface. Equality passes.
// With no map loaded only the square and the surface limit.
bool isPositionFree(glm::vec3 position, float clearance);

// How far a swimmer is out of open water: 0 where it keeps the clearance inside the square
// and above the floor (the smooth floor, as the lakebed runs between the samples) and
// surfaceClearance below the water surface, else the sum of how far it has passed each.
float depthOutOfWater(glm::vec3 position, float floorClearance, float surfaceClearance);

}  // namespace tarn::scene
