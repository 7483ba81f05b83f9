// The bonus SD card: a thin box with its own buffers that sinks through the lake, rests on
// the floor for ten seconds and comes back at a new random place.
#pragma once

#include <GL/glew.h>

#include <optional>

#include "scene/scene_object.h"

namespace tarn::scene {

class BonusObject final : public SceneObject {
public:
    // Builds the box and its vertex array with the attribute locations the program gives
    // for "position", "normal" and "uv". Needs the GL context.
    BonusObject(const glm::mat4& startModelMatrix, const gfx::Shader& program);
    // The card's motion alone, without geometry: draws nothing, needs no context.
    explicit BonusObject(const glm::mat4& startModelMatrix);
    ~BonusObject() override;

    // Sinks 1 unit per second down to -3, then rests; after 10 s of rest it reappears at
    // height 5 above a whole-numbered x and z from -5 to 4, drawn from the C library's rand.
    void update(float dt) override;
    // One indexed draw. Sets no uniform: the scene pass sets the texture unit and "model".
    void draw(gfx::Shader& shader) override;

    // The one offset into the lake, (-1, 5, 0) in its own frame, before its first draw.
    // Does nothing the second time.
    void placeOnce();
    // Back where a fresh game has it: above the start, sinking from its first draw on.
    void restart();

    // Where the last update put the card back, as (x, z); empty when it did not.
    std::optional<glm::vec2> respawnedAt;
    double respawnTimer = 0.0;  // seconds the card has lain below -3

    GLuint vertexArray = 0;
    GLuint positionBuffer = 0;
    GLuint normalBuffer = 0;
    GLuint uvBuffer = 0;
    GLuint indexBuffer = 0;

private:
    void createBuffers(GLuint program);
    bool bonusPlaced = false;
};

}  // namespace tarn::scene
