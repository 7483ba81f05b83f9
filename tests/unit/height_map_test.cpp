// The height map: which pixel a position reads, and loading files of every shape without
// reading past their pixels. The free-position test is the camera's.
#include <IL/il.h>
#include <gtest/gtest.h>

#include "scene/height_map.h"
#include "fuzz/damaged_files.h"
#include "support/devil_image.h"
#include "support/png_fixture.h"
#include "support/process.h"

using tarn::scene::HeightMap;
using tarn::scene::heightOfSample;

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

TEST(HeightMapLoading, AFileThatFailsIsReportedAndLeavesTheLowestFloor) {
    const std::string dir = tarn::test::makeTempDir();
    const std::string png = tarn::test::encodeRgbPng(4, 4, std::vector<std::uint8_t>(48, 200));
    tarn::test::writeFile(dir + "/cut.png", png.substr(0, png.size() - 12));
    // DevIL took 8 s and 2.7 GB to fail on this one.
    tarn::test::writeFile(dir + "/huge.png", tarn::fuzz::pngClaimingSize(png, 30000, 65535));
    // The image library's own text names no file; the guard's refusals do.
    const std::pair<std::string, std::string> cases[] = {
        {dir + "/nowhere.png", ""},
        {dir + "/cut.png", "[" + dir + "/cut.png] the file ends without an IEND chunk"},
        {dir + "/huge.png", "[" + dir + "/huge.png] the header claims 30000x65535 pixels"},
    };
    for (const auto& [path, reason] : cases) {
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        const HeightMap map(path);
        const std::string out = testing::internal::GetCapturedStdout();
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(err.rfind("Could not open heightMap file:" + reason, 0), 0u) << err;
        EXPECT_EQ(out.find("Successfully"), std::string::npos) << out;
        EXPECT_TRUE(map.pixels.empty()) << path;
        EXPECT_DOUBLE_EQ(map.terrainHeight(55.0, 55.0), -11.0) << path;
    }
}
