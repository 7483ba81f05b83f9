// The model check chosen by file name, and the OBJ pre-scan that counts what Assimp builds.
#include "check/model_check.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>

namespace tarn::check {

namespace {

std::string lowerExtension(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v'; }

}  // namespace

std::string tooMany(std::size_t count, const char* what, std::size_t limit) {
    return std::to_string(count) + " " + what + ", more than the " + std::to_string(limit) +
           " the game takes";
}

// Assimp picks a statement's kind by its first letter alone ("f", "l" and "p" all read
// corners after the first word; "v" then a blank, "t" or "n"), and a backslash anywhere in
// a line joins the next line to it, so one face may span many lines. This counts the same
// way; where it cannot tell, it counts more rather than less.
std::string objProblem(const std::string& bytes, const ModelLimits& limits) {
    std::size_t positions = 0, coordinates = 0, normals = 0, corners = 0;
    const char* at = bytes.data();
    const char* const end = at + bytes.size();
    while (at < end) {
        while (at < end && (isBlank(*at) || *at == '\0' || *at == '\n')) ++at;
        if (at == end) break;
        const char kind = *at;
        const char second = at + 1 < end ? at[1] : '\n';

        std::size_t words = 0;
        bool inWord = false;
        bool continued = false;
        for (; at < end; ++at) {
            const char c = *at;
            if (c == '\n') {
                if (!continued) break;
                continued = false;
            } else if (c == '\\') {
                continued = true;
            } else if (isBlank(c) || c == '\0') {
                inWord = false;
            } else if (!inWord) {
                inWord = true;
                ++words;
            }
        }

        if (kind == 'v') {
            std::size_t& count = second == 't' ? coordinates : second == 'n' ? normals : positions;
            if (++count > limits.vertices) return tooMany(count, "vertex entries", limits.vertices);
        } else if (kind == 'f' || kind == 'l' || kind == 'p') {
            if (kind == 'f' && words - 1 > limits.cornersPerFace)
                return "a face has " + tooMany(words - 1, "corners", limits.cornersPerFace);
            corners += words - 1;
            if (corners > limits.faceCorners)
                return tooMany(corners, "face corners", limits.faceCorners);
        }
    }
    return {};
}

std::string modelFileProblem(const std::string& path, const ModelLimits& limits) {
    const std::string extension = lowerExtension(path);
    if (extension != ".obj" && extension != ".dae") return {};
    std::ifstream file(path, std::ios::binary);
    if (!file) return {};
    file.seekg(0, std::ios::end);
    const auto size = static_cast<std::size_t>(std::max<std::streamoff>(file.tellg(), 0));
    if (size > limits.fileBytes) return "the file has " + tooMany(size, "bytes", limits.fileBytes);
    file.seekg(0);
    std::string bytes(size, '\0');
    file.read(bytes.data(), static_cast<std::streamsize>(size));
    bytes.resize(static_cast<std::size_t>(file.gcount()));
    return extension == ".obj" ? objProblem(bytes, limits) : colladaProblem(bytes, limits);
}

}  // namespace tarn::check
