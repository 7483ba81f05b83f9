// PNG encoding through libpng's simplified API, with text chunks spliced in before IEND:
// the simplified API reports errors without setjmp but has no way to add text.
#include "gfx/png_writer.h"

#include <png.h>
#include <zlib.h>

namespace tarn::gfx {

namespace {

void appendBigEndian32(std::string& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>(value >> shift));
}

std::string textChunk(const PngText& text) {
    const std::string typeAndData = "tEXt" + text.keyword + '\0' + text.text;
    const uLong crc =
        crc32(crc32(0L, Z_NULL, 0), reinterpret_cast<const Bytef*>(typeAndData.data()),
              static_cast<uInt>(typeAndData.size()));
    std::string chunk;
    appendBigEndian32(chunk, static_cast<std::uint32_t>(typeAndData.size() - 4));
    chunk += typeAndData;
    appendBigEndian32(chunk, static_cast<std::uint32_t>(crc));
    return chunk;
}

}  // namespace

std::string encodePng(int width, int height, const std::vector<std::uint8_t>& rgbaBottomUp,
                      const std::vector<PngText>& texts, std::string& error) {
    if (width < 1 || height < 1 || rgbaBottomUp.size() != std::size_t(width) * height * 4) {
        error = "the picture's size does not match its pixels";
        return {};
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGB;
    // Speed over size: the writer shares the processor with the frames that follow, and on a
    // software renderer every millisecond it takes is one the frame does not get.
    image.flags = PNG_IMAGE_FLAG_FAST;
    // The window's alpha is whatever the clear colour left, not coverage: a photo has none.
    std::vector<std::uint8_t> rgb(std::size_t(width) * height * 3);
    for (std::size_t i = 0, o = 0; i < rgbaBottomUp.size(); i += 4, o += 3) {
        rgb[o] = rgbaBottomUp[i];
        rgb[o + 1] = rgbaBottomUp[i + 1];
        rgb[o + 2] = rgbaBottomUp[i + 2];
    }
    // A negative stride takes the rows from the last to the first: GL's bottom-up rows come
    // out top row first, as a picture file holds them.
    const png_int_32 rgbStride = -static_cast<png_int_32>(width * 3);

    // Room for the worst case, so the picture is compressed once.
    png_alloc_size_t size = PNG_IMAGE_PNG_SIZE_MAX(image);
    std::string bytes(size, '\0');
    if (!png_image_write_to_memory(&image, bytes.data(), &size, 0, rgb.data(), rgbStride,
                                   nullptr)) {
        error = image.message;
        png_image_free(&image);
        return {};
    }
    bytes.resize(size);

    // IEND is the last chunk, twelve bytes with no data.
    if (bytes.size() < 12 || bytes.compare(bytes.size() - 8, 4, "IEND") != 0) {
        error = "libpng's file does not end with IEND";
        return {};
    }
    std::string chunks;
    for (const PngText& text : texts) chunks += textChunk(text);
    bytes.insert(bytes.size() - 12, chunks);
    return bytes;
}

}  // namespace tarn::gfx
