// Base of everything drawn in the lake world: a model matrix, material values and the
// texture unit of the colour texture, advanced by update and drawn by draw.
#pragma once

#include <glm/glm.hpp>
#include <memory>

#include "gfx/model.h"
#include "gfx/shader.h"

namespace tarn::scene {

class SceneObject {
public:
    explicit SceneObject(const glm::mat4& startModelMatrix);
    virtual ~SceneObject() = default;
    SceneObject(const SceneObject&) = delete;
    SceneObject& operator=(const SceneObject&) = delete;

    // Advances the object by dt seconds.
    virtual void update(float dt) = 0;
    // Draws with the given program, which the caller has made current.
    virtual void draw(gfx::Shader& shader) = 0;

    // The common draw: material, texture unit and model matrix by uniform name, then the
    // owned model. Names the program lacks are ignored, so the shadow pass can use it too.
    void drawWithMaterial(gfx::Shader& shader) const;
    // What the common draw sends before it draws.
    void sendMaterialAndPlace(gfx::Shader& shader) const;

    // The fourth column of the model matrix: where the object is in the world.
    glm::vec3 position() const;
    // Outside the swimming box: x or y beyond +-boundsHalfSize, z outside [0, boundsMaxZ].
    // Positions exactly on a limit are inside.
    bool isOutsideBounds() const;
    // How far outside the swimming box: 0 inside it and on its limits.
    float depthOutOfBounds() const;
    // Half a turn about the object's own up axis: same place, opposite heading.
    void turnAround();
    // Turns around when the object is farther out of its limits than it was at the last
    // call, depth 0 being inside them. Half a turn sends it back the way it came, so the
    // next calls find it less far out and leave it on its way back: neither a second limit
    // nor a later frame can undo the turn, and it cannot dither at a limit.
    void turnBackIfStrayingFurther(float strayDepth);

    float lastStrayDepth = 0.0f;  // depth at the last call of turnBackIfStrayingFurther

    glm::mat4 modelMatrix;
    int colorTextureUnit = 0;
    int materialShininess = 0;
    float materialKd = 0.0f;
    float materialKs = 0.0f;
    float boundsHalfSize = 55.0f;
    float boundsMaxZ = 15.0f;

protected:
    // Makes the model matrix's axes square and of one length again. A course made of many
    // small rotations gathers rounding into a shear that stretches the body; callers that
    // rotate every frame end their update with this. Position, heading and scale stay.
    void keepAxesOrthonormal();

    // Drawn by drawWithMaterial; may stay empty for objects that draw themselves.
    std::unique_ptr<gfx::Model> model;

private:
    float axisLength_ = 0.0f;  // the axes' common length, taken at the first of those calls
};

}  // namespace tarn::scene
