// Pixel buffers and their files.
#include "image.h"

#include <IL/il.h>

#include <cmath>
#include <cstdio>
#include <fstream>

namespace tarn::assets {

namespace {

std::uint8_t toByte(double v) {
    const double c = v < 0.0 ? 0.0 : (v > 1.0 ? 1.0 : v);
    return static_cast<std::uint8_t>(std::lround(c * 255.0));
}

void initDevil() {
    static bool done = false;
    if (!done) {
        ilInit();
        ilEnable(IL_FILE_OVERWRITE);
        done = true;
    }
}

bool saveWithDevil(const Image& image, ILenum type, const std::string& path) {
    initDevil();
    ILuint id = 0;
    ilGenImages(1, &id);
    ilBindImage(id);
    const ILenum format = image.channels == 4 ? IL_RGBA : IL_RGB;
    ilTexImage(image.width, image.height, 1, static_cast<ILubyte>(image.channels), format,
               IL_UNSIGNED_BYTE, const_cast<std::uint8_t*>(image.pixels.data()));
    // Our row 0 is the top row; without this DevIL would flip the picture on saving.
    ilRegisterOrigin(IL_ORIGIN_UPPER_LEFT);
    const bool ok = ilSave(type, path.c_str());
    if (!ok)
        std::fprintf(stderr, "tarnhollow-assets: cannot write %s (DevIL error %d)\n", path.c_str(),
                     ilGetError());
    ilDeleteImages(1, &id);
    return ok;
}

void put16(std::ofstream& out, std::uint16_t v) { out.put(char(v & 0xff)).put(char(v >> 8)); }
void put32(std::ofstream& out, std::uint32_t v) {
    put16(out, std::uint16_t(v & 0xffff));
    put16(out, std::uint16_t(v >> 16));
}

}  // namespace

void Image::set(int x, int y, Color c) {
    std::uint8_t* p = at(x, y);
    p[0] = toByte(c.r);
    p[1] = toByte(c.g);
    p[2] = toByte(c.b);
    if (channels == 4) p[3] = 255;
}

Color Image::get(int x, int y) const {
    const std::uint8_t* p = at(x, y);
    return {p[0] / 255.0, p[1] / 255.0, p[2] / 255.0};
}

Image paint(int width, int height, const std::function<Color(double, double)>& f) {
    Image image(width, height, 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.set(x, y, f((x + 0.5) / width, 1.0 - (y + 0.5) / height));
        }
    }
    return image;
}

bool savePng(const Image& image, const std::string& path) {
    return saveWithDevil(image, IL_PNG, path);
}

bool saveJpeg(const Image& image, const std::string& path, int quality) {
    initDevil();
    ilSetInteger(IL_JPG_QUALITY, quality);
    return saveWithDevil(image, IL_JPG, path);
}

bool saveTiff(const Image& image, const std::string& path) {
    std::ofstream out(path, std::ios::binary);
    if (!out) {
        std::fprintf(stderr, "tarnhollow-assets: cannot write %s\n", path.c_str());
        return false;
    }
    // Little-endian header, one strip of pixels right after it, then the directory.
    const std::uint32_t dataSize = std::uint32_t(image.pixels.size());
    const std::uint32_t dataOffset = 8;
    const std::uint32_t bitsOffset = dataOffset + dataSize;  // three shorts of 8
    const std::uint32_t ifdOffset = bitsOffset + 6;
    out.write("II", 2);
    put16(out, 42);
    put32(out, ifdOffset);
    out.write(reinterpret_cast<const char*>(image.pixels.data()), dataSize);
    for (int i = 0; i < 3; ++i) put16(out, 8);

    struct Entry {
        std::uint16_t tag, type;
        std::uint32_t count, value;
    };
    const std::uint16_t kShort = 3, kLong = 4;
    const std::uint16_t samples = std::uint16_t(image.channels);
    const Entry entries[] = {
        {256, kLong, 1, std::uint32_t(image.width)},   // ImageWidth
        {257, kLong, 1, std::uint32_t(image.height)},  // ImageLength
        {258, kShort, 3, bitsOffset},                  // BitsPerSample 8,8,8
        {259, kShort, 1, 1},                           // no compression
        {262, kShort, 1, 2},                           // RGB
        {273, kLong, 1, dataOffset},                   // StripOffsets
        {277, kShort, 1, samples},                     // SamplesPerPixel
        {278, kLong, 1, std::uint32_t(image.height)},  // RowsPerStrip
        {279, kLong, 1, dataSize},                     // StripByteCounts
        {284, kShort, 1, 1},                           // chunky pixels
    };
    put16(out, std::uint16_t(std::size(entries)));
    for (const Entry& e : entries) {
        put16(out, e.tag);
        put16(out, e.type);
        put32(out, e.count);
        put32(out, e.value);  // a single short sits in the low half, as little-endian wants
    }
    put32(out, 0);
    return bool(out);
}

Image loadImage(const std::string& path) {
    initDevil();
    ILuint id = 0;
    ilGenImages(1, &id);
    ilBindImage(id);
    Image image;
    if (ilLoadImage(path.c_str()) && ilConvertImage(IL_RGB, IL_UNSIGNED_BYTE)) {
        image = Image(ilGetInteger(IL_IMAGE_WIDTH), ilGetInteger(IL_IMAGE_HEIGHT), 3);
        const ILubyte* data = ilGetData();
        image.pixels.assign(data, data + image.pixels.size());
    }
    ilDeleteImages(1, &id);
    return image;
}

}  // namespace tarn::assets
