// tarnhollow-gallery: fixed views of the lake rendered through the game's real frame, with
// a fixed clock and camera, saved as PNG files for people to look at and for checking
// that a change keeps the picture; and a winning photo as the game keeps it (kept-photo.png).
//
//     tarnhollow-gallery RUN_DIR OUT_DIR
#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <IL/il.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <set>
#include <vector>

#include "app/camera.h"
#include "app/frame_loop.h"
#include "app/globals.h"
#include "app/photos.h"
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

// Plays to the winning photo in the spotlight, from where the creature view looks, with the
// photos kept in a scratch folder of its own; the kept file is copied to path.
bool keepWinningPhoto(const std::filesystem::path& path) {
    namespace fs = std::filesystem;
    std::string scratch = (fs::temp_directory_path() / "tarnhollow-gallery-XXXXXX").string();
    if (!mkdtemp(scratch.data())) return false;
    std::cout.setstate(std::ios::failbit);
    double now = harness::startFreshGame(false);
    app::beginPhotos(scratch);
    app::ScriptedInput input;
    for (double t = 0.0; t < 2.0; t += harness::viewFrameStep) {
        app::runFrame(input, now += harness::viewFrameStep);
    }
    const glm::vec3 creature = app::world.morvie->position();
    app::placeCamera(creature + glm::vec3(2.0f, 1.0f, 2.5f), creature);
    for (const std::set<int>& keys : {std::set<int>{app::keys::m}, {app::keys::p}, {}}) {
        input.keys = keys;
        app::runFrame(input, now += harness::viewFrameStep);
    }
    app::endPhotos();
    std::cout.clear();
    bool copied = false;
    for (const fs::directory_entry& entry : fs::directory_iterator(scratch)) {
        std::error_code error;
        copied = fs::copy_file(entry.path(), path, fs::copy_options::overwrite_existing, error);
    }
    fs::remove_all(scratch);
    harness::releaseView();
    return copied;
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
    const std::string kept = (outDir / "kept-photo.png").string();
    if (keepWinningPhoto(kept)) {
        std::cout << "wrote " << kept << std::endl;
    } else {
        std::cerr << "could not keep the winning photo as " << kept << std::endl;
        ++failures;
    }
    glfwTerminate();
    return failures == 0 ? 0 : 1;
}
