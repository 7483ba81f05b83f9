// Triangle meshes of the asset generator: swept tubes and flat fins built from outlines,
// smooth outward normals, and writers for Wavefront OBJ and COLLADA text.
#pragma once

#include <cstdint>
#include <functional>
#include <glm/glm.hpp>
#include <string>
#include <vector>

namespace tarn::assets {

struct Mesh {
    std::string name;
    std::vector<glm::vec3> positions;
    std::vector<glm::vec3> normals;
    std::vector<glm::vec2> uvs;          // v upwards: v = 1 is the top row of the texture
    std::vector<std::uint32_t> indices;  // three per triangle

    std::uint32_t addVertex(glm::vec3 p, glm::vec3 n, glm::vec2 uv);
};

// A tube swept along a spine: at spine parameter t in [0, 1] the cross-section is an
// ellipse with half-axes radiusUp (along the frame's up) and radiusSide. The frame's side
// axis is the fixed `sideAxis` made perpendicular to the spine, which suits spines that lie
// in a plane. A radius of 0 at an end closes the tube in a point.
struct Sweep {
    std::function<glm::vec3(double t)> spine;
    std::function<double(double t)> radiusUp;
    std::function<double(double t)> radiusSide;
    glm::vec3 sideAxis{0, 0, 1};
    int segments = 32;  // along the spine
    int sides = 24;     // around it
    // Texture coordinates from t and the angle around the spine (0 on top, pi underneath).
    std::function<glm::vec2(double t, double angle)> uv;
};
void addSweep(Mesh& mesh, const Sweep& sweep);

// A thin plate: the outline (x, y, in either turning order, star-shaped around `centre`) extruded
// by `thickness` along z, closed at the rim. uv maps an outline point to texture coordinates.
void addPlate(Mesh& mesh, std::vector<glm::vec2> outline, glm::vec2 centre, float thickness,
              const std::function<glm::vec2(glm::vec2)>& uv);

// Applies a transform to the positions (and the matching one to the normals) from `first` on.
void transformMesh(Mesh& mesh, const glm::mat4& transform, std::uint32_t first = 0);

// Merges triangles wherever the surface moves by no more than maxError (model units), and
// drops the vertices no triangle uses any more. Open edges stay where they are; vertices
// that share a place but not their texture coordinates stay together.
void simplify(Mesh& mesh, float maxError);
// The same merge, as the triangles it keeps over the mesh's own vertex list.
std::vector<std::uint32_t> simplifiedIndices(const Mesh& mesh, float maxError);

// Turns every triangle so its winding agrees with its vertex normals (counter-clockwise
// seen from outside).
void orientTriangles(Mesh& mesh);

// One object per mesh; the v/vt/vn indices coincide.
bool writeObj(const std::vector<Mesh>& meshes, const std::string& path, const std::string& header);
// COLLADA 1.4.1, y up, metres, one node per mesh with no transformation of its own; the
// meshes share one material whose diffuse colour comes from `textureFile`.
bool writeCollada(const std::vector<Mesh>& meshes, const std::string& path,
                  const std::string& textureFile);

}  // namespace tarn::assets
