// The scene objects' swimming box: where its limits lie.
#include "scene/scene_object.h"

#include <gtest/gtest.h>

#include <glm/gtc/matrix_transform.hpp>

using tarn::scene::SceneObject;

namespace {

class StillObject : public SceneObject {
public:
    using SceneObject::SceneObject;
    void update(float) override {}
    void draw(tarn::gfx::Shader&) override {}
};

bool outsideAt(float x, float y, float z) {
    return StillObject(glm::translate(glm::mat4(1.0f), glm::vec3(x, y, z))).isOutsideBounds();
}

}  // namespace

TEST(SceneObjectBounds, TheLimitsThemselvesAreInsideAndJustBeyondIsOutside) {
    EXPECT_FALSE(outsideAt(55.0f, 0.0f, 0.0f));
    EXPECT_FALSE(outsideAt(-55.0f, 55.0f, 15.0f));
    EXPECT_FALSE(outsideAt(0.0f, -55.0f, 7.0f));
    EXPECT_TRUE(outsideAt(0.0f, 0.0f, -0.001f));
    EXPECT_TRUE(outsideAt(0.0f, 0.0f, 15.001f));
    EXPECT_TRUE(outsideAt(55.001f, 0.0f, 1.0f));
    EXPECT_TRUE(outsideAt(0.0f, -55.001f, 1.0f));
}
