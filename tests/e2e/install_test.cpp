// make install's layout: the build installed under a prefix of its own holds the game, its
// data, the man page, the menu entry, the metadata and the icons. Started without arguments
// from another folder, the game finds its data relative to itself, starts with the lines it
// prints in its run folder, shows the lake in an 800 by 600 window, moves while W is held,
// and ends on Escape. The start view is kept as a screenshot for a person to look at. The
// Debian package holds the same layout.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/game_window.h"
#include "support/process.h"
#include "support/startup_lines.h"

using namespace tarn::test;
namespace fs = std::filesystem;

TEST(Install, APrefixHoldsEverythingAndTheGameStartsFromAnyFolderShowingTheLakeAndMovingOnW) {
    const std::string prefix = fs::canonical(makeTempDir()).string();
    const ProcessResult install =
        runProcess({CMAKE_COMMAND, "--install", TARNHOLLOW_BINARY_DIR, "--prefix", prefix},
                   TARNHOLLOW_BINARY_DIR, 120.0);
    ASSERT_EQ(install.exitStatus, 0) << install.out << install.err;

    const std::string id = TARNHOLLOW_APP_ID;
    for (const std::string& file :
         {std::string("games/tarnhollow"),
          std::string("share/games/tarnhollow/Shader/megaShader.vert"),
          std::string("share/games/tarnhollow/Resources/Fonts/arial.ttf"),
          std::string("share/man/man6/tarnhollow.6.gz"),
          std::string("share/doc/tarnhollow/copyright"),
          std::string("share/doc/tarnhollow/changelog.gz"), "share/applications/" + id + ".desktop",
          "share/metainfo/" + id + ".metainfo.xml", "share/icons/hicolor/16x16/apps/" + id + ".png",
          "share/icons/hicolor/256x256/apps/" + id + ".png"}) {
        EXPECT_TRUE(fs::is_regular_file(fs::path(prefix) / file)) << file << " is not installed";
    }

    const std::string elsewhere = fs::canonical(makeTempDir()).string();
    ChildProcess game({prefix + "/games/tarnhollow"}, elsewhere, gameEnvironment());
    const std::string window = waitForGameWindow(game.pid());
    ASSERT_FALSE(window.empty()) << "no Tarnhollow window appeared:\n" << game.outputSoFar();
    ASSERT_TRUE(game.waitForOutput("Lightshaft framebuffer complete.", 60.0)) << game.outputSoFar();
    EXPECT_NE(shellOutput("xdotool getwindowgeometry " + window).find("Geometry: 800x600"),
              std::string::npos);

    // At the start camera the floor within the fog fills the lower fifth under the water; a
    // window not drawn yet is black and shows neither.
    const WindowImage start = waitForPicture(window, screenshotPath("start-view.png"), 30.0,
                                             [](const WindowImage& i) { return i.showsTheLake(); });
    EXPECT_TRUE(start.showsTheLake()) << "water " << start.waterShare() << ", floor "
                                      << start.floorShare() << " of the lowest fifth";
    shellOutput("xdotool windowfocus --sync " + window + " keydown w");
    const WindowImage moved =
        waitForPicture(window, screenshotPath("after-w.png"), 20.0,
                       [&](const WindowImage& i) { return i.changedShare(start) > 0.05; });
    shellOutput("xdotool keyup w");
    EXPECT_GT(moved.changedShare(start), 0.05) << "holding W did not change the view";
    tapKey(window, "Escape");
    const ProcessResult result = game.wait(30.0);
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(linesWithoutImageSizes(result.out),
              usualStartupLines(prefix + "/share/games/tarnhollow"))
        << result.out;
    fs::remove_all(elsewhere);
    fs::remove_all(prefix);
}
