// checkGLError against real GL errors.
#include <GL/glew.h>
#include <gtest/gtest.h>

#include "render/gl_error.h"
#include "support/gl_context.h"

using tarn::render::checkGLError;

TEST(GLErrorCheck, ReportsOnePendingErrorPerCall) {
    tarn::test::ensureGLContext();
    glGetError();

    testing::internal::CaptureStderr();
    glEnable(0xFFFF);                           // GL_INVALID_ENUM
    glBindBuffer(GL_ARRAY_BUFFER, 0x7FFFFFFF);  // GL_INVALID_OPERATION: a name never generated
    EXPECT_FALSE(checkGLError("scene", 12, "draw"));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "[E] scene:12 <<draw>> GL_INVALID_ENUM\n");

    // Mesa keeps only the first error; a driver that keeps both hands the next call the second.
    testing::internal::CaptureStderr();
    const bool secondDropped = checkGLError("scene", 13, "draw");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              secondDropped ? "" : "[E] scene:13 <<draw>> GL_INVALID_OPERATION\n");
    testing::internal::CaptureStderr();
    EXPECT_TRUE(checkGLError("scene", 14, "draw"));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}
