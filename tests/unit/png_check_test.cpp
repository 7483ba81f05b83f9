// The PNG structure check that keeps broken files away from the image library.
#include "check/png_check.h"

#include <gtest/gtest.h>

#include "check/image_check.h"
#include "support/png_fixture.h"

using tarn::check::pngChunkProblem;
using namespace tarn::test;

namespace {

std::string soundPng() {
    std::vector<std::uint8_t> pixels(5 * 4 * 3);
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<std::uint8_t>(i * 37);
    return encodeRgbPng(5, 4, pixels);
}

}  // namespace

TEST(PngChunks, AWholePngIsSoundAndOneCutShortAnywhereIsNot) {
    const std::string whole = soundPng();
    EXPECT_EQ(pngChunkProblem(whole), "");
    for (std::size_t cut = 8; cut < whole.size(); ++cut) {
        EXPECT_NE(pngChunkProblem(whole.substr(0, cut)), "") << "cut at " << cut << " of " << whole.size();
    }
    EXPECT_EQ(pngChunkProblem(whole.substr(0, whole.size() - 12)),
              "the file ends without an IEND chunk");
}

// A wrong CRC is the image guard's test.
TEST(PngChunks, AChunkLongerThanTheFileIsBroken) {
    const std::string header = std::string("\x89PNG\r\n\x1a\n", 8);
    const std::string ihdr = pngChunk("IHDR", std::string("\0\0\0\1\0\0\0\1\x08\x02\0\0\0", 13));
    std::string huge = pngChunk("IDAT", "xy");
    huge[0] = huge[1] = huge[2] = huge[3] = '\xff';  // four gigabytes less one
    EXPECT_NE(pngChunkProblem(header + ihdr + huge), "");
    EXPECT_NE(pngChunkProblem(header + std::string(5, '\0')), "");
}

TEST(PngChunks, OtherFilesAreLeftToTheImageLibrary) {
    EXPECT_EQ(tarn::check::imageFileProblem("/nonexistent/missing.png"), "");
    EXPECT_EQ(pngChunkProblem(""), "");
    EXPECT_EQ(pngChunkProblem("\xff\xd8\xff\xe0 not a png at all"), "");
}
