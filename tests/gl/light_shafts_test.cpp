// The light-shaft pass on a real GL context with the generated lake: shafts over the
// plain picture when the sun is in view, the plain picture itself when it is not.
#include "render/light_shafts.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "app/camera.h"
#include "app/frame_loop.h"
#include "app/game_state.h"
#include "app/globals.h"
#include "scene/frustum.h"
#include "support/lake_game.h"

using namespace tarn;

namespace {

using Image = std::vector<std::uint8_t>;

class LightShaftFrame : public test::LakeGame {
protected:
    // The world drawn as the game draws it, without and then with the light shafts.
    std::pair<Image, Image> plainAndShafted() {
        app::settings.lightshaftsEnabled = false;
        app::renderWorld();
        const Image plain = readWindow().rgb;
        app::settings.lightshaftsEnabled = true;
        app::renderWorld();
        return {plain, readWindow().rgb};
    }
    void lookAt(const glm::vec3& eye, const glm::vec3& target) {
        app::cameraPos = eye;
        app::cameraFront = glm::normalize(target - eye);
    }
};

// Mean brightening per channel, and the largest brightening and darkening of any channel,
// in 8-bit steps.
struct Change {
    double meanGain = 0.0;
    int largestGain = 0;
    double brightenedShare = 0.0;  // of channels, by more than the redraw noise
    double darkenedShare = 0.0;
};

// Drawing the same scene twice, once through the light-shaft texture, differs by a few
// steps at a handful of pixels where the water surface blends.
constexpr int redrawNoise = 2;
constexpr double redrawShare = 0.001;

Change changeBetween(const Image& before, const Image& after) {
    Change change;
    for (size_t i = 0; i < before.size(); ++i) {
        const int d = int(after[i]) - int(before[i]);
        change.meanGain += d;
        change.largestGain = std::max(change.largestGain, d);
        if (d > redrawNoise) change.brightenedShare += 1.0;
        if (d < -redrawNoise) change.darkenedShare += 1.0;
    }
    change.meanGain /= double(before.size());
    change.brightenedShare /= double(before.size());
    change.darkenedShare /= double(before.size());
    return change;
}

}  // namespace

TEST_F(LightShaftFrame, ShaftsBrightenTheViewOfTheSunAndLeaveOtherViewsAlone) {
    EXPECT_NE(startupOutput.find("Lightshaft framebuffer complete.\n"), std::string::npos);

    lookAt({6.0f, 2.0f, 8.0f}, app::lightPos);
    const auto [sunPlain, sunShafts] = plainAndShafted();
    test::WindowImage{width, height, sunShafts}.savePng(test::screenshotPath("light-shafts.png"));
    const render::ScreenPoint sunOnScreen =
        render::projectToScreen(app::viewProjectionMatrix, app::world.sun->position());
    EXPECT_TRUE(sunOnScreen.inFront);
    EXPECT_NEAR(glm::distance(sunOnScreen.position, glm::vec2(0.5f)), 0.0f, 1e-4f);
    const Change towardsSun = changeBetween(sunPlain, sunShafts);
    EXPECT_GT(towardsSun.meanGain, 3.0);
    EXPECT_GT(towardsSun.largestGain, 60);
    EXPECT_LT(towardsSun.darkenedShare, redrawShare) << "shafts only ever add light";

    lookAt({6.0f, 2.0f, 8.0f}, {-10.0f, -6.0f, 8.0f});
    const auto [awayPlain, awayShafts] = plainAndShafted();
    EXPECT_FALSE(render::isSunInView(scene::viewFrustum, app::world.sun->position()));
    const Change away = changeBetween(awayPlain, awayShafts);
    EXPECT_LT(away.brightenedShare + away.darkenedShare, redrawShare);
    EXPECT_LT(std::abs(away.meanGain), 0.05);
}

TEST_F(LightShaftFrame, ASunCloseBehindTheCameraCastsNoMirroredShafts) {
    // Within its 8-unit sphere the sun still touches the frustum, but it is behind the eye,
    // where its projection lands mirrored on the screen.
    const glm::vec3 eye(0.0f, 14.0f, 3.0f);
    lookAt(eye, eye + (eye - app::lightPos));
    plainAndShafted();
    ASSERT_TRUE(render::isSunInView(scene::viewFrustum, app::world.sun->position()));
    EXPECT_FALSE(render::projectToScreen(app::viewProjectionMatrix, app::world.sun->position()).inFront);
    GLint sunInFrustrum = -1;
    glGetUniformiv(app::lightshaftShader->program,
                   glGetUniformLocation(app::lightshaftShader->program, "sunInFrustrum"),
                   &sunInFrustrum);
    EXPECT_EQ(sunInFrustrum, 0);
}
