// The light-shaft pass on a real GL context with the generated lake: shafts over the
// plain picture when the sun is in view, the plain picture itself when it is not.
#include "render/light_shafts.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

#include "app/camera.h"
#include "app/frame_loop.h"
#include "app/globals.h"
#include "app/startup.h"
#include "app/world.h"
#include "render/scene_pass.h"
#include "render/shadow_map.h"
#include "scene/frustum.h"
#include "scene/scenery.h"
#include "support/gl_context.h"

using namespace tarn;

namespace {

// Whatever size the program's one window was opened with (the first GL test decides).
int width = 0;
int height = 0;

using Image = std::vector<unsigned char>;  // RGB rows, bottom row first

class LightShaftFrame : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(chdir(TARNHOLLOW_RUN_DIR), 0);
        app::window = test::ensureGLContext(320, 240);
        glfwGetFramebufferSize(app::window, &width, &height);
        app::screenWidth = width;
        app::screenHeight = height;
        app::aspectRatio = float(width) / float(height);
        testing::internal::CaptureStdout();
        app::init();
        render::createShadowMap();
        render::createLightShafts(width, height);
        startupOutput = testing::internal::GetCapturedStdout();
        glClearColor(0.325f, 0.325f, 0.65f, 0.3f);
        glViewport(0, 0, width, height);

        app::waterSurface = std::make_unique<scene::WaterSurface>(glm::mat4(1.0f), 4);
        app::sky = std::make_unique<scene::Sky>(glm::mat4(1.0f), 9);
        app::sun = std::make_unique<scene::Sun>(glm::mat4(1.0f), app::lightPos, 4);
    }
    void TearDown() override {
        render::releaseLightShafts();
        render::releaseLightShafts();  // cleanup may come round again
        app::cleanup();
        app::cameraPos = {0.0f, 0.0f, 3.0f};
        app::cameraFront = {0.0f, 0.0f, -1.0f};
    }

    static Image readWindow() {
        Image rgb(size_t(width) * height * 3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadBuffer(GL_BACK);
        glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
        return rgb;
    }

    // The frame as the game draws it, then the same scene once more through the pass.
    static std::pair<Image, Image> plainAndShafted() {
        app::renderWorld();
        const Image plain = readWindow();
        render::beginLightShaftPass(width, height);
        render::renderScene(*app::megaShader);
        const glm::vec3 sun = app::sun->position();
        render::finishLightShaftPass(*app::lightshaftShader, sun, app::viewProjectionMatrix,
                                     render::isSunInView(scene::viewFrustum, sun));
        return {plain, readWindow()};
    }

    std::string startupOutput;
};

// Mean brightening per channel, and the largest brightening and darkening of any channel,
// in 8-bit steps.
struct Change {
    double meanGain = 0.0;
    int largestGain = 0;
    int largestLoss = 0;
};
Change changeBetween(const Image& before, const Image& after) {
    Change change;
    for (size_t i = 0; i < before.size(); ++i) {
        const int d = int(after[i]) - int(before[i]);
        change.meanGain += d;
        change.largestGain = std::max(change.largestGain, d);
        change.largestLoss = std::max(change.largestLoss, -d);
    }
    change.meanGain /= double(before.size());
    return change;
}

// Drawing the same scene twice differs by a step here and there where the water surface
// blends; nothing else may change the picture when no shafts fall.
constexpr int redrawNoise = 2;

void lookAt(const glm::vec3& eye, const glm::vec3& target) {
    app::cameraPos = eye;
    app::cameraFront = glm::normalize(target - eye);
}

}  // namespace

TEST_F(LightShaftFrame, ShaftsBrightenTheViewOfTheSunAndLeaveOtherViewsAlone) {
    EXPECT_NE(startupOutput.find("Lightshaft framebuffer complete.\n"), std::string::npos);

    lookAt({6.0f, 2.0f, 8.0f}, app::lightPos);
    const auto [sunPlain, sunShafts] = plainAndShafted();
    const render::ScreenPoint sunOnScreen =
        render::projectToScreen(app::viewProjectionMatrix, app::sun->position());
    EXPECT_TRUE(sunOnScreen.inFront);
    EXPECT_NEAR(glm::distance(sunOnScreen.position, glm::vec2(0.5f)), 0.0f, 1e-4f);
    const Change towardsSun = changeBetween(sunPlain, sunShafts);
    EXPECT_GT(towardsSun.meanGain, 3.0);
    EXPECT_GT(towardsSun.largestGain, 60);
    EXPECT_LE(towardsSun.largestLoss, redrawNoise) << "shafts only ever add light";

    lookAt({6.0f, 2.0f, 8.0f}, {-10.0f, -6.0f, 8.0f});
    const auto [awayPlain, awayShafts] = plainAndShafted();
    EXPECT_FALSE(render::isSunInView(scene::viewFrustum, app::sun->position()));
    const Change away = changeBetween(awayPlain, awayShafts);
    EXPECT_LE(std::max(away.largestGain, away.largestLoss), redrawNoise);
}

TEST_F(LightShaftFrame, ASunCloseBehindTheCameraCastsNoMirroredShafts) {
    // Within its 8-unit sphere the sun still touches the frustum, but it is behind the eye,
    // where its projection lands mirrored on the screen.
    const glm::vec3 eye(0.0f, 14.0f, 3.0f);
    lookAt(eye, eye + (eye - app::lightPos));
    plainAndShafted();
    ASSERT_TRUE(render::isSunInView(scene::viewFrustum, app::sun->position()));
    EXPECT_FALSE(render::projectToScreen(app::viewProjectionMatrix, app::sun->position()).inFront);
    GLint sunInFrustrum = -1;
    glGetUniformiv(app::lightshaftShader->program,
                   glGetUniformLocation(app::lightshaftShader->program, "sunInFrustrum"),
                   &sunInFrustrum);
    EXPECT_EQ(sunInFrustrum, 0);
}
