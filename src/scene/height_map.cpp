// Height map loading and lookups.
#include "scene/height_map.h"

#include <IL/il.h>
#include <IL/ilu.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iostream>

#include "base/tables.h"
#include "check/image_check.h"

namespace tarn::scene {

std::unique_ptr<HeightMap> heightMap;

namespace {

constexpr double lowestFloor = -11.0;
constexpr float worldLimit = lake::squareHalfSize;

void reportFailedLoad(ILenum code, const std::string& text) {
    std::cerr << "Could not open heightMap file:" << text << " (" << code << "):";
    std::cout << code << ": " << text << std::endl;
    std::cerr << std::endl;
}

}  // namespace

double heightOfSample(unsigned char s) { return s / 226.0 * 24.0 - 11.0; }

HeightMap::HeightMap(int width, int height, std::vector<unsigned char> rgba)
    : pixels(std::move(rgba)), width(width), height(height) {
    if (width <= 0 || height <= 0 ||
        pixels.size() < static_cast<size_t>(width) * static_cast<size_t>(height) * 4) {
        pixels.clear();
        this->width = 0;
        this->height = 0;
    }
}

HeightMap::HeightMap(const std::string& path) {
    ilInit();
    iluInit();
    ILuint image = 0;
    ilGenImages(1, &image);
    ilBindImage(image);
    // DevIL hangs on some broken PNGs and overflows or runs out of memory on huge sizes,
    // so those never reach it.
    check::ImageOpenFailure failure;
    if (!check::openCheckedImage(path, check::maxImageSide, failure)) {
        // The library's text names no file; the checks' reasons are given with it.
        reportFailedLoad(failure.code,
                         failure.refused ? "[" + path + "] " + failure.text : failure.text);
    } else {
        std::cout << "Successfully loaded heightMap file." << std::endl;
        // Whatever the file holds (grey, RGB, 16-bit), lookups read 4 bytes a pixel.
        if (ilConvertImage(IL_RGBA, IL_UNSIGNED_BYTE)) {
            const int w = ilGetInteger(IL_IMAGE_WIDTH);
            const int h = ilGetInteger(IL_IMAGE_HEIGHT);
            const ILubyte* data = ilGetData();
            const std::size_t bytes = static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 4;
            if (data && w > 0 && h > 0 &&
                static_cast<std::size_t>(ilGetInteger(IL_IMAGE_SIZE_OF_DATA)) >= bytes) {
                width = w;
                height = h;
                pixels.assign(data, data + bytes);
            }
        }
    }
    ilBindImage(0);
    ilDeleteImages(1, &image);
}

double HeightMap::terrainHeight(double x, double z) const {
    if (pixels.empty()) return lowestFloor;
    const int column = static_cast<int>(((extentX * 0.5 + x) / extentX) * width);
    const int row = static_cast<int>(((extentZ * 0.5 + z) / extentZ) * height);
    // At x or z of exactly +55 (and beyond) the column or row would be one past the image.
    return sampleAt(column, row);
}

double HeightMap::sampleAt(int column, int row) const {
    const size_t c = static_cast<size_t>(std::clamp(column, 0, width - 1));
    const size_t r = static_cast<size_t>(std::clamp(row, 0, height - 1));
    return heightOfSample(pixels[(r * static_cast<size_t>(width) + c) * 4]);
}

double HeightMap::smoothHeight(double x, double z) const {
    if (pixels.empty()) return lowestFloor;
    const double column = (extentX * 0.5 + x) / extentX * width - 0.5;
    const double row = (extentZ * 0.5 + z) / extentZ * height - 0.5;
    const int c0 = static_cast<int>(std::floor(column));
    const int r0 = static_cast<int>(std::floor(row));
    const double fc = column - c0;
    const double fr = row - r0;
    const double top = sampleAt(c0, r0) * (1.0 - fc) + sampleAt(c0 + 1, r0) * fc;
    const double bottom = sampleAt(c0, r0 + 1) * (1.0 - fc) + sampleAt(c0 + 1, r0 + 1) * fc;
    return top * (1.0 - fr) + bottom * fr;
}

bool isPositionFree(glm::vec3 position, float clearance) {
    // The lakebed drawn runs between the samples and stands above the stepped floor on the
    // banks: a test against the steps would let the camera sit inside the drawn slope.
    return !(depthOutOfWater(position, clearance, clearance) > 0.0f);
}

float depthOutOfWater(glm::vec3 position, float floorClearance, float surfaceClearance) {
    const float x = position.x;
    const float z = position.z;
    // The stepped floor would make a swimmer that climbs out look deeper in at each step.
    const double floor = heightMap ? heightMap->smoothHeight(x, z) : lowestFloor;
    return std::max(0.0f, std::abs(x) + floorClearance - worldLimit) +
           std::max(0.0f, std::abs(z) + floorClearance - worldLimit) +
           std::max(0.0f, static_cast<float>(floor) - (position.y - floorClearance)) +
           std::max(0.0f, position.y + surfaceClearance - lake::waterLevel);
}

}  // namespace tarn::scene
