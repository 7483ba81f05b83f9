// Hand-made PNG files for image tests: bytes written here, not by the library under test.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tarn::test {

// An 8-bit RGB PNG of the given rows (top row first, width * 3 bytes each).
std::string encodeRgbPng(int width, int height, const std::vector<std::uint8_t>& rgbRows);

}  // namespace tarn::test
