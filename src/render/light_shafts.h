// Light shafts: the lit scene is drawn into an off-screen texture, and a full-window
// post effect streaks light from the sun across it onto the window.
#pragma once

#include <GL/glew.h>

#include <glm/glm.hpp>

#include "base/tables.h"
#include "gfx/shader.h"
#include "scene/frustum.h"

namespace tarn::render {

constexpr int lightshaftTextureUnit = units::lightshaft;
// The sun counts as in view while this much around it is: shafts from a sun just past the
// edge of the screen still reach into the picture.
constexpr float sunShaftRadius = 8.0f;

extern GLuint lightshaftFBO;
extern GLuint lightshaftTexture;  // on texture unit 10, sampled as "firstPass"
extern GLuint lightshaftDepthBuffer;

// Creates the framebuffer with a colour texture and a depth-stencil buffer of the window's
// size, and prints "Lightshaft framebuffer complete.". Stops the game when the framebuffer
// is incomplete. Leaves texture unit 10 active and the window's framebuffer bound.
void createLightShafts(int width, int height);
// New storage of the given size for the texture and the depth buffer, which keep their
// names and their place in the framebuffer. Does nothing before createLightShafts.
void resizeLightShafts(int width, int height);
// Deletes the framebuffer, texture and depth buffer; safe to call twice.
void releaseLightShafts();

// Whether the sun's shaft sphere is at least partly in the frustum.
bool isSunInView(const scene::Frustum& frustum, const glm::vec3& sunPosition);

// Where a world point lands on the screen, in texture coordinates ((0, 0) lower left).
// inFront is false for points at or behind the eye plane; their position is then only
// kept finite, not meaningful.
struct ScreenPoint {
    glm::vec2 position{0.5f};
    bool inFront = false;
};
ScreenPoint projectToScreen(const glm::mat4& viewProjection, const glm::vec3& worldPoint);

// The pass, split around the scene draw:
//   beginLightShaftPass(w, h);  renderScene(megaShader);
//   finishLightShaftPass(...);  // with the view-projection the scene pass just built
// The first binds the light-shaft framebuffer with the window's viewport and clears it.
void beginLightShaftPass(int width, int height);
// Back on the window: composes the final image over all of it from the texture
// with the light-shaft program, which this makes current. Shafts appear only while
// sunInView holds and the sun is in front of the camera.
void finishLightShaftPass(gfx::Shader& program, const glm::vec3& sunPosition,
                          const glm::mat4& viewProjection, bool sunInView);

}  // namespace tarn::render
