// The GL error report line, for named and unnamed codes.
#include <gtest/gtest.h>

#include "render/gl_error.h"

using tarn::render::formatGLError;

TEST(GLErrorReport, KnownCodesAreNamedAfterThePlaceAndLabel) {
    EXPECT_EQ(formatGLError("scene", 12, "draw", 0x0500), "[E] scene:12 <<draw>> GL_INVALID_ENUM");
    EXPECT_EQ(formatGLError("fbo.cpp", 7, "attach", 0x0506),
              "[E] fbo.cpp:7 <<attach>> GL_INVALID_FRAMEBUFFER_OPERATION");
    EXPECT_EQ(formatGLError("a", 1, "b", 0x0505), "[E] a:1 <<b>> GL_OUT_OF_MEMORY");
}

TEST(GLErrorReport, UnknownCodeGivesOnlyThePlaceAndLabel) {
    EXPECT_EQ(formatGLError("scene", 12, "draw", 0x0507), "[E] scene:12: draw");
    EXPECT_EQ(formatGLError("scene", 3, "x", 0x9999), "[E] scene:3: x");
}
