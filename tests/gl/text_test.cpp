// The overlay's text on a real GL context: the glyphs keep their own colour, and a dark ring sets
// every colour of the HUD apart from the blue water and from the brightest lit floor by at least
// the 4.5:1 that WCAG 2 asks of text.
#include "gfx/text.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <glm/gtc/matrix_transform.hpp>
#include <memory>
#include <string>
#include <vector>

#include "base/tables.h"
#include "gfx/shader.h"
#include "support/gl_context.h"

using namespace tarn;

namespace {

constexpr int width = 480;
constexpr int height = 96;
// The longest status line, at the distance line's pen.
const char* const line = "Distance to Morvie: 38 m";
const char* const banner = "SD card full! You have lost :-(";
constexpr float penX = 20.0f;
constexpr float penY = 40.0f;

using Rgb = std::array<int, 3>;

// The water's clear colour, and the brightest floor the gallery's views show, where the
// caustics light a slope near the distance line.
constexpr Rgb water{83, 83, 166};
constexpr Rgb litFloor{189, 221, 234};

// The distance line's cyan, the photos line's yellow, the banners' red and the controls'
// white.
const glm::vec3 hudColours[] = {
    {0.3f, 0.9f, 1.0f}, {1.0f, 1.0f, 0.1f}, {1.0f, 0.2f, 0.0f}, {1.0f, 1.0f, 1.0f}};

// Relative luminance and contrast ratio as WCAG 2 defines them.
double luminance(const Rgb& c) {
    double sum = 0.0;
    const double weights[] = {0.2126, 0.7152, 0.0722};
    for (int i = 0; i < 3; ++i) {
        const double v = c[i] / 255.0;
        sum += weights[i] * (v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4));
    }
    return sum;
}
double contrast(const Rgb& a, const Rgb& b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}
Rgb bytes(glm::vec3 colour) {
    return {int(std::lround(colour.r * 255)), int(std::lround(colour.g * 255)),
            int(std::lround(colour.b * 255))};
}

// Pixels with y counted from the bottom, as GL reads them.
struct Picture {
    std::vector<std::uint8_t> rgb = std::vector<std::uint8_t>(size_t(width) * height * 3);
    Rgb at(int x, int y) const {
        const std::uint8_t* p = &rgb[(size_t(y) * width + x) * 3];
        return {p[0], p[1], p[2]};
    }
};

class OverlayText : public ::testing::Test {
protected:
    void SetUp() override {
        test::ensureGLContext();
        gfx::loadFont(std::string(TARNHOLLOW_RUN_DIR) + "/" + paths::font);
        ASSERT_FALSE(gfx::glyphTable.empty()) << "the font did not load";
        program =
            std::make_unique<gfx::Shader>(std::string(TARNHOLLOW_SOURCE_DIR) + "/Shader/text.vert",
                                          std::string(TARNHOLLOW_SOURCE_DIR) + "/Shader/text.frag");
        program->use();
        program->setUniform("projection", glm::ortho(0.0f, float(width), 0.0f, float(height)));

        glGenTextures(1, &target);
        glBindTexture(GL_TEXTURE_2D, target);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     nullptr);
        glBindTexture(GL_TEXTURE_2D, 0);
        glGenFramebuffers(1, &framebuffer);
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, target, 0);
        ASSERT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), GLenum(GL_FRAMEBUFFER_COMPLETE));
        glViewport(0, 0, width, height);
        glDisable(GL_DEPTH_TEST);  // as the overlay is drawn
    }
    void TearDown() override {
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glDeleteFramebuffers(1, &framebuffer);
        glDeleteTextures(1, &target);
        program.reset();
        gfx::releaseFont();
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    }

    Picture draw(const Rgb& background, glm::vec3 colour, float scale, GLenum polygonMode = GL_FILL,
                 const std::string& text = line, float x = penX) const {
        glClearColor(background[0] / 255.0f, background[1] / 255.0f, background[2] / 255.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        glPolygonMode(GL_FRONT_AND_BACK, polygonMode);
        gfx::renderText(*program, text, x, penY, scale, colour);
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
        Picture picture;
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, picture.rgb.data());
        return picture;
    }

    std::unique_ptr<gfx::Shader> program;
    GLuint target = 0;
    GLuint framebuffer = 0;
};

