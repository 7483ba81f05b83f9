// The real game under X: the start view shows the lake, and holding W moves the camera.
// The start view is kept as a screenshot for a person to look at.
#include <IL/il.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>
#include <vector>

#include "support/game_window.h"
#include "support/process.h"

using namespace tarn::test;
namespace fs = std::filesystem;

namespace {

struct Image {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;
};

Image loadImage(const std::string& path) {
    Image image;
    ilInit();
    ILuint id = 0;
    ilGenImages(1, &id);
    ilBindImage(id);
    if (ilLoadImage(path.c_str()) && ilConvertImage(IL_RGB, IL_UNSIGNED_BYTE)) {
        image.width = ilGetInteger(IL_IMAGE_WIDTH);
        image.height = ilGetInteger(IL_IMAGE_HEIGHT);
        const ILubyte* data = ilGetData();
        image.rgb.assign(data, data + static_cast<size_t>(image.width) * image.height * 3);
    }
    ilDeleteImages(1, &id);
    return image;
}

// Share of pixels that differ by more than a little in any channel.
double changedShare(const Image& a, const Image& b) {
    if (a.rgb.size() != b.rgb.size() || a.rgb.empty()) return 1.0;
    size_t changed = 0;
    for (size_t i = 0; i + 2 < a.rgb.size(); i += 3) {
        for (size_t c = 0; c < 3; ++c) {
            if (std::abs(int(a.rgb[i + c]) - int(b.rgb[i + c])) > 8) {
                ++changed;
                break;
            }
        }
    }
    return double(changed) / double(a.rgb.size() / 3);
}

// Share of pixels that are not the window's clear colour.
double drawnShare(const Image& image) {
    size_t drawn = 0;
    for (size_t i = 0; i + 2 < image.rgb.size(); i += 3) {
        const bool clear = std::abs(image.rgb[i] - 83) <= 2 && std::abs(image.rgb[i + 1] - 83) <= 2 &&
                           std::abs(image.rgb[i + 2] - 166) <= 2;
        if (!clear) ++drawn;
    }
    return image.rgb.empty() ? 0.0 : double(drawn) / double(image.rgb.size() / 3);
}

void sleepSeconds(double s) { std::this_thread::sleep_for(std::chrono::duration<double>(s)); }

}  // namespace

TEST(LakeView, StartViewShowsTheLitLakeAndHoldingWMovesTheCamera) {
    const std::string shots = std::string(TARNHOLLOW_BINARY_DIR) + "/screenshots";
    fs::create_directories(shots);
    ChildProcess game({TARNHOLLOW_GAME_BINARY}, TARNHOLLOW_RUN_DIR, gameEnvironment());
    const std::string id = waitForGameWindow(game.pid());
    ASSERT_FALSE(id.empty()) << "no Tarnhollow window appeared";
    sleepSeconds(3.0);  // a few frames of the software renderer

    const Image start = loadImage(screenshot(id, shots + "/start-view.png"));
    ASSERT_EQ(start.width, 800);
    EXPECT_GT(drawnShare(start), 0.1) << "the start view shows mostly the clear colour";

    pressKey(id, "w", 2.0);
    sleepSeconds(1.0);
    const Image moved = loadImage(screenshot(id, shots + "/after-w.png"));
    EXPECT_GT(changedShare(start, moved), 0.05) << "holding W did not change the view";

    pressKey(id, "Escape");
    const ProcessResult result = game.wait(30.0);
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    std::cout << "start view kept at " << shots << "/start-view.png" << std::endl;
}
