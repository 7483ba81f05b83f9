// PNG files for image tests, written through libpng; their text chunks read back by hand.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace tarn::test {

// An 8-bit RGB PNG of the given rows (top row first, width * 3 bytes each).
std::string encodeRgbPng(int width, int height, const std::vector<std::uint8_t>& rgbRows);

// The keyword and text of every tEXt chunk of a PNG file whose CRC is right.
std::map<std::string, std::string> pngTextChunks(const std::string& bytes);

}  // namespace tarn::test
