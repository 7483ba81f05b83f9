// The view frustum of the camera and its bounding-sphere test, used for culling, for the
// sun's light shafts and for deciding whether the creature is in the photo.
#pragma once

#include <array>
#include <glm/glm.hpp>

namespace tarn::scene {

struct Plane {
    glm::vec3 normal{0.0f};  // unit length, pointing into the frustum
    glm::vec3 point{0.0f};
    float d = 0.0f;  // -(normal . point)

    // The points go round the plane so that the normal, (c - b) x (a - b), faces inwards.
    void setFromPoints(const glm::vec3& a, const glm::vec3& b, const glm::vec3& c);
    // Positive on the inner side.
    float signedDistance(const glm::vec3& q) const;
};

class Frustum {
public:
    enum Result { Outside = 0, Intersects = 1, Inside = 2 };
    enum PlaneIndex { Top, Bottom, Left, Right, Near, Far };

    // fovY in radians. Call once before the first setCamera.
    void setProjection(float fovY, float aspect, float nearDistance, float farDistance);
    // Rebuilds corners and planes. The eye must differ from the target, and the viewing
    // direction must not be parallel to up; the camera's pitch limit keeps it so.
    void setCamera(const glm::vec3& eye, const glm::vec3& target, const glm::vec3& up);
    // A sphere touching a plane from outside exactly still counts as Intersects.
    Result testSphere(const glm::vec3& centre, float radius) const;
    // Whether the axis-aligned box [lo, hi] lies wholly outside one of the planes. A box
    // that is not outside may still miss the frustum near its edges, never the reverse.
    bool isBoxOutside(const glm::vec3& lo, const glm::vec3& hi) const;

    std::array<Plane, 6> planes{};  // indexed by PlaneIndex
    glm::vec3 nearTopLeft{0.0f}, nearTopRight{0.0f}, nearBottomLeft{0.0f}, nearBottomRight{0.0f};
    glm::vec3 farTopLeft{0.0f}, farTopRight{0.0f}, farBottomLeft{0.0f}, farBottomRight{0.0f};
    float nearDistance = 0.0f;
    float farDistance = 0.0f;
    float aspect = 0.0f;
    float fovY = 0.0f;
    float tanHalfFov = 0.0f;
    float nearHalfWidth = 0.0f;
    float nearHalfHeight = 0.0f;
    float farHalfWidth = 0.0f;
    float farHalfHeight = 0.0f;
};

// The one frustum of the game: projection set at start-up, camera set every frame.
extern Frustum viewFrustum;

}  // namespace tarn::scene
