// tarnhollow-gallery: fixed views of the lake rendered through the game's real frame, with
// a fixed clock and camera, saved as PNG files for people to look at and for checking
// that a change keeps the picture; a winning photo as the game keeps it (kept-photo.png);
// and the game's menu icons, Morvie rendered the same way.
//
//     tarnhollow-gallery RUN_DIR OUT_DIR
//     tarnhollow-gallery --icons RUN_DIR ICON_DIR NAME   ICON_DIR/<N>x<N>/apps/NAME.png
#include <GL/glew.h>  // before GLFW, which the game's headers bring in after it
#include <GLFW/glfw3.h>
#include <IL/il.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <set>
#include <vector>

#include "app/camera.h"
#include "app/frame_loop.h"
#include "app/globals.h"
#include "app/input.h"
#include "app/photos.h"
#include "game_harness.h"
#include "scene/world.h"

using namespace tarn;

namespace {

constexpr int width = 800;
constexpr int height = 600;

// The hicolor theme's sizes, 16 to 256 pixels.
constexpr int iconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};
// The square of the window the icons are made from: its centre, clear of the overlay's
// texts in the corners.
constexpr int iconSquare = 480;

// Pixels bottom row first, as GL reads them and as DevIL's default origin expects.
bool savePng(const std::string& path, int w, int h, int channels, const std::uint8_t* pixels) {
    ILuint image = 0;
    ilGenImages(1, &image);
    ilBindImage(image);
    ilTexImage(w, h, 1, ILubyte(channels), channels == 4 ? IL_RGBA : IL_RGB, IL_UNSIGNED_BYTE,
               const_cast<std::uint8_t*>(pixels));
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

// Says what became of a file; 1 for a failure, to be counted.
int reportWrite(bool written, const std::string& path) {
    if (written) {
        std::cout << "wrote " << path << std::endl;
        return 0;
    }
    std::cerr << "could not write " << path << std::endl;
    return 1;
}

int writeGallery(const std::filesystem::path& outDir) {
    int failures = 0;
    for (const harness::View& view : harness::galleryViews()) {
        harness::renderView(view);
        const std::string path = (outDir / (std::string(view.name) + ".png")).string();
        std::vector<unsigned char> rgb = harness::readBackBuffer(width, height);
        failures += reportWrite(savePng(path, width, height, 3, rgb.data()), path);
        harness::releaseView();
    }
    const std::string kept = (outDir / "kept-photo.png").string();
    return failures + reportWrite(keepWinningPhoto(kept), kept);
}

// Morvie from ahead and to one side under the spotlight, in its own frame (it swims along
// its own x axis), near enough to fill the icon's square with its head, neck and body.
const harness::View iconView = {"icon", 2.0, [](app::ScriptedInput& input) {
                                    const glm::mat4& model = app::world.morvie->modelMatrix;
                                    const glm::vec3 ahead = glm::normalize(glm::vec3(model[0]));
                                    const glm::vec3 up = glm::normalize(glm::vec3(model[1]));
                                    const glm::vec3 side = glm::normalize(glm::vec3(model[2]));
                                    const glm::vec3 creature = app::world.morvie->position();
                                    app::placeCamera(creature + 2.4f * ahead + 0.5f * up + side,
                                                     creature + 0.45f * ahead);
                                    input.keys = {app::keys::m};
                                }};

// The square, averaged down to size by the share of each source pixel a target pixel
// covers, with rounded corners that fade out in alpha. RGBA, bottom row first.
std::vector<std::uint8_t> iconPixels(const std::vector<std::uint8_t>& rgb, int size) {
    const int x0 = (width - iconSquare) / 2;
    const int y0 = (height - iconSquare) / 2;
    const double scale = double(iconSquare) / size;
    const double radius = size * 0.18;
    std::vector<std::uint8_t> out(size_t(size) * size * 4);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            double sum[3] = {0, 0, 0};
            double weightSum = 0;
            const double sx0 = x * scale, sx1 = (x + 1) * scale;
            const double sy0 = y * scale, sy1 = (y + 1) * scale;
            for (int sy = int(sy0); sy < int(std::ceil(sy1)); ++sy) {
                const double wy = std::min(sy1, sy + 1.0) - std::max(sy0, double(sy));
                for (int sx = int(sx0); sx < int(std::ceil(sx1)); ++sx) {
                    const double w = wy * (std::min(sx1, sx + 1.0) - std::max(sx0, double(sx)));
                    const std::uint8_t* p = &rgb[(size_t(y0 + sy) * width + x0 + sx) * 3];
                    for (int c = 0; c < 3; ++c) sum[c] += w * p[c];
                    weightSum += w;
                }
            }
            // Distance outside the rounded square, measured from the pixel's centre.
            const double cx = x + 0.5, cy = y + 0.5;
            const double dx = std::max({radius - cx, cx - (size - radius), 0.0});
            const double dy = std::max({radius - cy, cy - (size - radius), 0.0});
            const double outside = std::hypot(dx, dy) - radius;
            const double alpha = std::clamp(0.5 - outside, 0.0, 1.0);
            std::uint8_t* o = &out[(size_t(y) * size + x) * 4];
            for (int c = 0; c < 3; ++c) o[c] = std::uint8_t(std::lround(sum[c] / weightSum));
            o[3] = std::uint8_t(std::lround(alpha * 255.0));
        }
    }
    return out;
}

int writeIcons(const std::filesystem::path& iconDir, const std::string& name) {
    harness::renderView(iconView);
    const std::vector<std::uint8_t> rgb = harness::readBackBuffer(width, height);
    harness::releaseView();
    int failures = 0;
    for (int size : iconSizes) {
        const std::string side = std::to_string(size);
        const std::filesystem::path folder = iconDir / (side + "x" + side) / "apps";
        std::filesystem::create_directories(folder);
        const std::string path = (folder / (name + ".png")).string();
        const std::vector<std::uint8_t> icon = iconPixels(rgb, size);
        failures += reportWrite(savePng(path, size, size, 4, icon.data()), path);
    }
    return failures;
}

int usage() {
    std::cerr << "usage: tarnhollow-gallery RUN_DIR OUT_DIR\n"
                 "       tarnhollow-gallery --icons RUN_DIR ICON_DIR NAME"
              << std::endl;
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    const bool icons = argc == 5 && std::strcmp(argv[1], "--icons") == 0;
    if (!icons && argc != 3) return usage();
    const char* runDir = argv[icons ? 2 : 1];
    const std::filesystem::path outDir = std::filesystem::absolute(argv[icons ? 3 : 2]);
    std::filesystem::create_directories(outDir);
    if (chdir(runDir) != 0) {
        std::cerr << "cannot enter " << runDir << std::endl;
        return 2;
    }
    if (!harness::openGameWindow(width, height, "tarnhollow-gallery", false)) return 1;

    const int failures = icons ? writeIcons(outDir, argv[4]) : writeGallery(outDir);
    glfwTerminate();
    return failures == 0 ? 0 : 1;
}
