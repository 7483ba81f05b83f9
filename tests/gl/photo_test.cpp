// Photos on the real frame: a shot is judged by the camera's own view, the depth view's
// too; the file holds the scene as the shot's frame drew it, without the overlay, with the
// facts of the shot in its text; the world stops under the end screen's banner. The end
// screens are kept as pictures.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "app/camera.h"
#include "app/game_state.h"
#include "app/globals.h"
#include "app/photos.h"
#include "support/lake_game.h"
#include "support/png_fixture.h"
#include "support/process.h"

using namespace tarn;

namespace {

using Photos = test::LakeGame;

// Where the overlay may draw in the window: the two status lines and the banners with
// their play-again line, with room around their glyphs. y counts from the bottom.
bool underOverlay(int x, int y, int width, int height) {
    const bool distanceLine = x < 500 && y < 80;
    const bool photosLine = x >= width - 110 && y >= height - 50;
    const bool banner =
        x >= width / 2 - 210 && x < width / 2 + 300 && y >= height / 2 - 60 && y < height / 2 + 60;
    return distanceLine || photosLine || banner;
}

// Pixels of the photo that differ from the window's where no overlay text can explain it.
int differencesOutsideOverlay(const test::WindowImage& shown, const test::WindowImage& photo) {
    if (photo.width != shown.width || photo.height != shown.height) return -1;
    int n = 0;
    for (int y = 0; y < shown.height; ++y) {
        for (int x = 0; x < shown.width; ++x) {
            const size_t at = (size_t(shown.height - 1 - y) * shown.width + x) * 3;
            n += !std::equal(&shown.rgb[at], &shown.rgb[at] + 3, &photo.rgb[at]) &&
                 !underOverlay(x, y, shown.width, shown.height);
        }
    }
    return n;
}

bool bannerRed(int r, int g, int b) { return r > 200 && g < 110 && b < 60; }
bool distanceCyan(int r, int g, int b) { return r < 140 && g > 190 && b > 220; }

int bannerPixels(const test::WindowImage& image) {
    const int w = image.width, h = image.height;
    return image.count(w / 2 - 200, h / 2 - 10, w / 2 + 120, h / 2 + 30, bannerRed);
}

// The overlay's own colours where it draws: the red banner and the cyan distance line.
int overlayPixels(const test::WindowImage& image) {
    return bannerPixels(image) + image.count(20, 15, 400, 60, distanceCyan);
}
// Morvie's greens and olives; the lake around it is blue.
bool creatureColoured(int, int g, int b) { return g > b + 10; }

}  // namespace

TEST_F(Photos, TheWinningShotIsKeptAsTheFramesSceneWithoutTheOverlayAndTheWorldStops) {
    const std::string folder = test::makeTempDir() + "/kept";
    app::beginPhotos(folder);
    frame(1.1);
    const glm::vec3 creature = app::world.morvie->position();
    app::placeCamera(creature + glm::vec3(0.0f, 0.0f, 3.0f), creature);
    frame(1.2);
    EXPECT_FALSE(std::filesystem::exists(folder)) << "the folder came before the first photo";
    EXPECT_EQ(bannerPixels(readWindow()), 0) << "a banner before any photo";

    testing::internal::CaptureStdout();
    input.keys = {app::keys::p};
    frame(1.3);
    const test::WindowImage shown = readWindow();
    shown.savePng(test::screenshotPath("won.png"));
    EXPECT_GT(bannerPixels(shown), 200) << "no red \"Perfect Photo!\" banner";
    const glm::vec3 frozen = app::world.morvie->position();
    input.keys = {app::keys::p, app::keys::w};
    framesUntil(2.0);
    EXPECT_EQ(app::world.morvie->position(), frozen) << "the world moved after the game ended";
    app::endPhotos();  // as the game does at exit: the last photo is written first
    const std::string out = testing::internal::GetCapturedStdout();

    const std::vector<std::string> kept = test::filesIn(folder);
    ASSERT_EQ(kept.size(), 1u) << out;
    const std::string path = folder + "/" + kept[0];
    const size_t won = out.find("You have won the game!\n");
    const size_t named = out.find("Winning photo kept: " + path + "\n");
    EXPECT_TRUE(won != std::string::npos && named != std::string::npos && won < named) << out;

    const test::WindowImage photo = test::WindowImage::load(path);
    photo.savePng(test::screenshotPath("kept-winning-photo.png"));
    EXPECT_EQ(differencesOutsideOverlay(shown, photo), 0)
        << "the photo is not the scene of the shot's frame";
    EXPECT_EQ(overlayPixels(photo), 0) << "the overlay's text is in the photo";
    const int w = photo.width, h = photo.height;
    EXPECT_GT(photo.count(w / 2 - 100, h / 2 - 100, w / 2 + 100, h / 2 + 100, creatureColoured),
              5000)
        << "no Morvie in the winning photo";

    std::map<std::string, std::string> facts = test::pngTextChunks(test::readFile(path));
    EXPECT_EQ(facts["Result"], "hit");
    EXPECT_EQ(facts["Spotlight"], "off");
    EXPECT_EQ(facts["Photos left"], "5");
    std::smatch said;
    ASSERT_TRUE(std::regex_search(out, said, std::regex("at a distance of ([0-9.]+)\\.\n")));
    EXPECT_NEAR(std::stod(facts["Distance to Morvie"]), std::stod(said[1]), 0.006)
        << facts["Distance to Morvie"];
}

TEST_F(Photos, InTheDepthViewAShotIsJudgedByTheCamerasViewAndKeptAsShown) {
    const std::string folder = test::makeTempDir();
    app::beginPhotos(folder);
    app::settings.showDepthMap = true;
    frame(1.1);
    const glm::vec3 creature = app::world.morvie->position();
    app::placeCamera(creature + glm::vec3(0.0f, 0.0f, 3.0f), creature);
    frame(1.2);
    input.keys = {app::keys::p};
    frame(1.3);
    const test::WindowImage shown = readWindow();
    app::endPhotos();
    EXPECT_TRUE(app::game.photoSuccess) << "a photo of the creature up close missed";

    const std::vector<std::string> kept = test::filesIn(folder);
    ASSERT_EQ(kept.size(), 1u);
    const test::WindowImage photo = test::WindowImage::load(folder + "/" + kept[0]);
    EXPECT_EQ(differencesOutsideOverlay(shown, photo), 0)
        << "the photo is not the depth view shown";
    EXPECT_EQ(overlayPixels(photo), 0) << "the overlay's text is in the photo";
}

TEST_F(Photos, AFullCardShowsTheLostBanner) {
    // P tapped every other frame: one photo every half second at most.
    while (!app::game.gameOver && lastTime < 6.0) {
        input.keys = {app::keys::p};
        frame(lastTime + 0.1);
        input.keys.clear();
        frame(lastTime + 0.1);
    }
    ASSERT_TRUE(app::game.gameOver);
    const test::WindowImage image = readWindow();
    image.savePng(test::screenshotPath("lost.png"));
    EXPECT_GT(bannerPixels(image), 200) << "no red \"SD card full!\" banner";
}
