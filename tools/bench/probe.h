// The bare required work of a frame, to measure the game against: the 4096 by 4096 depth
// pass covering the whole map once, one full-window pass shaded by the game's own program
// (textured, lit, caustics, shadow-sampling, fogged), and with light shafts the game's
// post effect. It borrows the game's programs and framebuffers, so it needs a started game.
#pragma once

#include <glm/glm.hpp>

#include "gfx/mesh.h"

namespace tarn::bench {

// What one probe frame copies from the game frame it is compared with.
struct ProbeFrame {
    glm::vec3 cameraPosition{0.0f};
    glm::mat4 view{1.0f};
    glm::mat4 viewProjection{1.0f};
    float fieldOfViewY = 1.0f;
    float aspect = 1.0f;
    bool lightShafts = false;
    glm::vec3 sunPosition{0.0f};
    bool sunInView = false;
};

class RequiredWorkProbe {
public:
    RequiredWorkProbe();

    // Draws the frame into the window's back buffer; the caller presents it. Reports its
    // passes to the installed pass timer as the game's frame does.
    void render(const ProbeFrame& frame, int windowWidth, int windowHeight);

private:
    void renderShadowPass();
    void renderWindowPass(const ProbeFrame& frame, int windowWidth, int windowHeight);

    gfx::Mesh quad_;  // the unit square in the xy plane, facing +z
};

}  // namespace tarn::bench
