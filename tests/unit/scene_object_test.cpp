// The scene objects' shared rules: the swimming box and turning around.
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

TEST(SceneObjectTurnAround, KeepsThePlaceAndReversesTheHeading) {
    glm::mat4 m = glm::translate(glm::mat4(1.0f), glm::vec3(10.0f, 3.0f, 5.0f));
    m = glm::rotate(m, 0.4f, glm::vec3(0.0f, 1.0f, 0.0f));
    m = glm::rotate(m, 0.2f, glm::vec3(1.0f, 0.0f, 0.0f));  // a pitched swimmer
    StillObject object(m);
    const glm::vec3 heading(m * glm::vec4(0.0f, 0.0f, 1.0f, 0.0f));
    const glm::vec3 up(m * glm::vec4(0.0f, 1.0f, 0.0f, 0.0f));

    object.turnAround();
    const glm::vec3 newHeading(object.modelMatrix * glm::vec4(0.0f, 0.0f, 1.0f, 0.0f));
    const glm::vec3 newUp(object.modelMatrix * glm::vec4(0.0f, 1.0f, 0.0f, 0.0f));
    EXPECT_EQ(object.position(), glm::vec3(10.0f, 3.0f, 5.0f));
    EXPECT_LT(glm::length(newHeading + heading), 1e-5f);
    EXPECT_LT(glm::length(newUp - up), 1e-5f);

    object.turnAround();
    EXPECT_LT(glm::length(glm::vec3(object.modelMatrix * glm::vec4(0, 0, 1, 0)) - heading), 1e-5f);
}
