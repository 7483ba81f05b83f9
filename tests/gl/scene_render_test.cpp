// The world's frame on a real GL context with the generated lake: the shadow map, the
// blending of the water, culling and the object counts of both passes. The depth view is
// one of the gallery's pictures.
#include <GL/glew.h>
#include <gtest/gtest.h>

#include "app/camera.h"
#include "app/frame_loop.h"
#include "app/game_state.h"
#include "app/globals.h"
#include "render/scene_pass.h"
#include "render/shadow_map.h"
#include "scene/height_map.h"
#include "support/lake_game.h"

using namespace tarn;

namespace {

using LakeFrame = test::LakeGame;

// The shadow map as GL holds it, texel by texel.
std::vector<float> readShadowMap() {
    std::vector<float> depth(size_t(render::shadowMapSize) * render::shadowMapSize);
    // llvmpipe may hand out a depth texture before every tile drawn into it has landed.
    glFinish();
    glActiveTexture(GL_TEXTURE15);  // a unit of its own, so the shadow map stays on 8
    glBindTexture(GL_TEXTURE_2D, render::shadowMapTexture);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT, GL_FLOAT, depth.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    return depth;
}

}  // namespace

TEST_F(LakeFrame, ShadowMapFromTheLakebedsCacheEqualsAWholePassWithAndWithoutWireframe) {
    // The frame's map against a whole pass over the same lake, the creature, the fish and
    // the ducks having moved since the cache was drawn.
    const auto expectWholePassMap = [&](const char* when) {
        const std::vector<float> cached = readShadowMap();
        render::stillShadowCacheEnabled = false;
        app::renderWorld();
        render::stillShadowCacheEnabled = true;
        const std::vector<float> whole = readShadowMap();
        size_t differ = 0;
        for (size_t i = 0; i < whole.size(); ++i) differ += cached[i] != whole[i];
        EXPECT_EQ(differ, 0u) << when;
    };
    const auto pressF3 = [&] {
        framesUntil(lastTime + 0.6);  // past the settings keys' half-second debounce
        input.keys = {app::keys::f3};
        frame(lastTime + 0.1);
        input.keys.clear();
    };
    framesUntil(lastTime + 0.5);
    expectWholePassMap("filled");
    pressF3();
    ASSERT_TRUE(app::settings.wireframe);
    framesUntil(lastTime + 0.3);
    expectWholePassMap("wireframe");
    pressF3();
    frame(lastTime + 0.1);  // the key takes effect after the frame that reads it
    expectWholePassMap("filled again");
}

TEST_F(LakeFrame, ShadowMapHoldsTheLakebedAndReadsFarthestOutsideTheLightsBox) {
    app::renderWorld();
    // The light looks down from y = 20 onto a floor between about -16 and +11.
    const size_t side = render::shadowMapSize;
    const float centre = readShadowMap()[side / 2 * side + side / 2];
    EXPECT_GT(centre, 0.2f);
    EXPECT_LT(centre, 0.99f);
    // Beyond its edges the map reads its border, the farthest depth: nothing there is shaded.
    glBindTexture(GL_TEXTURE_2D, render::shadowMapTexture);
    GLint wrap[2] = {};
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrap[0]);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &wrap[1]);
    GLfloat border[4] = {};
    glGetTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_BORDER_COLOR, border);
    EXPECT_EQ(wrap[0], GL_CLAMP_TO_BORDER);
    EXPECT_EQ(wrap[1], GL_CLAMP_TO_BORDER);
    EXPECT_EQ(border[0], 1.0f);
}

TEST_F(LakeFrame, ShadowPassHoldsEveryObjectAndTheWindowPassCullsWhatIsOutOfView) {
    // All 30: lakebed, creature, 12 fish, 12 ducks, card, sky, sun and water surface. From
    // the start the creature, the ducks above and the card are out of view.
    app::renderWorld();
    EXPECT_EQ(app::lastPassCounts.objectsTotal, 30);
    EXPECT_LT(app::lastPassCounts.objectsDrawn, 20);
    EXPECT_GE(app::lastPassCounts.objectsDrawn, 3) << "lakebed, sky and water are never culled";

    // The shadow pass leaves out the sky and the water and counts the sun without drawing it.
    const render::PassCounts shadow = render::renderShadowPass(
        app::world, *app::shadowDepthShader, {}, app::lightPos, true, false, {width, height});
    EXPECT_EQ(shadow.objectsTotal, 28);
    EXPECT_EQ(shadow.objectsDrawn, 27);

    app::game.bonusFound = true;
    app::settings.frustumCullingEnabled = false;
    app::renderWorld();
    EXPECT_EQ(app::lastPassCounts.objectsTotal, 29) << "a found card is still counted";
    EXPECT_EQ(app::lastPassCounts.objectsDrawn, 29);
}

TEST_F(LakeFrame, OnlyTheWaterSurfaceBlendsAndF9MakesItOpaque) {
    auto frameWith = [&](bool blending) {
        app::settings.blendingEnabled = blending;
        app::renderWorld();
        EXPECT_FALSE(glIsEnabled(GL_BLEND)) << "blending left on after the pass";
        return readWindow();
    };
    // Looking down, no water in view: blending changes nothing.
    app::cameraFront = glm::normalize(glm::vec3(0.0f, -1.0f, -0.3f));
    EXPECT_EQ(frameWith(true).rgb, frameWith(false).rgb);
    // Looking up at the surface: the sky shows through it only while it blends.
    app::cameraPos = {0.0f, 8.0f, 3.0f};
    app::cameraFront = glm::normalize(glm::vec3(0.3f, 1.0f, 0.0f));
    EXPECT_GT(frameWith(true).changedShare(frameWith(false)), 0.25);
}

TEST_F(LakeFrame, AtItsLowestTheCameraSeesTheFloorInEveryRowBelowTheHorizon) {
    const glm::vec3 ground(0.0f, float(scene::heightMap->smoothHeight(0.0, 3.0)), 3.0f);
    app::cameraPos = ground + glm::vec3(0.0f, app::cameraClearance, 0.0f);
    ASSERT_TRUE(scene::isPositionFree(app::cameraPos, app::cameraClearance));
    // Level, the rows more than a tenth of the window below the horizon meet the floor
    // within 2.5 units; looking 30 degrees down, all but the top fifth do.
    for (const auto& [pitch, floorRows] : {std::pair{0.0f, 0.4f}, {-30.0f, 0.8f}}) {
        const float radians = glm::radians(pitch);
        app::cameraFront = {0.0f, std::sin(radians), -std::cos(radians)};
        app::renderWorld();
        const test::WindowImage window = readWindow();
        int emptyRows = 0;
        for (int y = 0; y < int(height * floorRows); ++y)
            emptyRows += window.count(0, y, width, y + 1, test::isWater) > width / 20;
        EXPECT_EQ(emptyRows, 0) << "looking " << pitch << " degrees";
        if (emptyRows) window.savePng(test::screenshotPath("floor-cut-away.png"));
    }
}
