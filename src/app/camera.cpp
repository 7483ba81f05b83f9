// Storage of the camera state, with the values the game starts from.
#include "app/camera.h"

namespace tarn::app {

glm::vec3 cameraPos(0.0f, 0.0f, 3.0f);
glm::vec3 cameraFront(0.0f, 0.0f, -1.0f);
glm::vec3 cameraUp(0.0f, 1.0f, 0.0f);
float cameraYaw = -90.0f;
float cameraPitch = 0.0f;
float lastX = 0.0f;
float lastY = 0.0f;
bool firstMouse = true;

}  // namespace tarn::app
