// PNG files for fixtures through libpng, and their text chunks read back byte by byte.
#include "support/png_fixture.h"

#include <png.h>
#include <zlib.h>

#include <stdexcept>

namespace tarn::test {

namespace {

std::string bigEndian32(std::uint32_t value) {
    return {static_cast<char>(value >> 24), static_cast<char>(value >> 16),
            static_cast<char>(value >> 8), static_cast<char>(value)};
}

// One chunk with its length and CRC.
std::string pngChunk(const std::string& type, const std::string& data) {
    const std::string typeAndData = type + data;
    const uLong crc =
        crc32(crc32(0L, Z_NULL, 0), reinterpret_cast<const Bytef*>(typeAndData.data()),
              static_cast<uInt>(typeAndData.size()));
    return bigEndian32(static_cast<std::uint32_t>(data.size())) + typeAndData +
           bigEndian32(static_cast<std::uint32_t>(crc));
}

}  // namespace

std::map<std::string, std::string> pngTextChunks(const std::string& bytes) {
    std::map<std::string, std::string> texts;
    const auto be32 = [&](size_t at) {
        return std::uint32_t(std::uint8_t(bytes[at])) << 24 |
               std::uint32_t(std::uint8_t(bytes[at + 1])) << 16 |
               std::uint32_t(std::uint8_t(bytes[at + 2])) << 8 |
               std::uint32_t(std::uint8_t(bytes[at + 3]));
    };
    for (size_t at = 8; at + 12 <= bytes.size();) {
        const size_t length = be32(at);
        if (at + 12 + length > bytes.size()) break;
        const std::string type = bytes.substr(at + 4, 4);
        const std::string data = bytes.substr(at + 8, length);
        if (type == "tEXt" && pngChunk(type, data) == bytes.substr(at, 12 + length)) {
            const size_t nul = data.find('\0');
            if (nul != std::string::npos) texts[data.substr(0, nul)] = data.substr(nul + 1);
        }
        at += 12 + length;
    }
    return texts;
}

std::string encodeRgbPng(int width, int height, const std::vector<std::uint8_t>& rgbRows) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGB;
    png_alloc_size_t size = PNG_IMAGE_PNG_SIZE_MAX(image);
    std::string bytes(size, '\0');
    if (!png_image_write_to_memory(&image, bytes.data(), &size, 0, rgbRows.data(), 0, nullptr))
        throw std::runtime_error(image.message);
    bytes.resize(size);
    return bytes;
}

}  // namespace tarn::test
