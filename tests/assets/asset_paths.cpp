// The file list the game opens, written out once for the asset tests.
#include "asset_paths.h"

#include <cstdio>

namespace tarn::test {

std::string stagedResources() { return std::string(TARNHOLLOW_RUN_DIR) + "/Resources"; }

std::string staged(const std::string& gamePath) {
    return std::string(TARNHOLLOW_RUN_DIR) + "/" + gamePath;
}

const std::vector<std::string>& modelFiles() {
    static const std::vector<std::string> files = {
        "Resources/Models/duck/duck.dae",
        "Resources/Models/sky/sky1.obj",
        "Resources/Models/sun/sun.obj",
        "Resources/Models/lakebed/quadratic_map_mittelschroff_scaled.obj",
        "Resources/Models/morvie/morvie2.obj",
        "Resources/Models/fish/fish_small.obj",
        "Resources/Models/fish/fish_long2.obj",
        "Resources/Models/fish/schwanzflosse_higher.obj",
        "Resources/Models/fish/schwanzflosse_long_thin.obj",
    };
    return files;
}

const std::vector<std::string>& imageFiles() {
    static const std::vector<std::string> files = [] {
        std::vector<std::string> list = {
            "Resources/heightmap1.png",
            "Resources/Textures/moss.jpg",
            "Resources/Models/morvie/morvie_textures/morvie.jpg",
            "Resources/Models/duck/duck_textures/duck.png",
            "Resources/Textures/fisch_neu2.jpg",
            "Resources/Textures/yellowfish.png",
            "Resources/Textures/greyfish.jpg",
            "Resources/sdkarte8.jpg",
            "Resources/Textures/sky_seamless.jpg",
        };
        for (int i = 1; i <= 32; ++i) {
            char name[128];
            std::snprintf(name, sizeof name, "Resources/Textures/caustics/save.%02d.tif", i);
            list.push_back(name);
        }
        return list;
    }();
    return files;
}

const std::vector<std::string>& soundFiles() {
    static const std::vector<std::string> files = {"Resources/Sounds/Underwater_Pool.wav",
                                                   "Resources/Sounds/Sonar.wav"};
    return files;
}

const std::string& fontFile() {
    static const std::string file = "Resources/Fonts/arial.ttf";
    return file;
}

}  // namespace tarn::test
