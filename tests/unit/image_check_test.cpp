// The image guard reads sizes where the decoders read them: past segments and fill bytes
// in a JPEG, through every TIFF directory in either byte order, from a PNG's IHDR after a
// walk over all its chunks.
#include "check/image_check.h"

#include <gtest/gtest.h>

#include "fuzz/damaged_files.h"
#include "support/png_fixture.h"

using tarn::check::imageProblem;
using namespace tarn::test;
using namespace tarn::fuzz;

namespace {

std::string bigEndian16(unsigned value) {
    return {static_cast<char>(value >> 8), static_cast<char>(value)};
}

// A JPEG head: start marker, the given segments, then a frame header of that size.
std::string jpegHead(const std::string& before, unsigned width, unsigned height) {
    return std::string("\xFF\xD8", 2) + before + std::string("\xFF\xC0", 2) + bigEndian16(17) +
           '\x08' + bigEndian16(height) + bigEndian16(width) + std::string(12, '\x01');
}

std::string segment(unsigned char marker, const std::string& data) {
    return std::string("\xFF", 1) + static_cast<char>(marker) + bigEndian16(data.size() + 2) + data;
}

// A TIFF of directories, each of ImageWidth and ImageLength as SHORT or LONG, chained in
// order; `loop` points the last back at the first.
std::string tiff(bool little, const std::vector<std::pair<unsigned, unsigned>>& sizes,
                 bool useShort = false, bool loop = false) {
    auto u16 = [&](unsigned v) {
        return little ? std::string{char(v), char(v >> 8)} : std::string{char(v >> 8), char(v)};
    };
    auto u32 = [&](unsigned v) {
        return little ? u16(v & 0xFFFF) + u16(v >> 16) : u16(v >> 16) + u16(v & 0xFFFF);
    };
    auto entry = [&](unsigned tag, unsigned value) {
        const std::string field = useShort ? u16(value) + u16(0) : u32(value);
        return u16(tag) + u16(useShort ? 3 : 4) + u32(1) + field;
    };
    std::string file = (little ? std::string("II", 2) : std::string("MM", 2)) + u16(42) + u32(8);
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        const unsigned next = i + 1 < sizes.size() ? unsigned(file.size() + 30) : loop ? 8u : 0u;
        file += u16(2) + entry(256, sizes[i].first) + entry(257, sizes[i].second) + u32(next);
    }
    return file;
}

}  // namespace

TEST(ImageCheck, AJpegSizeIsTheFirstFrameHeaderAfterWholeSegmentsHeldToTheLimits) {
    // A frame-header marker inside an APP segment's data is data, not a header.
    const std::string fakeHeader = std::string("\xFF\xC0\x00\x11\x08\xFF\xFF\xFF\xFF", 9);
    EXPECT_EQ(imageProblem(jpegHead(segment(0xE0, fakeHeader), 640, 480)), "");
    // Fill bytes and stray bytes before a marker are skipped, as libjpeg skips them.
    EXPECT_EQ(imageProblem(jpegHead(std::string("\x12\x34\xFF\xFF", 4), 8, 8)), "");
    EXPECT_EQ(imageProblem(jpegHead("", 32768, 65500)),
              "the header claims 32768x65500 pixels, more than 8192 a side");
    EXPECT_NE(imageProblem(jpegHead("", 8, 0)), "");
    // Sides up to 8192 and 16 megapixels pass.
    EXPECT_EQ(imageProblem(jpegHead("", 8192, 2048)), "");
    EXPECT_EQ(imageProblem(jpegHead("", 4096, 4096)), "");
    EXPECT_NE(imageProblem(jpegHead("", 4097, 4096)), "");
    EXPECT_NE(imageProblem(jpegHead("", 2048, 2048), 1024), "") << "a smaller GL limit";
    const std::string whole = jpegHead(segment(0xE1, std::string(300, 'x')), 8, 8);
    EXPECT_NE(imageProblem(whole.substr(0, 200)), "") << "cut before its frame header";
}

TEST(ImageCheck, EveryTiffDirectoryInEitherByteOrderIsHeldToTheLimit) {
    for (const bool little : {true, false}) {
        SCOPED_TRACE(little ? "little-endian" : "big-endian");
        EXPECT_EQ(imageProblem(tiff(little, {{256, 256}})), "");
        EXPECT_EQ(imageProblem(tiff(little, {{256, 256}}, true)), "");
        EXPECT_NE(imageProblem(tiff(little, {{4294967295u, 256}})), "");
        EXPECT_NE(imageProblem(tiff(little, {{256, 256}, {256, 2147483647u}})), "")
            << "the second directory";
        EXPECT_NE(imageProblem(tiff(little, {{256, 256}, {256, 256}}, false, true)), "")
            << "directories in a loop";
        EXPECT_NE(imageProblem(tiff(little, {{256, 256}}).substr(0, 20)), "") << "cut short";
    }
}

TEST(ImageCheck, APngCutShortAnywhereOrWithALyingChunkIsRefused) {
    const std::string png = encodeRgbPng(5, 4, std::vector<std::uint8_t>(60, 7));
    EXPECT_EQ(imageProblem(png), "");
    for (std::size_t cut = 8; cut < png.size(); ++cut) {
        EXPECT_NE(imageProblem(png.substr(0, cut)), "") << "cut at " << cut << " of " << png.size();
    }
    EXPECT_EQ(imageProblem(png.substr(0, png.size() - 12)), "the file ends without an IEND chunk");
    std::string longChunk = png;
    longChunk.replace(33, 4, 4, '\xff');  // IDAT's length: four gigabytes less one
    EXPECT_NE(imageProblem(longChunk), "");
    std::string huge = pngClaimingSize(png, 30000, 65535);
    EXPECT_EQ(imageProblem(huge), "the header claims 30000x65535 pixels, more than 8192 a side");
    huge[30] = static_cast<char>(huge[30] ^ 1);
    EXPECT_EQ(imageProblem(huge), "chunk IHDR has a wrong CRC");
}

TEST(ImageCheck, OtherFormatsAndMissingFilesAreLeftToTheLibrary) {
    EXPECT_EQ(imageProblem("BM not a format the guard reads"), "");
    EXPECT_EQ(imageProblem(""), "");
    EXPECT_EQ(tarn::check::imageFileProblem("/nonexistent/missing.png"), "");
}
