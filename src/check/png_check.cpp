// Walks the chunks of a PNG: lengths, CRCs and the closing IEND.
#include "check/png_check.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstdint>

namespace tarn::check {

namespace {

constexpr std::array<unsigned char, 8> pngSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

// The format caps chunk lengths at 2^31 - 1.
constexpr std::uint32_t maxChunkLength = 0x7FFFFFFFu;

std::uint32_t readBigEndian32(const unsigned char* bytes) {
    return (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) |
           (std::uint32_t{bytes[2]} << 8) | std::uint32_t{bytes[3]};
}

}  // namespace

std::string pngChunkProblem(const std::string& contents) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(contents.data());
    const std::size_t size = contents.size();
    if (size < pngSignature.size() ||
        !std::equal(pngSignature.begin(), pngSignature.end(), bytes)) {
        return {};
    }

    // Each chunk: 4-byte length, 4-byte type, the data, then a CRC over type and data.
    std::size_t at = pngSignature.size();
    bool first = true;
    while (at < size) {
        const std::size_t left = size - at;
        if (left < 12) return "a chunk header runs past the end of the file";
        const std::uint32_t length = readBigEndian32(&bytes[at]);
        const std::string type(reinterpret_cast<const char*>(&bytes[at + 4]), 4);
        if (length > maxChunkLength) return "chunk " + type + " has an impossible length";
        if (length > left - 12) return "chunk " + type + " runs past the end of the file";
        if (first && type != "IHDR") return "the first chunk is " + type + ", not IHDR";
        first = false;

        const unsigned char* typeAndData = &bytes[at + 4];
        const uLong crc = crc32(crc32(0L, Z_NULL, 0), typeAndData, 4 + length);
        if (crc != readBigEndian32(typeAndData + 4 + length)) {
            return "chunk " + type + " has a wrong CRC";
        }
        at += 12 + std::size_t{length};
        if (type == "IEND") return {};
    }
    return "the file ends without an IEND chunk";
}

}  // namespace tarn::check
