// Playing the real frame on a real GL context: a good photo wins and stops the world, and
// each end screen shows its banner. The end screens are kept as pictures.
#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include "app/camera.h"
#include "app/game_state.h"
#include "app/globals.h"
#include "support/lake_game.h"

using namespace tarn;

namespace {

using Hunt = test::LakeGame;

// The banner's colour, (1.0, 0.2, 0.0), where glyphs cover the scene.
bool bannerRed(int r, int g, int b) { return r > 200 && g < 110 && b < 60; }

int bannerPixels(const test::WindowImage& image) {
    const int x0 = image.width / 2 - 200;
    const int y0 = image.height / 2 - 10;
    return image.count(std::max(0, x0), y0, std::min(image.width, x0 + 320), y0 + 40, bannerRed);
}

}  // namespace

TEST_F(Hunt, APhotoOfTheCreatureUpCloseWinsAndTheWorldStopsUnderThePerfectPhotoBanner) {
    frame(1.1);
    const glm::vec3 creature = app::world.morvie->position();
    app::placeCamera(creature + glm::vec3(0.0f, 0.0f, 3.0f), creature);
    frame(1.2);
    EXPECT_EQ(bannerPixels(readWindow()), 0) << "a banner before any photo";

    testing::internal::CaptureStdout();
    input.keys = {GLFW_KEY_P};
    frame(1.3);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("Success! You just captured Morvie at a distance of "), std::string::npos)
        << out;
    EXPECT_NE(out.find(".\nYou have won the game!\n"), std::string::npos) << out;
    EXPECT_TRUE(app::game.photoSuccess);
    EXPECT_EQ(app::game.photosLeft, 5);

    const glm::vec3 frozen = app::world.morvie->position();
    input.keys = {GLFW_KEY_P, GLFW_KEY_W};
    framesUntil(2.0);
    EXPECT_EQ(app::world.morvie->position(), frozen) << "the world moved after the game ended";
    const test::WindowImage image = readWindow();
    image.savePng(test::screenshotPath("won.png"));
    EXPECT_GT(bannerPixels(image), 200) << "no red \"Perfect Photo!\" banner";
}

TEST_F(Hunt, AFullCardShowsTheLostBanner) {
    input.keys = {GLFW_KEY_P};  // held: one photo every half second
    framesUntil(4.0);
    ASSERT_TRUE(app::game.gameOver);

    const test::WindowImage image = readWindow();
    image.savePng(test::screenshotPath("lost.png"));
    EXPECT_GT(bannerPixels(image), 200) << "no red \"SD card full!\" banner";
}
