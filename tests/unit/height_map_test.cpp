// The height map: sample heights, which pixel a position reads, the free-position test,
// and loading files of every shape without reading past their pixels.
#include <IL/il.h>
#include <gtest/gtest.h>

#include "scene/height_map.h"
#include "fuzz/damaged_files.h"
#include "support/devil_image.h"
#include "support/png_fixture.h"
#include "support/process.h"

using tarn::scene::HeightMap;
using tarn::scene::heightMap;
using tarn::scene::heightOfSample;
using tarn::scene::isPositionFree;

namespace {

// A 1024-wide map whose samples count the columns (modulo 256) and a row stripe.
HeightMap columnMap(int width = 1024, int height = 8) {
    std::vector<unsigned char> rgba(static_cast<size_t>(width) * height * 4, 0);
    for (int r = 0; r < height; ++r)
        for (int c = 0; c < width; ++c) rgba[(static_cast<size_t>(r) * width + c) * 4] = c % 256;
    return HeightMap(width, height, std::move(rgba));
}

std::string writeImage(const std::string& path, int channels, ILenum format, unsigned char value) {
    return tarn::test::writeImageWithDevIL(path, 16, 16, channels, format,
                                           std::vector<unsigned char>(16 * 16 * channels, value));
}

}  // namespace

TEST(HeightMapLookup, PositionsReadTheirColumnAndStayInsideAtTheFarEdges) {
    const HeightMap map = columnMap();
    EXPECT_DOUBLE_EQ(map.terrainHeight(-55.0, 0.0), heightOfSample(0));
    EXPECT_DOUBLE_EQ(map.terrainHeight(52.99, 0.0), heightOfSample(1005 % 256));
    EXPECT_DOUBLE_EQ(map.terrainHeight(55.0, 55.0), heightOfSample(1023 % 256));
    EXPECT_DOUBLE_EQ(map.terrainHeight(500.0, -500.0), heightOfSample(1023 % 256));
    EXPECT_DOUBLE_EQ(map.terrainHeight(-56.0, 0.0), heightOfSample(0));
}

TEST(HeightMapLookup, FreePositionsKeepTheClearanceFromFloorAndEdges) {
    heightMap = std::make_unique<HeightMap>(2, 2, std::vector<unsigned char>(16, 226));
    EXPECT_TRUE(isPositionFree({0.0f, 13.5f, 0.0f}, 0.5f));
    EXPECT_FALSE(isPositionFree({0.0f, 13.25f, 0.0f}, 0.5f));
    EXPECT_TRUE(isPositionFree({-52.5f, 20.0f, 0.0f}, 0.5f));
    EXPECT_FALSE(isPositionFree({-52.51f, 20.0f, 0.0f}, 0.5f));
    EXPECT_TRUE(isPositionFree({0.0f, 20.0f, 52.5f}, 0.5f));
    EXPECT_FALSE(isPositionFree({0.0f, 20.0f, 52.6f}, 0.5f));
    heightMap.reset();
}

TEST(HeightMapLoading, AMissingFileIsReportedAndLeavesNoFloor) {
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const HeightMap map("no/such/heightmap.png");
    const std::string out = testing::internal::GetCapturedStdout();
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err.rfind("Could not open heightMap file:", 0), 0u) << err;
    EXPECT_NE(out.find(": "), std::string::npos);
    EXPECT_EQ(out.find("Successfully"), std::string::npos);
    EXPECT_DOUBLE_EQ(map.terrainHeight(0.0, 0.0), -11.0);
    EXPECT_DOUBLE_EQ(map.terrainHeight(55.0, 55.0), -11.0);
}

TEST(HeightMapLoading, GreyRgbAndRgbaFilesAllReadTheirFirstChannel) {
    const std::string dir = tarn::test::makeTempDir();
    const std::vector<std::pair<std::string, std::pair<int, ILenum>>> shapes = {
        {"grey.png", {1, IL_LUMINANCE}}, {"rgb.png", {3, IL_RGB}}, {"rgba.png", {4, IL_RGBA}}};
    for (const auto& [name, shape] : shapes) {
        const std::string path = writeImage(dir + "/" + name, shape.first, shape.second, 113);
        testing::internal::CaptureStdout();
        const HeightMap map(path);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "Successfully loaded heightMap file.\n");
        EXPECT_EQ(map.width, 16) << name;
        EXPECT_EQ(map.pixels.size(), 16u * 16u * 4u) << name;
        EXPECT_DOUBLE_EQ(map.terrainHeight(54.9, 54.9), heightOfSample(113)) << name;
    }
}

TEST(HeightMapLoading, BrokenOrHugePngsAreRefusedByNameBeforeTheImageLibrarySeesThem) {
    const std::string dir = tarn::test::makeTempDir();
    const std::string png = tarn::test::encodeRgbPng(4, 4, std::vector<std::uint8_t>(48, 200));
    const std::vector<std::pair<std::string, std::string>> files = {
        {png.substr(0, png.size() - 12), "the file ends without an IEND chunk"},
        {png.substr(0, png.size() / 2), "runs past the end of the file"},
        {png.substr(0, 40), "runs past the end of the file"},
        // DevIL took 8 s and 2.7 GB to fail on this one.
        {tarn::fuzz::pngClaimingSize(png, 30000, 65535), "the header claims 30000x65535 pixels"},
    };
    for (const auto& [bytes, reason] : files) {
        const std::string path = dir + "/map.png";
        tarn::test::writeFile(path, bytes);
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        const HeightMap map(path);
        testing::internal::GetCapturedStdout();
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(err.rfind("Could not open heightMap file:[" + path + "] ", 0), 0u) << err;
        EXPECT_NE(err.find(reason), std::string::npos) << err;
        EXPECT_TRUE(map.pixels.empty()) << reason;
        EXPECT_DOUBLE_EQ(map.terrainHeight(0.0, 0.0), -11.0);
    }
}
