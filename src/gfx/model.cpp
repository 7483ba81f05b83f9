// Assimp import and the depth-first walk that turns a model file into meshes.
#include "gfx/model.h"

#include <algorithm>

#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <meshoptimizer.h>

#include <assimp/Importer.hpp>
#include <iostream>
#include <utility>

#include "check/model_check.h"

namespace tarn::gfx {

Model::Model(const std::string& path) { loadModel(path); }

void Model::draw(const Shader& /*shader*/) const { draw(); }

void Model::draw() const {
    for (const Mesh& mesh : meshes) mesh.draw();
}

bool isImportFailure(const aiScene* scene) {
    return !scene || (scene->mFlags & AI_SCENE_FLAGS_INCOMPLETE) || !scene->mRootNode;
}

void Model::loadModel(const std::string& path) {
    // Assimp trusts the counts in a file; damaged ones never reach it.
    if (const std::string problem = check::modelFileProblem(path); !problem.empty()) {
        std::cout << "ERROR::ASSIMP:: Refused model file \"" << path << "\": " << problem
                  << std::endl;
        return;
    }
    // Only what the game's files need: polygons as triangles, and v counted from the top
    // the way GL samples images uploaded top row first.
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(path, aiProcess_Triangulate | aiProcess_FlipUVs);
    if (isImportFailure(scene)) {
        std::cout << "ERROR::ASSIMP:: " << importer.GetErrorString() << std::endl;
        return;
    }
    processNode(scene->mRootNode, scene);
    // Assimp takes a file of nothing but comments or lines as a scene without faces: a
    // model the game cannot show is named like any other that failed.
    const bool anyTriangle = std::any_of(meshes.begin(), meshes.end(),
                                         [](const Mesh& mesh) { return !mesh.indices.empty(); });
    if (!anyTriangle) {
        std::cout << "ERROR::ASSIMP:: Model file \"" << path << "\" holds no triangles"
                  << std::endl;
    }
}

void Model::processNode(const aiNode* node, const aiScene* scene) {
    for (unsigned int i = 0; i < node->mNumMeshes; ++i) {
        meshes.push_back(processMesh(scene->mMeshes[node->mMeshes[i]]));
    }
    for (unsigned int i = 0; i < node->mNumChildren; ++i) {
        processNode(node->mChildren[i], scene);
    }
}

Mesh processMesh(const aiMesh* mesh) {
    std::vector<Vertex> vertices;
    vertices.reserve(mesh->mNumVertices);
    const aiVector3D* uvs = mesh->mTextureCoords[0];
    for (unsigned int i = 0; i < mesh->mNumVertices; ++i) {
        Vertex vertex{};
        const aiVector3D& p = mesh->mVertices[i];
        vertex.Position = glm::vec3(p.x, p.y, p.z);
        if (mesh->mNormals) {
            const aiVector3D& n = mesh->mNormals[i];
            vertex.Normal = glm::vec3(n.x, n.y, n.z);
        }
        if (uvs) vertex.TexCoords = glm::vec2(uvs[i].x, uvs[i].y);
        vertices.push_back(vertex);
    }

    // Only whole triangles within the vertex list: a damaged file can leave points, lines
    // or stray indices, which a triangle draw would misread or read past the buffer.
    std::vector<unsigned int> indices;
    for (unsigned int f = 0; f < mesh->mNumFaces; ++f) {
        const aiFace& face = mesh->mFaces[f];
        if (face.mNumIndices != 3) continue;
        const unsigned int* corner = face.mIndices;
        if (corner[0] >= mesh->mNumVertices || corner[1] >= mesh->mNumVertices ||
            corner[2] >= mesh->mNumVertices) {
            continue;
        }
        indices.insert(indices.end(), corner, corner + 3);
    }
    shareAndOrderVertices(vertices, indices);
    return Mesh(std::move(vertices), std::move(indices));
}

void shareAndOrderVertices(std::vector<Vertex>& vertices, std::vector<unsigned int>& indices) {
    if (vertices.empty() || indices.empty() || indices.size() % 3 != 0) return;
    // The importer gives every face corner a vertex of its own; equal corners become one, so
    // the renderer shades each surface point once rather than once per triangle using it.
    std::vector<unsigned int> remap(vertices.size());
    const size_t shared = meshopt_generateVertexRemap(remap.data(), indices.data(), indices.size(),
                                                      vertices.data(), vertices.size(),
                                                      sizeof(Vertex));
    std::vector<Vertex> welded(shared);
    meshopt_remapVertexBuffer(welded.data(), vertices.data(), vertices.size(), sizeof(Vertex),
                              remap.data());
    meshopt_remapIndexBuffer(indices.data(), indices.data(), indices.size(), remap.data());
    // Triangles that reuse recently shaded vertices, and vertices stored in the order the
    // triangles first use them.
    meshopt_optimizeVertexCache(indices.data(), indices.data(), indices.size(), shared);
    vertices.resize(shared);
    meshopt_optimizeVertexFetch(vertices.data(), indices.data(), indices.size(), welded.data(),
                                shared, sizeof(Vertex));
}

}  // namespace tarn::gfx
