// The twelve fish of the lake: a body that swims on random courses and a tail fin that
// wags behind it, both drawn from models the fish share.
#pragma once

#include <memory>

#include "base/tables.h"
#include "scene/scene_object.h"

namespace tarn::scene {

// The four fish meshes, loaded once for all twelve fish. Must outlive every fish built
// from it, since the fish keep plain pointers into it.
struct FishModels {
    gfx::Model smallBody{paths::fishSmallModel};
    gfx::Model longBody{paths::fishLongModel};
    gfx::Model higherFin{paths::finHigherModel};
    gfx::Model longThinFin{paths::finLongThinModel};
};

class Fish final : public SceneObject {
public:
    // Takes seven values from the shared random source. The models are borrowed; either
    // may be null, and the fish then draws nothing of that part but swims all the same.
    // Kind 2 is the long fish, whose fin hangs farther back and swings less.
    Fish(const glm::mat4& startModelMatrix, const gfx::Model* body, const gfx::Model* fin,
         int textureUnit, int fishKind);

    void update(float dt) override;
    // Back to a fresh start from startModelMatrix with the next values of the shared random
    // source, in the constructor's order.
    void placeAnew(const glm::mat4& startModelMatrix);
    // Body and fin share the material and texture; only the model matrix changes.
    void draw(gfx::Shader& shader) override;

    // Keeps the stroke period tied to the speed: faster fish wag faster.
    void setSpeed(float newSpeed);

    const gfx::Model* bodyModel;
    const gfx::Model* finModel;
    float courseTimer = 0.0f;
    float courseDuration = 0.0f;
    float turnRate = 0.0f;  // degrees; a twentieth of it per second about local y
    float rollRate = 0.0f;  // degrees; a twentieth of it per second about local x
    float speed = 0.0f;     // world units per second along local +x
    glm::mat4 finMatrix{1.0f};
    float finPhase = 0.0f;   // seconds into the current stroke
    float finPeriod = 0.0f;  // seconds per stroke
    bool finDirection = true;
    int finAngle = 20;  // degrees reached at the end of a stroke
    int kind;
};

// The lake's population by index 0 to 11: small fish in two colourings (0-3 on texture
// unit 5, 4-7 on unit 6) and long fish (8-11, unit 7), all starting from the identity.
// With no models the fish are built without meshes.
std::unique_ptr<Fish> createLakeFish(int index, const FishModels* models);

}  // namespace tarn::scene
