// PNG encoding for fixtures: signature, IHDR, one zlib-compressed IDAT, IEND.
#include "support/png_fixture.h"

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
    // Each scanline starts with filter type 0 (none).
    std::string raw;
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
    for (int y = 0; y < height; ++y) {
        raw.push_back('\0');
        raw.append(reinterpret_cast<const char*>(rgbRows.data()) + y * rowBytes, rowBytes);
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::string packed(packedSize, '\0');
    if (compress(reinterpret_cast<Bytef*>(packed.data()), &packedSize,
                 reinterpret_cast<const Bytef*>(raw.data()),
                 static_cast<uLong>(raw.size())) != Z_OK) {
        throw std::runtime_error("zlib compress failed");
    }
    packed.resize(packedSize);

    const std::string header = bigEndian32(static_cast<std::uint32_t>(width)) +
                               bigEndian32(static_cast<std::uint32_t>(height)) +
                               std::string("\x08\x02\x00\x00\x00", 5);  // 8-bit RGB
    return std::string("\x89PNG\r\n\x1a\n", 8) + pngChunk("IHDR", header) +
           pngChunk("IDAT", packed) + pngChunk("IEND", "");
}

}  // namespace tarn::test
