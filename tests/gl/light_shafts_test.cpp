// The light-shaft pass on a real GL context with the generated lake, where the sun is not
// ahead of the eye.
#include "render/light_shafts.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <tuple>
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

// Drawing the same scene twice, once through the light-shaft texture, differs by a few
// steps at a handful of pixels where the water surface blends.
constexpr int redrawNoise = 2;
constexpr double redrawShare = 0.001;

}  // namespace

// With the sun out of view, or close behind the eye where its projection would land
// mirrored on the screen, the shafts leave the picture as it was. How they look with the
// sun in view is the gallery's to judge.
TEST_F(LightShaftFrame, WithoutTheSunAheadThePictureIsLeftAsItWas) {
    const glm::vec3 eye(0.0f, 14.0f, 3.0f);
    const std::tuple<glm::vec3, glm::vec3, bool> views[] = {
        {{6.0f, 2.0f, 8.0f}, {-10.0f, -6.0f, 8.0f}, false},
        // Within its 8-unit sphere the sun still touches the frustum.
        {eye, eye + (eye - app::lightPos), true},
    };
    for (const auto& [from, to, touchesFrustum] : views) {
        lookAt(from, to);
        const auto [plain, shafted] = plainAndShafted();
        ASSERT_EQ(render::isSunInView(scene::viewFrustum, app::world.sun->position()),
                  touchesFrustum);
        double changed = 0.0, gain = 0.0;
        for (size_t i = 0; i < plain.size(); ++i) {
            const int d = int(shafted[i]) - int(plain[i]);
            changed += std::abs(d) > redrawNoise;
            gain += d;
        }
        EXPECT_LT(changed / double(plain.size()), redrawShare)
            << "sun in frustum " << touchesFrustum;
        EXPECT_LT(std::abs(gain) / double(plain.size()), 0.05)
            << "sun in frustum " << touchesFrustum;
    }
}
