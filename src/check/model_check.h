// What a model file must pass before Assimp, whose readers trust damaged counts, sees it.
#pragma once

#include <cstddef>
#include <string>

namespace tarn::check {

// Limits on what the game takes from a model file. Its own largest, the lakebed, has 66049
// vertices, 393216 face corners and triangles only; the duck nests 9 elements deep.
struct ModelLimits {
    std::size_t fileBytes = 64u << 20;
    std::size_t vertices = 2'000'000;     // each of v, vt and vn
    std::size_t faceCorners = 2'000'000;  // over all faces, lines and points
    std::size_t cornersPerFace = 256;     // triangulating a polygon costs its corners squared
    int elementDepth = 64;                // COLLADA: XML nesting, and nodes after instancing
    std::size_t expandedNodes = 10'000;   // COLLADA: nodes and geometry once instanced
};

// Why the file must not reach Assimp, in a few words; empty when it may. Chosen by the
// name's extension, as Assimp chooses its reader for the one reader that claims it, whatever
// the file starts with: ".obj" and ".dae" (any case) are checked, other files and missing
// ones are left to Assimp.
std::string modelFileProblem(const std::string& path, const ModelLimits& limits = {});

// Shared by the two format checks: the text for a count over its limit.
std::string tooMany(std::size_t count, const char* what, std::size_t limit);

// The checks for each format, on the bytes of a file.
std::string objProblem(const std::string& bytes, const ModelLimits& limits = {});
std::string colladaProblem(const std::string& bytes, const ModelLimits& limits = {});

}  // namespace tarn::check
