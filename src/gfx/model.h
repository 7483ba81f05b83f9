// Model files imported with Assimp: the geometry of every mesh, uploaded once.
#pragma once

#include <string>
#include <vector>

#include "gfx/mesh.h"

struct aiNode;
struct aiScene;
struct aiMesh;

namespace tarn::gfx {

class Shader;

// Geometry only: materials, textures and node transforms of the file are not used, so
// every mesh keeps its file coordinates and the owner places it with its model matrix.
class Model {
public:
    // Loads at once. An import failure prints "ERROR::ASSIMP:: " and Assimp's text on
    // standard output and leaves a model without meshes, which draws nothing. So does a
    // file the model checks refuse, with "Refused model file", its path and the reason;
    // Assimp never reads it.
    explicit Model(const std::string& path);
    Model(Model&&) noexcept = default;
    Model& operator=(Model&&) noexcept = default;

    // Draws every mesh in traversal order. The shader is not touched: the caller has made
    // it current and set its uniforms.
    void draw(const Shader& shader) const;
    void draw() const;

    // Parents before children, depth first, each node's meshes in its own order.
    std::vector<Mesh> meshes;

private:
    void loadModel(const std::string& path);
    void processNode(const aiNode* node, const aiScene* scene);
};

// An imported scene the game cannot use: none at all, one Assimp marks incomplete (with
// or without other flags), or one without a root node.
bool isImportFailure(const aiScene* scene);

// The vertices and triangle indices of one Assimp mesh. Missing normals become zero and
// missing texture coordinates (0, 0); faces that are not triangles, or that name a vertex
// the mesh does not have, are left out. Equal vertices are shared and the lists ordered for
// the renderer's vertex cache (shareAndOrderVertices).
Mesh processMesh(const aiMesh* mesh);

// Merges vertices equal in every byte and reorders the triangles and then the vertices for
// reuse of shaded vertices and sequential fetching. Draws the same triangles as before, each
// with its winding kept. Leaves lists that are not whole triangles as they are.
void shareAndOrderVertices(std::vector<Vertex>& vertices, std::vector<unsigned int>& indices);

}  // namespace tarn::gfx
