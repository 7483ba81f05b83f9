// Texture loading through DevIL and ILU, and the sampling table of the texture units.
#include "gfx/texture.h"

#include <IL/il.h>
#include <IL/ilu.h>

#include <algorithm>
#include <cstdint>
#include <iostream>
#include <utility>

#include "check/image_check.h"

namespace tarn::gfx {

namespace {

constexpr ILint builtAgainstVersion = 178;

// The largest side this GL takes, and never more than the game takes from any image.
int largestTextureSide() {
    GLint side = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &side);
    return side > 0 ? std::min(static_cast<int>(side), check::maxImageSide) : check::maxImageSide;
}

// Uploads what DevIL holds when it loaded and converted to plain 8-bit RGB with all its
// pixels; anything else (a failed load or conversion leaves odd states behind) becomes one
// black pixel, so the texture is complete and GL never reads past the image's data.
void uploadBoundImage(bool converted, ILint width, ILint height, ILint dataSize,
                      const ILubyte* data, ILint format) {
    const bool usable =
        converted && data && format == IL_RGB && ilGetInteger(IL_IMAGE_TYPE) == IL_UNSIGNED_BYTE &&
        width > 0 && height > 0 &&
        static_cast<std::int64_t>(dataSize) >= static_cast<std::int64_t>(width) * height * 3;
    static const ILubyte blackPixel[3] = {0, 0, 0};

    // Rows of width * 3 bytes are seldom a multiple of 4: read them byte-packed.
    GLint savedAlignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &savedAlignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    if (usable) {
        glTexImage2D(GL_TEXTURE_2D, 0, format, width, height, 0, format, GL_UNSIGNED_BYTE, data);
    } else {
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 1, 1, 0, GL_RGB, GL_UNSIGNED_BYTE, blackPixel);
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, savedAlignment);
}

}  // namespace

Texture::Texture(const std::string& path) : path(path) {
    glGenTextures(1, &id);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, id);

    ilInit();
    iluInit();
    ILuint image = 0;
    ilGenImages(1, &image);
    ilBindImage(image);

    // A file whose header is broken or claims more pixels than GL takes never reaches
    // DevIL, whose decoders may spin, overflow or ask for gigabytes on it.
    check::ImageOpenFailure failure;
    const bool loaded = check::openCheckedImage(path, largestTextureSide(), failure);
    if (loaded) {
        std::cout << "Successfully loaded texture file [" << path << "]." << std::endl;
    } else {
        std::cerr << "Could not open file [" << path << "]: " << failure.text << " ("
                  << failure.code << "):";
        std::cout << failure.code << ": " << failure.text << std::endl;
        std::cerr << std::endl;
    }

    // What a failed load leaves in DevIL may be half built, and converting it has aborted
    // the game: it is neither converted nor uploaded.
    bool converted = false;
    if (loaded) {
        converted = ilConvertImage(IL_RGB, IL_UNSIGNED_BYTE);
        if (!converted) {
            const check::ImageOpenFailure conversion = check::imageLibraryFailure();
            std::cerr << "Could not convert image [" << path << "]: " << conversion.text << " ("
                      << conversion.code << ")" << std::endl;
        }
    }

    const ILint width = ilGetInteger(IL_IMAGE_WIDTH);
    const ILint height = ilGetInteger(IL_IMAGE_HEIGHT);
    const ILint dataSize = ilGetInteger(IL_IMAGE_SIZE_OF_DATA);
    const ILubyte* data = ilGetData();
    const ILint format = ilGetInteger(IL_IMAGE_FORMAT);
    std::cout << "Image size = " << width << "x" << height
              << "; pos = " << reinterpret_cast<std::uintptr_t>(data) << ", size = " << dataSize
              << "; type = " << format << std::endl;

    uploadBoundImage(converted, width, height, dataSize, data, format);
    glGenerateMipmap(GL_TEXTURE_2D);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);

    // The pixels live on the GPU now; DevIL's copy is not needed again.
    ilBindImage(0);
    ilDeleteImages(1, &image);
}

Texture::~Texture() { release(); }

Texture::Texture(Texture&& other) noexcept
    : path(std::move(other.path)), id(std::exchange(other.id, 0)) {}

Texture& Texture::operator=(Texture&& other) noexcept {
    if (this != &other) {
        release();
        path = std::move(other.path);
        id = std::exchange(other.id, 0);
    }
    return *this;
}

void Texture::bind(unsigned unit) const {
    glActiveTexture(GL_TEXTURE0 + unit);
    glBindTexture(GL_TEXTURE_2D, id);
}

void Texture::release() {
    if (id) {
        glDeleteTextures(1, &id);
        id = 0;
    }
}

void applyTextureSampling(bool mipmappingEnabled, bool nearestSampling) {
    GLint minFilter = GL_LINEAR_MIPMAP_LINEAR;
    GLint magFilter = GL_LINEAR;
    if (mipmappingEnabled && nearestSampling) {
        minFilter = GL_NEAREST_MIPMAP_NEAREST;
        magFilter = GL_NEAREST;
    } else if (!mipmappingEnabled && !nearestSampling) {
        minFilter = GL_LINEAR;
    } else if (!mipmappingEnabled && nearestSampling) {
        minFilter = GL_NEAREST;
        magFilter = GL_NEAREST;
    }

    // Units 8 and 10 hold the shadow map and the light-shaft image, which must not blur.
    for (unsigned unit = 0; unit <= 10; ++unit) {
        glActiveTexture(GL_TEXTURE0 + unit);
        if (unit == 8 || unit == 10) continue;
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minFilter);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, magFilter);
    }
}

void checkImageLibraryVersion() {
    const ILint devilVersion = ilGetInteger(IL_VERSION_NUM);
    const ILint iluVersion = iluGetInteger(ILU_VERSION_NUM);
    if (devilVersion < builtAgainstVersion || iluVersion < builtAgainstVersion) {
        std::cerr << "DevIL version is different... IL_VERSION_NUM: " << devilVersion
                  << ", IL_VERSION: " << builtAgainstVersion << std::endl;
    }
}

}  // namespace tarn::gfx
