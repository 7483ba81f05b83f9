// make install's layout and make uninstall. The build installed into a user's ~/.local holds
// the game, its data, the man page, the menu entry, the metadata and the icons, and a new
// login shell finds `tarnhollow` on the PATH Debian gives it. Started by that name from
// another folder, the game finds its data relative to itself, starts with the lines it
// prints in its run folder, shows the lake in an 800 by 600 window, moves while W is held,
// and ends on Escape; the start view is kept as a screenshot for a person to look at.
// Uninstalled, the prefix is as it was. Below /usr and /usr/local the game goes to games/,
// as in the Debian package.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/game_window.h"
#include "support/process.h"
#include "support/startup_lines.h"

using namespace tarn::test;
namespace fs = std::filesystem;

namespace {

// As make install does it, the build and the prefix aside; DESTDIR stages it when given.
ProcessResult install(const std::string& prefix, const std::string& destdir = "") {
    std::vector<std::string> env;
    if (!destdir.empty()) env.push_back("DESTDIR=" + destdir);
    return runProcess(
        {CMAKE_COMMAND, "--install", TARNHOLLOW_BINARY_DIR, "--prefix", prefix, "--strip"},
        TARNHOLLOW_BINARY_DIR, 120.0, env);
}

// As make uninstall does it.
ProcessResult uninstall(const std::string& root) {
    return runProcess({CMAKE_COMMAND, "-DROOT=" + root, "-P",
                       std::string(TARNHOLLOW_SOURCE_DIR) + "/packaging/uninstall.cmake"},
                      TARNHOLLOW_BINARY_DIR, 60.0);
}

// Every file, link and folder below root, relative to it, sorted.
std::vector<std::string> treeBelow(const std::string& root) {
    std::vector<std::string> all;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root))
        all.push_back(entry.path().lexically_relative(root).string());
    std::sort(all.begin(), all.end());
    return all;
}

}  // namespace

TEST(Install, IntoHomeDotLocalTheGameIsOnALoginShellsPathStartsFromAnyFolderAndUninstallsCleanly) {
    ASSERT_TRUE(fs::is_regular_file("/etc/skel/.profile")) << "no Debian home folder to copy";
    const std::string home = fs::canonical(makeTempDir()).string();
    fs::copy_file("/etc/skel/.profile", home + "/.profile");
    // Someone else's files in the same folders stay, and so do their folders.
    writeFile(home + "/.local/bin/other-program", "");
    writeFile(home + "/.local/share/applications/other.desktop", "");
    const std::vector<std::string> before = treeBelow(home);

    const std::string prefix = home + "/.local";
    const ProcessResult installed = install(prefix);
    ASSERT_EQ(installed.exitStatus, 0) << installed.out << installed.err;
    const std::string id = TARNHOLLOW_APP_ID;
    for (const std::string& file :
         {std::string("bin/tarnhollow"),
          std::string("share/games/tarnhollow/Shader/megaShader.vert"),
          std::string("share/games/tarnhollow/Resources/heightmap1.png"),
          std::string("share/man/man6/tarnhollow.6.gz"),
          std::string("share/doc/tarnhollow/copyright"),
          std::string("share/doc/tarnhollow/changelog.gz"), "share/applications/" + id + ".desktop",
          "share/metainfo/" + id + ".metainfo.xml", "share/icons/hicolor/16x16/apps/" + id + ".png",
          "share/icons/hicolor/256x256/apps/" + id + ".png"}) {
        EXPECT_TRUE(fs::is_regular_file(fs::path(prefix) / file)) << file << " is not installed";
    }
    // The font is the system's, through a link that works from the installed tree.
    const fs::path font = prefix + "/share/games/tarnhollow/Resources/Fonts/arial.ttf";
    EXPECT_TRUE(fs::is_symlink(font));
    EXPECT_TRUE(fs::is_regular_file(font)) << fs::read_symlink(font) << " is not there";

    // A new login shell, from nothing but the home folder, as a desktop starts one.
    const std::string found =
        shellOutput("env -i HOME='" + home + "' bash --login -c 'command -v tarnhollow' 2>&1");
    ASSERT_EQ(found, prefix + "/bin/tarnhollow");

    const std::string elsewhere = fs::canonical(makeTempDir()).string();
    ChildProcess game({found}, elsewhere, gameEnvironment());
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

    const ProcessResult removed = uninstall(prefix);
    EXPECT_EQ(removed.exitStatus, 0) << removed.out << removed.err;
    EXPECT_EQ(treeBelow(home), before);
    fs::remove_all(home);
}

TEST(Install, BelowTheSystemsPrefixesTheGameGoesToGamesAndDestdirStagesItWhole) {
    for (const std::vector<std::string>& prefix :
         {std::vector<std::string>{"usr"}, std::vector<std::string>{"usr", "local"}}) {
        const std::string destdir = fs::canonical(makeTempDir()).string();
        std::string path;
        std::vector<std::string> folders;
        for (const std::string& part : prefix) folders.push_back((path += "/" + part).substr(1));
        const ProcessResult installed = install(path, destdir);
        ASSERT_EQ(installed.exitStatus, 0) << installed.out << installed.err;
        EXPECT_TRUE(fs::is_regular_file(destdir + path + "/games/tarnhollow")) << path;
        EXPECT_FALSE(fs::exists(destdir + path + "/bin")) << path;
        const ProcessResult removed = uninstall(destdir + path);
        EXPECT_EQ(removed.exitStatus, 0) << removed.out << removed.err;
        EXPECT_EQ(treeBelow(destdir), folders) << "left below " << path;
        fs::remove_all(destdir);
    }
}
