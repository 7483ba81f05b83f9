// The player's free-flying camera: its state, the movement and look stages of the input
// step, and the view and projection matrices built from it.
#pragma once

#include <glm/glm.hpp>


namespace tarn::app {

extern glm::vec3 cameraPos;
extern glm::vec3 cameraFront;  // unit viewing direction, recomputed by every look stage
extern glm::vec3 cameraUp;     // world up; never changes
extern float cameraYaw;        // degrees; not wrapped
extern float cameraPitch;      // degrees, kept within [-89, 89]
extern float lastX;            // cursor of the previous look stage, screen pixels
extern float lastY;
extern bool firstMouse;  // the next look stage only takes the cursor as reference

// Written once per frame by the scene pass.
extern glm::mat4 viewMatrix;
extern glm::mat4 projectionMatrix;
extern glm::mat4 viewProjectionMatrix;

constexpr float cameraSpeed = 2.5f;        // world units per second
// From the floor, the square's edge and the water surface.
constexpr float cameraClearance = 0.5f;
// The longest piece of a step tested on its own, world units.
constexpr float maxCameraPiece = 0.25f;
constexpr float fieldOfViewY = 1.0471976f;  // 60 degrees
// Well inside the clearance: the near plane's half-diagonal is 0.1 at 4:3 and 0.15 at 21:9,
// so the floor, a wall or the surface the camera keeps its distance from is never cut away.
constexpr float nearPlane = 0.1f;
constexpr float farPlane = 30.0f;

// Swims by the action record's move: forward along the view (so looking up climbs), to
// the right across it, at cameraSpeed for a full move whatever its direction, so a
// diagonal is no faster than one key. The step goes through stepCamera.
void moveCamera(glm::vec2 move, float deltaTime);

// The camera's way from `from` by `move`, in pieces of at most maxCameraPiece: it ends at
// the last piece whose end keeps the camera's clearance, so it stops short of a ridge,
// the floor, the square's edge or the surface instead of passing them.
glm::vec3 stepCamera(glm::vec3 from, glm::vec3 move);

// Turns the view by degrees: x yaw to the right, y pitch up, pitch kept within 89 degrees.
void turnCamera(glm::vec2 degrees);

// Places the camera at eye looking at target, with yaw and pitch to match, so the next look
// stage keeps that view; its cursor position becomes the new look reference.
void placeCamera(const glm::vec3& eye, const glm::vec3& target);

// Puts the camera back where a new process starts it; the next look stage takes the
// cursor as its reference.
void resetCamera();

// Puts the look reference at the window centre (integer halves), before the first frame.
void resetLookReference(int windowWidth, int windowHeight);

glm::mat4 buildViewMatrix();
glm::mat4 buildProjectionMatrix(float aspect);

}  // namespace tarn::app
