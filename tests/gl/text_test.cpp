// The text overlay on the real font: pen arithmetic, missing characters, colour and
// where the pixels land, read back from an off-screen framebuffer.
#include "gfx/text.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <glm/gtc/matrix_transform.hpp>
#include <memory>

#include "support/gl_context.h"

using tarn::gfx::glyphTable;
using tarn::gfx::renderText;
using namespace tarn::test;

namespace {

constexpr int width = 256;
constexpr int height = 64;
constexpr float baseline = 20.0f;
const char* const systemFont = "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf";
const glm::vec3 white(1.0f);
std::unique_ptr<tarn::gfx::Shader> textProgram;

using Pixels = std::vector<std::uint8_t>;  // RGBA, bottom row first

class TextOverlay : public ::testing::Test {
protected:
    void SetUp() override {
        ensureGLContext();
        textProgram = std::make_unique<tarn::gfx::Shader>(
            TARNHOLLOW_SOURCE_DIR "/Shader/text.vert", TARNHOLLOW_SOURCE_DIR "/Shader/text.frag");
        textProgram->use();
        textProgram->setUniform("projection",
                                          glm::ortho(0.0f, float(width), 0.0f, float(height)));

        glGenTextures(1, &colour);
        glBindTexture(GL_TEXTURE_2D, colour);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     nullptr);
        glGenFramebuffers(1, &framebuffer);
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, colour, 0);
        ASSERT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER),
                  static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
        glViewport(0, 0, width, height);

        tarn::gfx::loadFont(systemFont);
    }
    void TearDown() override {
        tarn::gfx::releaseFont();
        textProgram.reset();
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glDeleteFramebuffers(1, &framebuffer);
        glDeleteTextures(1, &colour);
    }

    template <typename Draw>
    Pixels render(Draw draw) {
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        draw();
        Pixels pixels(width * height * 4);
        glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        return pixels;
    }
    Pixels drawn(const char* text, float x, float scale) {
        return render([&] { renderText(*textProgram, text, x, baseline, scale, white); });
    }
    static float advance(char c) { return float(glyphTable.at(c).advance >> 6); }
    static int litCount(const Pixels& pixels) {
        int lit = 0;
        for (std::size_t i = 0; i < pixels.size(); i += 4)
            lit += pixels[i] || pixels[i + 1] || pixels[i + 2];
        return lit;
    }
    // Lit rows, bottom and top, of an image.
    static std::pair<int, int> litRows(const Pixels& pixels) {
        int bottom = height, top = -1;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (pixels[(y * width + x) * 4])
                    bottom = std::min(bottom, y), top = std::max(top, y);
        return {bottom, top};
    }

    GLuint framebuffer = 0;
    GLuint colour = 0;
};

}  // namespace

TEST_F(TextOverlay, GlyphsFollowOneWholePixelAdvanceAndScaleFromTheBaseline) {
    for (const float scale : {1.0f, 0.5f}) {
        const Pixels together = drawn("AV", 25.0f, scale);
        const Pixels apart = render([&] {
            renderText(*textProgram, "A", 25.0f, baseline, scale, white);
            renderText(*textProgram, "V", 25.0f + advance('A') * scale, baseline, scale, white);
        });
        EXPECT_GT(litCount(together), 20);
        EXPECT_EQ(together, apart) << "scale " << scale;
    }
    const auto full = litRows(drawn("H", 25.0f, 1.0f));
    const auto half = litRows(drawn("H", 25.0f, 0.5f));
    EXPECT_EQ(full.first, int(baseline));
    EXPECT_EQ(half.first, int(baseline));
    EXPECT_NEAR(half.second - half.first + 1, (full.second - full.first + 1) / 2.0, 1.0);
}

TEST_F(TextOverlay, SpacesMoveThePenWhileBytesAbove127AndEmptyStringsDoNothing) {
    EXPECT_EQ(litCount(drawn("   ", 25.0f, 1.0f)), 0);
    EXPECT_EQ(drawn(" V", 25.0f, 1.0f), drawn("V", 25.0f + advance(' '), 1.0f));
    EXPECT_EQ(drawn("\xE9\x80V", 25.0f, 1.0f), drawn("V", 25.0f, 1.0f));
    // Even an empty string leaves blending on and the text program current.
    glDisable(GL_BLEND);
    glUseProgram(0);
    EXPECT_EQ(litCount(drawn("", 25.0f, 1.0f)), 0);
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    GLint program = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    EXPECT_EQ(static_cast<GLuint>(program), textProgram->program);
}

TEST_F(TextOverlay, PixelsTakeTheTextColourInsideTheStringsBoxOnly) {
    const Pixels pixels =
        render([] { renderText(*textProgram, "Hg", 25.0f, baseline, 1.0f, {1, 0, 0}); });
    const auto& H = glyphTable.at('H');
    const auto& g = glyphTable.at('g');
    const int left = 25 + std::min(H.bearing.x, 0);
    const int right = 25 + int(advance('H')) + g.bearing.x + g.size.x;
    const int bottom = int(baseline) - std::max(H.size.y - H.bearing.y, g.size.y - g.bearing.y);
    const int top = int(baseline) + std::max(H.bearing.y, g.bearing.y);

    int fullRed = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* p = &pixels[(y * width + x) * 4];
            if (!p[0] && !p[1] && !p[2]) continue;
            EXPECT_EQ(p[1], 0) << x << "," << y;
            EXPECT_EQ(p[2], 0) << x << "," << y;
            EXPECT_TRUE(x >= left && x < right && y >= bottom && y < top)
                << "stray pixel at " << x << "," << y;
            fullRed += p[0] == 255;
        }
    }
    EXPECT_GT(fullRed, 10);
    // The descender of g reaches below the baseline.
    EXPECT_LT(litRows(pixels).first, int(baseline));
}

TEST_F(TextOverlay, AFontThatCannotBeOpenedLeavesNoGlyphsAndDrawsNothing) {
    testing::internal::CaptureStdout();
    tarn::gfx::loadFont("/nonexistent/arial.ttf");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "ERROR::FREETYPE: Failed to load font\n");
    EXPECT_TRUE(glyphTable.empty());
    EXPECT_EQ(litCount(drawn("Still running", 25.0f, 1.0f)), 0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
