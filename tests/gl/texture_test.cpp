// Textures on a real GL context: upload, the messages of failed files, the PNG guard and
// the sampling settings of the texture units.
#include "gfx/texture.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <memory>
#include <regex>

#include <IL/il.h>

#include "app/textures.h"
#include "support/devil_image.h"
#include "support/gl_context.h"
#include "support/png_fixture.h"
#include "support/process.h"

using tarn::gfx::Texture;
using namespace tarn::test;

namespace {

struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;
};

Image gradient(int width, int height) {
    Image image{width, height, {}};
    for (int i = 0; i < width * height * 3; ++i)
        image.rgb.push_back(static_cast<std::uint8_t>(17 + i * 11));
    return image;
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

class TextureFiles : public ::testing::Test {
protected:
    void SetUp() override {
        ensureGLContext();
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);  // GL's default, as the game starts with
    }
    std::string writePng(const std::string& name, const Image& image) {
        const std::string path = dir + "/" + name;
        writeFile(path, encodeRgbPng(image.width, image.height, image.rgb));
        return path;
    }
    std::string dir = makeTempDir();
};

}  // namespace

TEST_F(TextureFiles, OddWidthsArrivePixelForPixel) {
    for (const int width : {3, 1, 5, 7}) {
        const Image file = gradient(width, 4);
        const Texture texture(writePng("odd.png", file));
        const Image gpu = readBack(texture.id);
        EXPECT_EQ(gpu.width, width);
        EXPECT_EQ(gpu.height, 4);
        EXPECT_EQ(gpu.rgb, file.rgb) << "width " << width;
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(TextureFiles, ALoadedImageReportsItsSizeAndRgbFormat) {
    const std::string path = writePng("small.png", gradient(3, 2));
    testing::internal::CaptureStdout();
    const Texture texture(path);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_TRUE(std::regex_search(
        out, std::regex("^Successfully loaded texture file \\[" + path +
                        "\\]\\.\nImage size = 3x2; pos = [1-9][0-9]*, size = 18; type = 6407\n$")))
        << out;
    GLint active = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
    EXPECT_EQ(active, GL_TEXTURE0);
}

TEST_F(TextureFiles, AMissingImageIsReportedAndStillGivesAUsableTexture) {
    const std::string path = dir + "/nowhere.jpg";
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    auto texture = std::make_unique<Texture>(path);
    const std::string out = testing::internal::GetCapturedStdout();
    const std::string err = testing::internal::GetCapturedStderr();

    std::smatch found;
    ASSERT_TRUE(std::regex_search(
        err, found, std::regex("^Could not open file \\[" + path + "\\]: (.+) \\(([0-9]+)\\):\n")))
        << err;
    const std::string text = found[1];
    const std::string code = found[2];
    EXPECT_NE(out.find(code + ": " + text + "\n"), std::string::npos) << out;
    EXPECT_NE(out.find("Image size = "), std::string::npos) << out;

    ASSERT_TRUE(glIsTexture(texture->id));
    const Image gpu = readBack(texture->id);
    EXPECT_GE(gpu.width, 1);
    EXPECT_GE(gpu.height, 1);
    texture->bind(3);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    // Releasing twice (explicitly, then in the destructor) deletes the name once.
    const GLuint id = texture->id;
    texture->release();
    EXPECT_FALSE(glIsTexture(id));
    texture.reset();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(TextureFiles, APngCutShortIsReportedAndNeverHangs) {
    std::vector<std::uint8_t> noise;
    for (int i = 0; i < 64 * 64 * 3; ++i)
        noise.push_back(static_cast<std::uint8_t>((i * 7919) >> 3));
    const std::string whole = encodeRgbPng(64, 64, noise);
    std::vector<std::string> argv{TEXTURE_PROBE};
    for (std::size_t cut = 8; cut < whole.size(); cut += whole.size() / 23) {
        const std::string path = dir + "/cut" + std::to_string(cut) + ".png";
        writeFile(path, whole.substr(0, cut));
        argv.push_back(path);
    }
    argv.push_back(dir + "/cut-before-iend.png");
    writeFile(argv.back(), whole.substr(0, whole.size() - 12));

    const ProcessResult result = runProcess(argv, dir, 60.0);
    ASSERT_FALSE(result.timedOut) << "the image loader hung on a truncated PNG";
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    for (std::size_t i = 1; i < argv.size(); ++i) {
        EXPECT_NE(result.err.find("Could not open file [" + argv[i] + "]: "), std::string::npos)
            << argv[i] << "\n"
            << result.err;
    }
    EXPECT_EQ(result.out.find("Successfully loaded"), std::string::npos) << result.out;
}

TEST_F(TextureFiles, WhatAFailedLoadLeavesIsNeverConvertedOrUploaded) {
    // DevIL fails on a JPEG cut in half, but keeps the full-size image it began to fill.
    const Image noise = gradient(64, 64);
    const std::string whole = readFile(
        writeImageWithDevIL(dir + "/noise.jpg", 64, 64, 3, IL_RGB, noise.rgb));
    const std::string path = dir + "/cut.jpg";
    writeFile(path, whole.substr(0, whole.size() / 2));
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const Texture texture(path);
    const std::string out = testing::internal::GetCapturedStdout();
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err.rfind("Could not open file [" + path + "]: ", 0), 0u) << err;
    EXPECT_EQ(err.find("Could not convert"), std::string::npos) << err;
    EXPECT_EQ(out.find("Successfully loaded"), std::string::npos) << out;
    const Image gpu = readBack(texture.id);
    EXPECT_EQ(gpu.width, 1);
    EXPECT_EQ(gpu.height, 1);
}

TEST_F(TextureFiles, AnImageLargerThanTheGameTakesIsRefusedEvenInAFormatTheGuardCannotRead) {
    // A TGA header is not read before DevIL, so the size is held to the limit after loading.
    const std::string path = writeImageWithDevIL(dir + "/wide.tga", 8193, 1, 3, IL_RGB,
                                                 std::vector<unsigned char>(8193 * 3, 90));
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const Texture texture(path);
    const std::string out = testing::internal::GetCapturedStdout();
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err.rfind("Could not open file [" + path +
                            "]: the image is 8193x1 pixels, more than 8192 a side",
                        0),
              0u)
        << err;
    EXPECT_EQ(out.find("Successfully loaded"), std::string::npos) << out;
    const Image gpu = readBack(texture.id);
    EXPECT_EQ(gpu.width, 1);
}

TEST(TextureSampling, TheFourSettingsReachUnitsZeroToTenButNotEightAndTen) {
    ensureGLContext();
    struct Row {
        bool mipmapping, nearest;
        GLint minFilter, magFilter;
    };
    const Row table[] = {
        {true, false, GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR},
        {true, true, GL_NEAREST_MIPMAP_NEAREST, GL_NEAREST},
        {false, false, GL_LINEAR, GL_LINEAR},
        {false, true, GL_NEAREST, GL_NEAREST},
    };
    // The depth map and the light-shaft image, with filters of their own.
    const GLint ownMin = GL_NEAREST_MIPMAP_LINEAR;
    const GLint ownMag = GL_NEAREST;

    GLuint textures[13];
    glGenTextures(13, textures);
    for (unsigned unit = 0; unit < 13; ++unit) {
        glActiveTexture(GL_TEXTURE0 + unit);
        glBindTexture(GL_TEXTURE_2D, textures[unit]);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, ownMin);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, ownMag);
    }
    auto filters = [&](unsigned unit) {
        GLint minFilter = 0, magFilter = 0;
        glActiveTexture(GL_TEXTURE0 + unit);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magFilter);
        return std::make_pair(minFilter, magFilter);
    };

    for (const Row& row : table) {
        tarn::gfx::applyTextureSampling(row.mipmapping, row.nearest);
        GLint active = 0;
        glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
        EXPECT_EQ(active, GL_TEXTURE10);
        for (unsigned unit = 0; unit < 13; ++unit) {
            const bool own = unit == 8 || unit >= 10;
            const auto expected =
                own ? std::make_pair(ownMin, ownMag) : std::make_pair(row.minFilter, row.magFilter);
            EXPECT_EQ(filters(unit), expected) << "unit " << unit << " mipmapping "
                                               << row.mipmapping << " nearest " << row.nearest;
        }
    }
    glDeleteTextures(13, textures);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(CausticsFrames, FileNamesHaveTwoDigitFrameNumbers) {
    EXPECT_EQ(tarn::app::causticsPath(5), "Resources/Textures/caustics/save.05.tif");
    EXPECT_EQ(tarn::app::causticsPath(1), "Resources/Textures/caustics/save.01.tif");
    EXPECT_EQ(tarn::app::causticsPath(32), "Resources/Textures/caustics/save.32.tif");
}
