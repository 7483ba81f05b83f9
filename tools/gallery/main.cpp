// tarnhollow-gallery: fixed views of the lake rendered through the game's real frame, with
// a fixed clock and camera, saved as PNG files for people to look at and for checking
// that a change keeps the picture.
//
//     tarnhollow-gallery RUN_DIR OUT_DIR
#include <IL/il.h>
#include <GLFW/glfw3.h>
#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <vector>

#include "game_harness.h"

using namespace tarn;

namespace {

constexpr int width = 800;
constexpr int height = 600;

bool savePng(const std::string& path) {
    std::vector<unsigned char> rgb = harness::readBackBuffer(width, height);
    ILuint image = 0;
    ilGenImages(1, &image);
    ilBindImage(image);
    // GL's rows run bottom-up, which is DevIL's lower-left origin.
    ilTexImage(width, height, 1, 3, IL_RGB, IL_UNSIGNED_BYTE, rgb.data());
    ilEnable(IL_FILE_OVERWRITE);
    const bool saved = ilSave(IL_PNG, path.c_str());
    ilDeleteImages(1, &image);
    return saved;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: tarnhollow-gallery RUN_DIR OUT_DIR" << std::endl;
        return 2;
    }
    const std::filesystem::path outDir = std::filesystem::absolute(argv[2]);
    std::filesystem::create_directories(outDir);
    if (chdir(argv[1]) != 0) {
        std::cerr << "cannot enter " << argv[1] << std::endl;
        return 2;
    }
    if (!harness::openGameWindow(width, height, "tarnhollow-gallery", false)) return 1;

    int failures = 0;
    for (const harness::View& view : harness::galleryViews()) {
        harness::renderView(view);
        const std::string path = (outDir / (std::string(view.name) + ".png")).string();
        if (savePng(path)) {
            std::cout << "wrote " << path << std::endl;
        } else {
            std::cerr << "could not write " << path << std::endl;
            ++failures;
        }
        harness::releaseView();
    }
    glfwTerminate();
    return failures == 0 ? 0 : 1;
}
