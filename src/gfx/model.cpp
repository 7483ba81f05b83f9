// Assimp import and the depth-first walk that turns a model file into meshes.
#include "gfx/model.h"

#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <assimp/Importer.hpp>
#include <iostream>
#include <utility>

#include "gfx/model_check.h"

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
    if (const std::string problem = modelFileProblem(path); !problem.empty()) {
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

    std::vector<unsigned int> indices;
    for (unsigned int f = 0; f < mesh->mNumFaces; ++f) {
        const aiFace& face = mesh->mFaces[f];
        indices.insert(indices.end(), face.mIndices, face.mIndices + face.mNumIndices);
    }
    return Mesh(std::move(vertices), std::move(indices));
}

}  // namespace tarn::gfx
