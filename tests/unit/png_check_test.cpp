// The PNG structure check that keeps broken files away from the image library.
#include "gfx/png_check.h"

#include <gtest/gtest.h>

#include "support/png_fixture.h"
#include "support/process.h"

using tarn::gfx::pngStructureIsSound;
using tarn::gfx::pngStructureProblem;
using namespace tarn::test;

namespace {

std::string soundPng() {
    std::vector<std::uint8_t> pixels(5 * 4 * 3);
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<std::uint8_t>(i * 37);
    return encodeRgbPng(5, 4, pixels);
}

class PngFiles : public ::testing::Test {
protected:
    std::string write(const std::string& name, const std::string& bytes) {
        const std::string path = dir + "/" + name;
        writeFile(path, bytes);
        return path;
    }
    std::string dir = makeTempDir();
};

}  // namespace

TEST_F(PngFiles, AWholePngIsSoundAndOneCutShortAnywhereIsNot) {
    const std::string whole = soundPng();
    EXPECT_EQ(pngStructureProblem(write("whole.png", whole)), "");
    for (std::size_t cut = 8; cut < whole.size(); ++cut) {
        const std::string path = write("cut.png", whole.substr(0, cut));
        EXPECT_FALSE(pngStructureIsSound(path)) << "cut at " << cut << " of " << whole.size();
    }
    EXPECT_EQ(pngStructureProblem(write("noend.png", whole.substr(0, whole.size() - 12))),
              "the file ends without an IEND chunk");
}

// A wrong CRC is the image guard's test.
TEST_F(PngFiles, AChunkLongerThanTheFileIsBroken) {
    const std::string header = std::string("\x89PNG\r\n\x1a\n", 8);
    const std::string ihdr = pngChunk("IHDR", std::string("\0\0\0\1\0\0\0\1\x08\x02\0\0\0", 13));
    std::string huge = pngChunk("IDAT", "xy");
    huge[0] = huge[1] = huge[2] = huge[3] = '\xff';  // four gigabytes less one
    EXPECT_FALSE(pngStructureIsSound(write("huge.png", header + ihdr + huge)));
    EXPECT_FALSE(pngStructureIsSound(write("shortheader.png", header + std::string(5, '\0'))));
}

TEST_F(PngFiles, OtherFilesAreLeftToTheImageLibrary) {
    EXPECT_TRUE(pngStructureIsSound(dir + "/missing.png"));
    EXPECT_TRUE(pngStructureIsSound(write("empty.png", "")));
    EXPECT_TRUE(pngStructureIsSound(write("photo.jpg", "\xff\xd8\xff\xe0 not a png at all")));
}
