// Keys pressed in a running game on a real GL context: the settings keys change what the
// next frames do, and the sonar key pings at the distance of its own frame.
#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/camera.h"
#include "app/game_state.h"
#include "app/globals.h"
#include "app/rules.h"
#include "app/textures.h"
#include "base/tables.h"
#include "render/light_shafts.h"
#include "sound/sound.h"
#include "support/lake_game.h"

using namespace tarn;

namespace {

using RunningGame = test::LakeGame;

GLint mossMinFilter() {
    glActiveTexture(GL_TEXTURE0 + units::moss);
    GLint filter = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filter);
    return filter;
}

}  // namespace

TEST_F(RunningGame, F2F5AndF7ChangeTheFramesThatFollow) {
    testing::internal::CaptureStdout();
    input.keys = {GLFW_KEY_F2};
    frame(1.1);
    input.keys = {};
    framesUntil(2.0);
    const std::string statistics = testing::internal::GetCapturedStdout();
    EXPECT_NE(statistics.find("Activated frametime output.\n"), std::string::npos);
    EXPECT_NE(statistics.find("\nFrustrum active? 1, objects total: 30, objects drawn: "),
              std::string::npos)
        << statistics;

    const GLint mipmapped = mossMinFilter();
    input.keys = {GLFW_KEY_F5};
    frame(2.1);
    input.keys = {};
    frame(2.2);
    EXPECT_NE(mossMinFilter(), mipmapped) << "F5 left the textures' sampling as it was";

    // The light-shaft image joins its unit with the first frame that draws it.
    EXPECT_NE(test::textureOnUnit(units::lightshaft), render::lightshaftTexture);
    framesUntil(2.7);  // past the settings keys' half-second guard
    input.keys = {GLFW_KEY_F7};
    frame(2.8);
    input.keys = {};
    frame(2.9);
    EXPECT_EQ(test::textureOnUnit(units::lightshaft), render::lightshaftTexture)
        << "no light-shaft pass";
}

TEST_F(RunningGame, TheSonarKeyPingsAtTheDistanceOfItsOwnFrame) {
    setenv("ALSOFT_DRIVERS", "null", 1);
    app::soundEngine = sound::createEngine();
    ASSERT_NE(app::soundEngine, nullptr);
    framesUntil(1.5);
    input.keys = {GLFW_KEY_O};
    const float before = app::game.distanceToMorvie;
    frame(1.6);  // the creature swims a tenth of a unit in this frame
    ASSERT_NE(app::game.distanceToMorvie, before);
    EXPECT_EQ(sound::newestSoundVolume(app::soundEngine),
              app::sonarVolume(app::game.distanceToMorvie));
}
