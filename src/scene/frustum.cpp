// Frustum corners and planes from the camera, and the plane-by-plane sphere test.
#include "scene/frustum.h"

#include <cmath>

namespace tarn::scene {

Frustum viewFrustum;

void Plane::setFromPoints(const glm::vec3& a, const glm::vec3& b, const glm::vec3& c) {
    normal = glm::normalize(glm::cross(c - b, a - b));
    point = b;
    d = -glm::dot(normal, point);
}

float Plane::signedDistance(const glm::vec3& q) const { return d + glm::dot(normal, q); }

void Frustum::setProjection(float fovYRadians, float aspectRatio, float nearDist, float farDist) {
    fovY = fovYRadians;
    aspect = aspectRatio;
    nearDistance = nearDist;
    farDistance = farDist;
    tanHalfFov = static_cast<float>(std::tan(static_cast<double>(fovY) * 0.5));
    nearHalfHeight = nearDistance * tanHalfFov;
    nearHalfWidth = nearHalfHeight * aspect;
    farHalfHeight = farDistance * tanHalfFov;
    farHalfWidth = farHalfHeight * aspect;
}

void Frustum::setCamera(const glm::vec3& eye, const glm::vec3& target, const glm::vec3& up) {
    // Camera axes; the eye looks along -Z.
    const glm::vec3 Z = glm::normalize(eye - target);
    const glm::vec3 X = glm::normalize(glm::cross(up, Z));
    const glm::vec3 Y = glm::cross(Z, X);

    const glm::vec3 nearCentre = eye - Z * nearDistance;
    const glm::vec3 farCentre = eye - Z * farDistance;
    nearTopLeft = nearCentre + Y * nearHalfHeight - X * nearHalfWidth;
    nearTopRight = nearCentre + Y * nearHalfHeight + X * nearHalfWidth;
    nearBottomLeft = nearCentre - Y * nearHalfHeight - X * nearHalfWidth;
    nearBottomRight = nearCentre - Y * nearHalfHeight + X * nearHalfWidth;
    farTopLeft = farCentre + Y * farHalfHeight - X * farHalfWidth;
    farTopRight = farCentre + Y * farHalfHeight + X * farHalfWidth;
    farBottomLeft = farCentre - Y * farHalfHeight - X * farHalfWidth;
    farBottomRight = farCentre - Y * farHalfHeight + X * farHalfWidth;

    planes[Top].setFromPoints(nearTopRight, nearTopLeft, farTopLeft);
    planes[Bottom].setFromPoints(nearBottomLeft, nearBottomRight, farBottomRight);
    planes[Left].setFromPoints(nearTopLeft, nearBottomLeft, farBottomLeft);
    planes[Right].setFromPoints(nearBottomRight, nearTopRight, farBottomRight);
    planes[Near].setFromPoints(nearTopLeft, nearTopRight, nearBottomRight);
    planes[Far].setFromPoints(farTopRight, farTopLeft, farBottomLeft);
}

Frustum::Result Frustum::testSphere(const glm::vec3& centre, float radius) const {
    Result result = Inside;
    for (const Plane& plane : planes) {
        const float distance = plane.signedDistance(centre);
        if (distance < -radius) return Outside;
        if (distance < radius) result = Intersects;
    }
    return result;
}

bool Frustum::isBoxOutside(const glm::vec3& lo, const glm::vec3& hi) const {
    for (const Plane& plane : planes) {
        // The corner farthest along the normal: if even that is outside, all of them are.
        const glm::vec3 corner(plane.normal.x >= 0.0f ? hi.x : lo.x,
                               plane.normal.y >= 0.0f ? hi.y : lo.y,
                               plane.normal.z >= 0.0f ? hi.z : lo.z);
        if (plane.signedDistance(corner) < 0.0f) return true;
    }
    return false;
}

}  // namespace tarn::scene
