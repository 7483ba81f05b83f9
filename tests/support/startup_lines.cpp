// The start-up lines of the real game, from the table of files it loads.
#include "support/startup_lines.h"

#include <sstream>

#include "assets/asset_paths.h"

namespace tarn::test {

std::vector<std::string> usualStartupLines(const std::string& dataFolder) {
    std::vector<std::string> lines = {"Successfully loaded heightMap file.", dataFolder};
    // Every image file but the height map, which is no texture, in start-up order.
    for (size_t i = 1; i < imageFiles.size(); ++i)
        lines.push_back("Successfully loaded texture file [" + imageFiles[i] + "].");
    lines.push_back("ShadowMap framebuffer complete.");
    lines.push_back("Lightshaft framebuffer complete.");
    return lines;
}

std::vector<std::string> linesWithoutImageSizes(const std::string& output) {
    std::vector<std::string> lines;
    std::istringstream in(output);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("Image size = ", 0) != 0) lines.push_back(line);
    }
    return lines;
}

}  // namespace tarn::test
