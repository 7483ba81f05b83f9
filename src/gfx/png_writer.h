// PNG files the game writes itself: a picture read from GL with a few lines of text about
// it, encoded through libpng, which reports its failures instead of writing a broken file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tarn::gfx {

// One tEXt chunk. Keywords are 1 to 79 printable Latin-1 characters; both parts plain ASCII
// here.
struct PngText {
    std::string keyword;
    std::string text;
};

// RGBA pixels, bottom row first as glReadPixels gives them, written as an 8-bit RGB PNG
// (top row first, alpha dropped) with the texts before IEND. Returns the file's bytes, or
// empty with the reason in error.
std::string encodePng(int width, int height, const std::vector<std::uint8_t>& rgbaBottomUp,
                      const std::vector<PngText>& texts, std::string& error);

}  // namespace tarn::gfx
