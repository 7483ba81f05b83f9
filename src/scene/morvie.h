// Morvie, the lake creature the player hunts: it swims forward on its own, changing its
// turn and roll at random, and reacts to the spotlight through its material.
#pragma once

#include "scene/scene_object.h"

namespace tarn::scene {

class Morvie final : public SceneObject {
public:
    // Loads its model, then takes the next five values of the shared random source: the
    // first course, its turn and roll rates and its start place.
    Morvie(const glm::mat4& startModelMatrix, int textureUnit);
    // The same with a model already loaded (or none: it then moves but draws nothing).
    Morvie(const glm::mat4& startModelMatrix, int textureUnit,
           std::unique_ptr<gfx::Model> meshModel);

    // Swims 1 unit per second along its own x axis; outside its box it picks no new
    // course, so that it keeps the heading it was turned back on.
    void update(float dt) override;
    void draw(gfx::Shader& shader) override { drawWithMaterial(shader); }

    // Back to a fresh start from startModelMatrix, with the next five values of the shared
    // random source, as the constructor takes them; the material as the light left it off.
    void placeAnew(const glm::mat4& startModelMatrix);

    // The spotlight's effect: (0.9, 0.9) when it goes on, (0.3, 0.3) when it goes off.
    void setMaterial(float kd, float ks);

    float courseTimer = 0.0f;     // seconds since the course was picked
    float courseDuration = 0.0f;  // seconds the course lasts
    float turnRate = 0.0f;        // tenths of a degree per second about its own y axis
    float rollRate = 0.0f;        // tenths of a degree per second about its own x axis
};

}  // namespace tarn::scene
