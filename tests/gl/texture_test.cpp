// Textures on a real GL context: upload, what a failed file leaves and says, and the
// sampling settings of the texture units.
#include "gfx/texture.h"

#include <GL/glew.h>
#include <IL/il.h>
#include <gtest/gtest.h>

#include <tuple>

#include "support/devil_image.h"
#include "support/gl_context.h"
#include "support/lake_game.h"
#include "support/png_fixture.h"
#include "support/process.h"

using tarn::gfx::Texture;
using namespace tarn::test;

namespace {

using Image = WindowImage;

std::vector<std::uint8_t> gradient(int width, int height) {
    std::vector<std::uint8_t> rgb;
    for (int i = 0; i < width * height * 3; ++i) rgb.push_back(static_cast<std::uint8_t>(17 + i * 11));
    return rgb;
}

// Level 0 of the texture as GL holds it, rows byte-packed.
Image readBack(GLuint texture) {
    Image image;
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &image.width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &image.height);
    image.rgb.resize(static_cast<std::size_t>(image.width * image.height * 3));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, image.rgb.data());
    return image;
}

struct Loaded {
    Texture texture;
    std::string out, err;
};

Loaded load(const std::string& path) {
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    Texture texture(path);
    std::string out = testing::internal::GetCapturedStdout();
    return {std::move(texture), out, testing::internal::GetCapturedStderr()};
}

class TextureFiles : public ::testing::Test {
protected:
    void SetUp() override {
        ensureGLContext();
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);  // GL's default, as the game starts with
    }
    std::string dir = makeTempDir();
};

}  // namespace

TEST_F(TextureFiles, OddWidthsArrivePixelForPixelAndTheLoadIsReported) {
    for (const int width : {3, 1, 5, 7}) {
        const std::string path = dir + "/odd.png";
        writeFile(path, encodeRgbPng(width, 4, gradient(width, 4)));
        const Loaded loaded = load(path);
        const Image gpu = readBack(loaded.texture.id);
        EXPECT_EQ(gpu.width, width);
        EXPECT_EQ(gpu.height, 4);
        EXPECT_EQ(gpu.rgb, gradient(width, 4)) << "width " << width;
        EXPECT_NE(loaded.out.find("Successfully loaded texture file [" + path + "]."),
                  std::string::npos);
    }
    GLint active = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
    EXPECT_EQ(active, GL_TEXTURE0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// Whatever went wrong, the file is named with a reason, nothing half-loaded is converted or
// uploaded, and the texture is one pixel that is safe to bind and sample.
TEST_F(TextureFiles, AFileThatFailsIsNamedAndLeavesOneSafePixel) {
    // DevIL fails on a JPEG cut in half, but keeps the full-size image it began to fill.
    const std::string jpeg = readFile(
        writeImageWithDevIL(dir + "/noise.jpg", 64, 64, 3, IL_RGB, gradient(64, 64)));
    writeFile(dir + "/cut.jpg", jpeg.substr(0, jpeg.size() / 2));
    // A TGA header is not read before DevIL, so its size is held to the limit after loading.
    writeImageWithDevIL(dir + "/wide.tga", 8193, 1, 3, IL_RGB, std::vector<unsigned char>(8193 * 3, 90));
    // The image library words the first two reasons itself; the size limit is our own.
    const std::pair<std::string, std::string> cases[] = {
        {"nowhere.jpg", ""},
        {"cut.jpg", ""},
        {"wide.tga", "the image is 8193x1 pixels, more than 8192 a side"},
    };
    for (const auto& [name, reason] : cases) {
        SCOPED_TRACE(name);
        const std::string path = dir + "/" + name;
        Loaded loaded = load(path);
        EXPECT_EQ(loaded.err.rfind("Could not open file [" + path + "]: ", 0), 0u) << loaded.err;
        EXPECT_NE(loaded.err.find(reason), std::string::npos) << loaded.err;
        EXPECT_EQ(loaded.err.find("Could not convert"), std::string::npos) << loaded.err;
        EXPECT_EQ(loaded.out.find("Successfully loaded"), std::string::npos) << loaded.out;
        const Image gpu = readBack(loaded.texture.id);
        EXPECT_EQ(gpu.width * gpu.height, 1);
        loaded.texture.bind(3);
        // Releasing twice (explicitly, then in the destructor) deletes the name once.
        const GLuint id = loaded.texture.id;
        loaded.texture.release();
        EXPECT_FALSE(glIsTexture(id));
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// Units 8 and 10 hold the depth map and the light-shaft image, which must not blur; the
// duck's texture on unit 12 keeps the filters it was loaded with.
TEST(TextureSampling, TheSettingsReachUnitsZeroToTenButNotEightAndTen) {
    ensureGLContext();
    const GLint own = GL_NEAREST_MIPMAP_LINEAR;
    GLuint textures[13];
    glGenTextures(13, textures);
    for (unsigned unit = 0; unit < 13; ++unit) {
        glActiveTexture(GL_TEXTURE0 + unit);
        glBindTexture(GL_TEXTURE_2D, textures[unit]);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, own);
    }
    // Mipmapping with nearest sampling, then neither.
    for (const auto& [mipmapping, nearest, minFilter] :
         {std::tuple{true, true, GL_NEAREST_MIPMAP_NEAREST}, std::tuple{false, false, GL_LINEAR}}) {
        tarn::gfx::applyTextureSampling(mipmapping, nearest);
        for (unsigned unit = 0; unit < 13; ++unit) {
            GLint filter = 0;
            glActiveTexture(GL_TEXTURE0 + unit);
            glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filter);
            EXPECT_EQ(filter, unit == 8 || unit >= 10 ? own : GLint(minFilter)) << "unit " << unit;
        }
    }
    glDeleteTextures(13, textures);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
