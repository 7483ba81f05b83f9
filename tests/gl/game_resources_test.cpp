// What start-up leaves behind and cleanup takes away, on a real GL context: every uniform
// the game sets present in its program, and a cleanup that releases everything and may run
// twice. Which texture sits on which unit, the gallery's pictures show.
#include <GL/glew.h>
#include <gtest/gtest.h>

#include "app/game_state.h"
#include "app/globals.h"
#include "app/startup.h"
#include "app/textures.h"
#include "render/light_shafts.h"
#include "render/shadow_map.h"
#include "support/lake_game.h"

using namespace tarn;

namespace {

using GameResources = test::LakeGame;

}  // namespace

TEST_F(GameResources, EveryUniformTheGameSetsExistsInItsProgram) {
    gfx::Shader::collectMissingUniforms = true;
    // A frame of each kind: plain, light shafts, depth view, and one with an end banner.
    frame(1.1);
    app::settings.lightshaftsEnabled = true;
    frame(1.2);
    app::settings.showDepthMap = true;
    frame(1.3);
    app::settings.showDepthMap = false;
    input.keys = {app::keys::m, app::keys::p};
    frame(1.4);
    gfx::Shader::collectMissingUniforms = false;

    // The depth program gets the main program's names and ignores them, which also shows
    // the collection at work.
    EXPECT_TRUE(app::shadowDepthShader->missingUniforms.count("material_kd"));
    // Start-up hands the main program an identity "projection" and every pass a "view";
    // our programs take the product "view_project" instead.
    const std::set<std::string> unusedByDesign = {"projection", "view"};
    std::set<std::string> missing = app::megaShader->missingUniforms;
    for (const std::string& name : unusedByDesign) missing.erase(name);
    EXPECT_EQ(missing, std::set<std::string>{}) << "the main program lacks these";
    EXPECT_EQ(app::lightshaftShader->missingUniforms, std::set<std::string>{});
    EXPECT_TRUE(app::depthShader->missingUniforms.empty());
    EXPECT_TRUE(app::textShader->missingUniforms.empty());
}

TEST_F(GameResources, CleanupReleasesEverythingAndMayRunTwice) {
    const GLuint moss = app::mossTexture->id;
    const GLuint caustics = app::causticsTextures[5]->id;
    const GLuint program = app::megaShader->program;
    const GLuint shadowFbo = render::shadowMapFBO;
    const GLuint shaftFbo = render::lightshaftFBO;
    const GLuint cardBuffer = app::world.bonusCard->positionBuffer;
    app::cleanup();
    EXPECT_FALSE(glIsTexture(moss));
    EXPECT_FALSE(glIsTexture(caustics));
    EXPECT_FALSE(glIsProgram(program));
    EXPECT_FALSE(glIsFramebuffer(shadowFbo));
    EXPECT_FALSE(glIsFramebuffer(shaftFbo));
    EXPECT_FALSE(glIsBuffer(cardBuffer));
    EXPECT_FALSE(app::world.morvie || app::world.fishes[0] || app::world.waterSurface);
    EXPECT_FALSE(app::shadowDepthShader || app::textShader);
    app::cleanup();  // the fixture's own cleanup runs a third time
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
