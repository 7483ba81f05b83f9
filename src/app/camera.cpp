// Camera movement, mouse look and the camera's matrices.
#include "app/camera.h"

#include <cmath>
#include <glm/gtc/matrix_transform.hpp>

#include "scene/height_map.h"

namespace tarn::app {

namespace {

// Where every game starts: at (0, 0, 3) looking down -z.
const glm::vec3 startPos(0.0f, 0.0f, 3.0f);
const glm::vec3 startFront(0.0f, 0.0f, -1.0f);
constexpr float startYaw = -90.0f;
constexpr float startPitch = 0.0f;

}  // namespace

glm::vec3 cameraPos = startPos;
glm::vec3 cameraFront = startFront;
glm::vec3 cameraUp(0.0f, 1.0f, 0.0f);
float cameraYaw = startYaw;
float cameraPitch = startPitch;
float lastX = 400.0f;
float lastY = 300.0f;
bool firstMouse = true;

glm::mat4 viewMatrix(1.0f);
glm::mat4 projectionMatrix(1.0f);
glm::mat4 viewProjectionMatrix(1.0f);

namespace {

constexpr float degreesToRadians = 0.017453292f;

}  // namespace

void moveCamera(glm::vec2 move, float deltaTime) {
    glm::vec3 direction = move.y * cameraFront;
    // Looking straight up or down has no right; the pitch limit keeps play away from it.
    const glm::vec3 across = glm::cross(cameraFront, cameraUp);
    if (move.x != 0.0f && glm::length(across) > 0.0f) direction += move.x * glm::normalize(across);
    if (glm::length(direction) > 1.0f) direction = glm::normalize(direction);
    cameraPos = stepCamera(cameraPos, cameraSpeed * deltaTime * direction);
}

glm::vec3 stepCamera(glm::vec3 from, glm::vec3 move) {
    const float length = glm::length(move);
    if (!(length > 0.0f)) return from;
    // A ridge thinner than the step would pass unseen between two free end points. Over a
    // piece this short the floor cannot rise by the clearance and fall again unless it climbs
    // 4 units for one across: only the sharpest rock edges of the lake do, by a few tenths.
    const int pieces = static_cast<int>(std::ceil(length / maxCameraPiece));
    glm::vec3 reached = from;
    for (int piece = 1; piece <= pieces; ++piece) {
        const glm::vec3 next =
            piece == pieces ? from + move : from + move * (float(piece) / float(pieces));
        if (!scene::isPositionFree(next, cameraClearance)) break;
        reached = next;
    }
    return reached;
}

void turnCamera(glm::vec2 degrees) {
    cameraYaw += degrees.x;
    cameraPitch += degrees.y;
    if (cameraPitch > 89.0f) cameraPitch = 89.0f;
    if (cameraPitch < -89.0f) cameraPitch = -89.0f;

    const float yaw = cameraYaw * degreesToRadians;
    const float pitch = cameraPitch * degreesToRadians;
    cameraFront = glm::normalize(glm::vec3(std::cos(yaw) * std::cos(pitch), std::sin(pitch),
                                           std::sin(yaw) * std::cos(pitch)));
}

void placeCamera(const glm::vec3& eye, const glm::vec3& target) {
    const glm::vec3 d = glm::normalize(target - eye);
    cameraPos = eye;
    cameraYaw = std::atan2(d.z, d.x) / degreesToRadians;
    cameraPitch = std::asin(d.y) / degreesToRadians;
    cameraFront = d;
    firstMouse = true;
}

void resetCamera() {
    cameraPos = startPos;
    cameraFront = startFront;
    cameraYaw = startYaw;
    cameraPitch = startPitch;
    firstMouse = true;
}

void resetLookReference(int windowWidth, int windowHeight) {
    lastX = static_cast<float>(windowWidth / 2);
    lastY = static_cast<float>(windowHeight / 2);
}

glm::mat4 buildViewMatrix() { return glm::lookAt(cameraPos, cameraPos + cameraFront, cameraUp); }

glm::mat4 buildProjectionMatrix(float aspect) {
    return glm::perspective(fieldOfViewY, aspect, nearPlane, farPlane);
}

}  // namespace tarn::app
