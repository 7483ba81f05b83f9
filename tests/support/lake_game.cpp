// Start-up and frames of the real game in the test's window.
#include "support/lake_game.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <IL/il.h>
#include <IL/ilu.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>

#include "app/camera.h"
#include "app/frame_loop.h"
#include "app/game_state.h"
#include "app/globals.h"
#include "app/startup.h"
#include "game_harness.h"
#include "support/gl_context.h"
#include "support/png_fixture.h"
#include "support/process.h"

namespace tarn::test {

bool isWater(int r, int g, int b) {
    return std::abs(r - 83) <= 3 && std::abs(g - 83) <= 3 && std::abs(b - 166) <= 3;
}

double WindowImage::waterShare() const {
    return rgb.empty() ? 0.0 : count(0, 0, width, height, isWater) / (double(width) * height);
}

double WindowImage::floorShare() const {
    const int fifth = height / 5;
    return rgb.empty() ? 0.0 : 1.0 - count(0, 0, width, fifth, isWater) / (double(width) * fifth);
}

double WindowImage::changedShare(const WindowImage& other) const {
    if (other.rgb.size() != rgb.size() || rgb.empty()) return 1.0;
    size_t changed = 0;
    for (size_t i = 0; i + 2 < rgb.size(); i += 3) {
        for (size_t c = 0; c < 3; ++c) {
            if (std::abs(int(rgb[i + c]) - int(other.rgb[i + c])) > 8) {
                ++changed;
                break;
            }
        }
    }
    return double(changed) / double(rgb.size() / 3);
}

WindowImage WindowImage::load(const std::string& path) {
    WindowImage image;
    ilInit();
    ILuint id = 0;
    ilGenImages(1, &id);
    ilBindImage(id);
    if (ilLoadImage(path.c_str()) && ilConvertImage(IL_RGB, IL_UNSIGNED_BYTE)) {
        // Top row first, as the window is read.
        if (ilGetInteger(IL_IMAGE_ORIGIN) == IL_ORIGIN_LOWER_LEFT) iluFlipImage();
        image.width = ilGetInteger(IL_IMAGE_WIDTH);
        image.height = ilGetInteger(IL_IMAGE_HEIGHT);
        const ILubyte* data = ilGetData();
        image.rgb.assign(data, data + size_t(image.width) * image.height * 3);
    }
    ilDeleteImages(1, &id);
    return image;
}

WindowImage WindowImage::fromBackBuffer(int width, int height) {
    const std::vector<std::uint8_t> rows = harness::readBackBuffer(width, height);
    // GL reads bottom-up; pictures go top row first.
    WindowImage image{width, height, std::vector<std::uint8_t>(rows.size())};
    const size_t stride = size_t(width) * 3;
    for (int y = 0; y < height; ++y)
        std::copy_n(&rows[size_t(y) * stride], stride, &image.rgb[size_t(height - 1 - y) * stride]);
    return image;
}

void WindowImage::savePng(const std::string& path) const {
    writeFile(path, encodeRgbPng(width, height, rgb));
}

unsigned textureOnUnit(int unit) {
    glActiveTexture(GL_TEXTURE0 + unit);
    GLint id = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &id);
    return static_cast<unsigned>(id);
}

std::string screenshotPath(const std::string& name) {
    const std::string dir = std::string(TARNHOLLOW_BINARY_DIR) + "/screenshots";
    std::filesystem::create_directories(dir);
    return dir + "/" + name;
}

void LakeGame::SetUp() {
    ASSERT_EQ(chdir(TARNHOLLOW_RUN_DIR), 0);
    app::window = ensureGLContext(width, height);
    glfwGetFramebufferSize(app::window, &width, &height);
    app::screenWidth = width;
    app::screenHeight = height;
    app::aspectRatio = float(width) / float(height);

    testing::internal::CaptureStdout();
    lastTime = harness::startFreshGame(false);
    startupOutput = testing::internal::GetCapturedStdout();
}

void LakeGame::TearDown() {
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    app::cleanup();
}

void LakeGame::frame(double now) {
    app::runFrame(input, now);
    lastTime = now;
}

void LakeGame::framesUntil(double until, double step) {
    while (lastTime + step <= until + 1e-9) frame(lastTime + step);
}

}  // namespace tarn::test
