// checkGLError against real GL errors.
#include <GL/glew.h>
#include <gtest/gtest.h>

#include "render/gl_error.h"
#include "support/gl_context.h"

using tarn::render::checkGLError;
using tarn::render::formatGLError;

TEST(GLErrorCheck, ReportsOnePendingErrorPerCall) {
    tarn::test::ensureGLContext();
    glGetError();
    EXPECT_TRUE(checkGLError("scene", 12, "draw"));

    testing::internal::CaptureStderr();
    glEnable(0xFFFF);                // GL_INVALID_ENUM
    glBindBuffer(0xFFFF, 0);         // a second error: some drivers keep only the first
    EXPECT_FALSE(checkGLError("scene", 12, "draw"));
    const std::string first = testing::internal::GetCapturedStderr();
    EXPECT_EQ(first, "[E] scene:12 <<draw>> GL_INVALID_ENUM\n");

    while (glGetError() != GL_NO_ERROR) {
    }
    testing::internal::CaptureStderr();
    EXPECT_TRUE(checkGLError("scene", 13, "draw"));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");

    // A code without a name still tells where it was asked.
    EXPECT_EQ(formatGLError("scene", 3, "x", 0x9999), "[E] scene:3: x");
}
