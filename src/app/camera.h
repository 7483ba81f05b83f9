// The player's camera: where it is, where it looks, and the mouse-look reference.
#pragma once

#include <glm/glm.hpp>

namespace tarn::app {

extern glm::vec3 cameraPos;
extern glm::vec3 cameraFront;  // unit length
extern glm::vec3 cameraUp;
extern float cameraYaw;    // degrees
extern float cameraPitch;  // degrees
// The cursor position of the previous mouse-look step, in window pixels.
extern float lastX;
extern float lastY;
extern bool firstMouse;

}  // namespace tarn::app
