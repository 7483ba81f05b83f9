// The text overlay where the gallery's pictures cannot show it: characters the font lacks,
// runs of spaces and the empty string. Where glyphs land, their size and their colour are
// the gallery's to judge, since every view carries both lines of the overlay.
#include "gfx/text.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <glm/gtc/matrix_transform.hpp>

#include "support/gl_context.h"
#include "support/lake_game.h"

using namespace tarn;

TEST(TextOverlay, SpacesMoveThePenWhileBytesAbove127AndEmptyStringsDrawNothing) {
    int width = 0, height = 0;
    glfwGetFramebufferSize(test::ensureGLContext(), &width, &height);
    gfx::Shader program(TARNHOLLOW_SOURCE_DIR "/Shader/text.vert",
                        TARNHOLLOW_SOURCE_DIR "/Shader/text.frag");
    program.use();
    program.setUniform("projection", glm::ortho(0.0f, float(width), 0.0f, float(height)));
    gfx::loadFont("/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf");
    const auto drawn = [&](const char* text) {
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        gfx::renderText(program, text, 4.0f, 8.0f, 0.5f, glm::vec3(1.0f));
        return test::WindowImage::fromBackBuffer(width, height);
    };
    const auto lit = [](const test::WindowImage& image) {
        return image.count(0, 0, image.width, image.height,
                           [](int r, int g, int b) { return r + g + b > 0; });
    };

    const test::WindowImage v = drawn("V");
    EXPECT_GT(lit(v), 20);
    EXPECT_EQ(lit(drawn("   ")), 0);
    EXPECT_FALSE(drawn("  V").rgb == v.rgb) << "spaces left the pen where it was";
    EXPECT_TRUE(drawn("\xE9\x80V").rgb == v.rgb) << "bytes above 127 drew or moved the pen";
    // Even an empty string leaves blending on and the text program current.
    glDisable(GL_BLEND);
    glUseProgram(0);
    EXPECT_EQ(lit(drawn("")), 0);
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    GLint current = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(static_cast<GLuint>(current), program.program);
    gfx::releaseFont();
}
