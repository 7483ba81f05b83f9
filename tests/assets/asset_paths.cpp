// The file list the game opens, written out once for the asset tests.
#include "asset_paths.h"

#include <cstdio>

#include "base/tables.h"

namespace tarn::test {

std::string stagedResources() { return std::string(TARNHOLLOW_RUN_DIR) + "/Resources"; }

std::string staged(const std::string& gamePath) {
    return std::string(TARNHOLLOW_RUN_DIR) + "/" + gamePath;
}

const std::vector<std::string>& modelFiles() {
    static const std::vector<std::string> files = {
        paths::duckModel,
        paths::skyModel,
        paths::sunModel,
        paths::lakebedModel,
        paths::morvieModel,
        paths::fishSmallModel,
        paths::fishLongModel,
        paths::finHigherModel,
        paths::finLongThinModel,
    };
    return files;
}

const std::vector<std::string>& imageFiles() {
    static const std::vector<std::string> files = [] {
        std::vector<std::string> list = {
            paths::heightMap,
            paths::mossTexture,
            paths::morvieTexture,
            paths::duckTexture,
            paths::fishTexture,
            paths::yellowFishTexture,
            paths::greyFishTexture,
            paths::sdCardTexture,
            paths::skyTexture,
        };
        for (int i = 1; i <= paths::causticsFrameCount; ++i) {
            char name[128];
            std::snprintf(name, sizeof name, paths::causticsPattern, i);
            list.push_back(name);
        }
        return list;
    }();
    return files;
}

const std::vector<std::string>& soundFiles() {
    static const std::vector<std::string> files = {paths::ambientSound,
                                                   paths::sonarSound};
    return files;
}

const std::string& fontFile() {
    static const std::string file = paths::font;
    return file;
}

}  // namespace tarn::test
