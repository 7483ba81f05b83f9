// Every file the game opens below its run folder, as the asset tests and the missing-files
// start-up test walk them.
#pragma once

#include <string>
#include <vector>

#include "app/textures.h"
#include "base/tables.h"

namespace tarn::test {

inline const std::vector<std::string> modelFiles = {
    paths::duckModel,      paths::skyModel,      paths::sunModel,
    paths::lakebedModel,   paths::morvieModel,   paths::fishSmallModel,
    paths::fishLongModel,  paths::finHigherModel, paths::finLongThinModel,
};

// The height map first, then the textures in the order start-up loads them.
inline const std::vector<std::string> imageFiles = [] {
    std::vector<std::string> list = {
        paths::heightMap,   paths::mossTexture,       paths::morvieTexture,
        paths::duckTexture, paths::fishTexture,       paths::yellowFishTexture,
        paths::greyFishTexture, paths::sdCardTexture, paths::skyTexture,
    };
    for (int i = 1; i <= paths::causticsFrameCount; ++i) list.push_back(app::causticsPath(i));
    return list;
}();

inline const std::vector<std::string> soundFiles = {paths::ambientSound, paths::sonarSound};

// The run folder's copy of a "Resources/..." path.
inline std::string staged(const std::string& gamePath) {
    return std::string(TARNHOLLOW_RUN_DIR) + "/" + gamePath;
}

}  // namespace tarn::test