// How much of each pixel the glyphs cover, read from the text drawn on black, where a dark
// ring leaves no trace: the colour's strongest channel scaled by the coverage.
std::vector<float> coverage(const Picture& onBlack, glm::vec3 colour) {
    int channel = 0;
    for (int c = 1; c < 3; ++c)
        if (colour[c] > colour[channel]) channel = c;
    std::vector<float> covered(size_t(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            covered[size_t(y) * width + x] = onBlack.at(x, y)[channel] / (255.0f * colour[channel]);
    return covered;
}

// The rim of the text: pixels the glyphs leave untouched right beside pixels they cover at
// least half. Whatever the background, each must stand apart from the text's colour, or
// the letter runs into what lies behind it. Returns the lowest contrast there and the rim's
// size.
std::pair<double, int> legibility(const Picture& picture, const std::vector<float>& covered,
                                  const Rgb& text) {
    std::pair<double, int> result{1e9, 0};
    const auto inked = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < width && y < height &&
               covered[size_t(y) * width + x] >= 0.5f;
    };
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (covered[size_t(y) * width + x] > 0.02f ||
                !(inked(x - 1, y) || inked(x + 1, y) || inked(x, y - 1) || inked(x, y + 1)))
                continue;
            ++result.second;
            result.first = std::min(result.first, contrast(text, picture.at(x, y)));
        }
    }
    return result;
}

}  // namespace

TEST_F(OverlayText, EveryHudColourStandsApartFromTheWaterAndTheLitFloorByItsOutline) {
    for (const glm::vec3& colour : hudColours) {
        // Scale 1 is the distance line's and the banners', 0.5 the photos line's and the
        // controls'.
        for (const float scale : {1.0f, 0.5f}) {
            const std::vector<float> covered = coverage(draw({0, 0, 0}, colour, scale), colour);
            for (const Rgb& background : {water, litFloor}) {
                SCOPED_TRACE(testing::Message()
                             << "colour " << bytes(colour)[0] << "," << bytes(colour)[1] << ","
                             << bytes(colour)[2] << " at scale " << scale << " on "
                             << background[2]);
                const auto [worst, rim] =
                    legibility(draw(background, colour, scale), covered, bytes(colour));
                EXPECT_GT(rim, 100) << "no text drawn";
                EXPECT_GE(worst, 4.5);
            }
        }
    }
}

// The outline adds a ring and changes nothing else: a fully covered pixel shows the text's
// exact colour on any background.
TEST_F(OverlayText, GlyphsKeepTheirOwnColour) {
    const glm::vec3 red = hudColours[2];
    const Picture onBlack = draw({0, 0, 0}, red, 1.0f);
    // Drawn on black, where a ring leaves no trace, a string shows each of its glyphs as the
    // glyph alone shows it: the ring of a letter reaching into the gap to its neighbour
    // takes nothing from that neighbour.
    for (const float scale : {1.0f, 0.5f}) {
        const Picture whole = draw({0, 0, 0}, red, scale, GL_FILL, banner);
        Picture alone;
        std::fill(alone.rgb.begin(), alone.rgb.end(), 0);
        float pen = penX;
        for (const char c : std::string(banner)) {
            const Picture glyph = draw({0, 0, 0}, red, scale, GL_FILL, std::string(1, c), pen);
            for (size_t i = 0; i < alone.rgb.size(); ++i)
                alone.rgb[i] = std::max(alone.rgb[i], glyph.rgb[i]);
            pen += float(gfx::glyphTable.at(c).advance >> 6) * scale;
        }
        int differ = 0;
        for (size_t i = 0; i < alone.rgb.size(); ++i)
            differ += std::abs(whole.rgb[i] - alone.rgb[i]) > 1;
        EXPECT_EQ(differ, 0) << "at scale " << scale;
    }

    // The wireframe view's line mode leaves the overlay filled, so it reads there too.
    for (const GLenum mode : {GLenum(GL_FILL), GLenum(GL_LINE)}) {
        for (const Rgb& background : {water, litFloor}) {
            const Picture picture = draw(background, red, 1.0f, mode);
            int full = 0, changed = 0;
            for (size_t i = 0; i < picture.rgb.size(); i += 3) {
                if (onBlack.at(int(i / 3) % width, int(i / 3) / width) != bytes(red)) continue;
                ++full;
                changed += picture.at(int(i / 3) % width, int(i / 3) / width) != bytes(red);
            }
            EXPECT_GT(full, 300) << "few fully covered pixels";
            EXPECT_EQ(changed, 0) << changed << " of " << full
                                  << " fully covered pixels changed colour";
        }
    }
}
