// The view frustum's sphere and box tests for the game's projection, without a window.
// Cameras turned every other way are the gallery's: a plane built wrong for them drops
// objects from its pictures.
#include "scene/frustum.h"

#include <gtest/gtest.h>

using tarn::scene::Frustum;

namespace {

// The game's projection: 60 degrees, near 1, far 30; the camera at the origin looking
// down -z with y up.
Frustum lookingDownMinusZ() {
    Frustum frustum;
    frustum.setProjection(1.0471976f, 4.0f / 3.0f, 1.0f, 30.0f);
    frustum.setCamera(glm::vec3(0.0f), glm::vec3(0.0f, 0.0f, -1.0f), glm::vec3(0.0f, 1.0f, 0.0f));
    return frustum;
}

}  // namespace

TEST(ViewFrustum, SpheresAreOutsideOnlyWhenWhollyBeyondAPlane) {
    const Frustum frustum = lookingDownMinusZ();
    EXPECT_EQ(frustum.testSphere({0.0f, 0.0f, 5.0f}, 1.0f), Frustum::Outside) << "behind";
    EXPECT_EQ(frustum.testSphere({0.0f, 0.0f, -32.0f}, 1.0f), Frustum::Outside) << "too far";
    EXPECT_EQ(frustum.testSphere({0.0f, 0.0f, -10.0f}, 1.0f), Frustum::Inside);
    // Touching the near plane (z = -1) or the far plane (z = -30) from outside.
    EXPECT_EQ(frustum.testSphere({0.0f, 0.0f, 0.0f}, 1.0f), Frustum::Intersects);
    EXPECT_EQ(frustum.testSphere({0.0f, 0.0f, -31.0f}, 1.0f), Frustum::Intersects);
    EXPECT_EQ(frustum.testSphere({0.0f, 0.0f, -31.0f}, 0.999f), Frustum::Outside);
    // Centred on the top plane; the right one is the photo rule's test.
    const glm::vec3 onTopPlane = 0.5f * (frustum.nearTopLeft + frustum.farTopRight);
    EXPECT_EQ(frustum.testSphere(onTopPlane, 0.5f), Frustum::Intersects);
}

// The lakebed's pieces are boxes: one the eye stands in, or one reaching into the view from
// the side, must never be left out; wholly behind, beyond the far plane or off to one side
// they may.
TEST(ViewFrustum, BoxesAreOutsideOnlyWhenWhollyBeyondOnePlane) {
    const Frustum frustum = lookingDownMinusZ();
    EXPECT_FALSE(frustum.isBoxOutside({-3.0f, -3.0f, -3.0f}, {3.0f, 3.0f, 3.0f})) << "around the eye";
    EXPECT_FALSE(frustum.isBoxOutside({4.0f, -1.0f, -12.0f}, {40.0f, 1.0f, -8.0f}))
        << "poking in from the right";
    EXPECT_FALSE(frustum.isBoxOutside({-1.0f, -1.0f, -40.0f}, {1.0f, 1.0f, -29.0f}))
        << "straddling the far plane";
    EXPECT_TRUE(frustum.isBoxOutside({-5.0f, -5.0f, 2.0f}, {5.0f, 5.0f, 8.0f})) << "behind";
    EXPECT_TRUE(frustum.isBoxOutside({-5.0f, -5.0f, -50.0f}, {5.0f, 5.0f, -31.0f})) << "too far";
    EXPECT_TRUE(frustum.isBoxOutside({20.0f, -1.0f, -12.0f}, {30.0f, 1.0f, -8.0f}))
        << "off to the right";
}
