// The real game under X, started without arguments: the start view shows the lake, holding
// W moves the camera, and Escape ends it.
// The start view is kept as a screenshot for a person to look at.
#include <gtest/gtest.h>

#include "support/game_window.h"
#include "support/lake_game.h"
#include "support/process.h"

using namespace tarn::test;

TEST(LakeView, WithoutArgumentsAn800By600ViewShowsTheLakeAndHoldingWMovesTheCamera) {
    ChildProcess game({TARNHOLLOW_GAME_BINARY}, TARNHOLLOW_RUN_DIR, gameEnvironment());
    const std::string id = waitForGameWindow(game.pid());
    ASSERT_FALSE(id.empty()) << "no Tarnhollow window appeared";
    const std::string geometry = shellOutput("xdotool getwindowgeometry " + id);
    EXPECT_NE(geometry.find("Geometry: 800x600"), std::string::npos) << geometry;
    ASSERT_TRUE(game.waitForOutput("Lightshaft framebuffer complete.", 60.0));

    // At the start camera the floor within the fog fills the lower fifth under the water; a
    // window not drawn yet is black and shows neither.
    const WindowImage start = waitForPicture(id, screenshotPath("start-view.png"), 30.0,
                                             [](const WindowImage& i) { return i.showsTheLake(); });
    EXPECT_TRUE(start.showsTheLake()) << "water " << start.waterShare() << ", floor "
                                      << start.floorShare() << " of the lowest fifth";

    shellOutput("xdotool windowfocus --sync " + id + " keydown w");
    const WindowImage moved = waitForPicture(id, screenshotPath("after-w.png"), 20.0,
                                             [&](const WindowImage& i) { return i.changedShare(start) > 0.05; });
    shellOutput("xdotool keyup w");
    EXPECT_GT(moved.changedShare(start), 0.05) << "holding W did not change the view";

    tapKey(id, "Escape");
    const ProcessResult result = game.wait(30.0);
    EXPECT_FALSE(result.timedOut) << "Escape did not close the game";
    EXPECT_EQ(result.exitStatus, 0) << result.err;
}
