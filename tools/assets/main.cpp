// tarnhollow-assets: writes the game's Resources tree, or draws a contact sheet of it.
//   tarnhollow-assets DIR                          writes DIR/Resources/...
//   tarnhollow-assets --contact-sheet OUT.png DIR  pictures the tree in DIR/Resources
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "generator.h"
#include "text.h"

namespace fs = std::filesystem;
using namespace tarn::assets;

std::string tarn::assets::gameFile(const std::string& resources, const char* gamePath) {
    // Every path of the game's table starts with the Resources folder itself.
    const std::string path(gamePath);
    const std::string folder = "Resources";
    return resources + (path.rfind(folder, 0) == 0 ? path.substr(folder.size()) : "/" + path);
}

namespace {

int usage() {
    std::fprintf(
        stderr,
        "usage: tarnhollow-assets DIR\n       tarnhollow-assets --contact-sheet OUT.png DIR\n");
    return 2;
}

bool makeFolders(const fs::path& resources) {
    const char* folders[] = {"Fonts",
                             "Sounds",
                             "Textures/caustics",
                             "Models/lakebed",
                             "Models/morvie/morvie_textures",
                             "Models/fish",
                             "Models/duck/duck_textures",
                             "Models/sky",
                             "Models/sun"};
    for (const char* f : folders) {
        std::error_code error;
        fs::create_directories(resources / f, error);
        if (error) {
            std::fprintf(stderr, "tarnhollow-assets: cannot create %s: %s\n",
                         (resources / f).c_str(), error.message().c_str());
            return false;
        }
    }
    return true;
}

// The game asks for "arial.ttf"; Liberation Sans has the same metrics and may be shared
// under its licence, which travels beside it.
bool copyFont(const fs::path& resources) {
    std::error_code error;
    const auto options = fs::copy_options::overwrite_existing;
    fs::copy_file(fontSourcePath(), gameFile(resources.string(), tarn::paths::font), options, error);
    if (!error)
        fs::copy_file(TARNHOLLOW_FONT_LICENSE, resources / "Fonts/LiberationSans-LICENSE.txt",
                      options, error);
    if (error)
        std::fprintf(stderr, "tarnhollow-assets: cannot copy the font: %s\n",
                     error.message().c_str());
    return !error;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "--contact-sheet") == 0) {
        return writeContactSheet(std::string(argv[3]) + "/Resources", argv[2]) ? 0 : 1;
    }
    if (argc != 2 || argv[1][0] == '-') return usage();

    const auto start = std::chrono::steady_clock::now();
    const fs::path resources = fs::path(argv[1]) / "Resources";
    const std::string dir = resources.string();
    const bool ok = makeFolders(resources) && copyFont(resources) && writeTerrain(dir) &&
                    writeModels(dir) && writeTextures(dir) && writeCaustics(dir) &&
                    writeSounds(dir);
    if (!ok) return 1;
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("tarnhollow-assets: wrote %s in %.1f s\n", dir.c_str(), seconds);
    return 0;
}
