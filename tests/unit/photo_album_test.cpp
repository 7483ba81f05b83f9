// Where kept photos go, and how they are named and written, without a window.
#include "app/photo_album.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "support/png_fixture.h"
#include "support/process.h"

using namespace tarn;

TEST(PhotoFolder, TheGamesOwnVariableThenTheDesktopsPicturesFolderThenTheDataFolder) {
    const std::string home = test::makeTempDir();
    std::map<std::string, std::string> env = {{"HOME", home}};
    const auto folder = [&] {
        return app::photoFolder(
            [&](const char* name) -> const char* {
                const auto found = env.find(name);
                return found == env.end() ? nullptr : found->second.c_str();
            },
            "/started/here");
    };
    EXPECT_EQ(folder(), home + "/.local/share/tarnhollow/photos");
    env["XDG_DATA_HOME"] = "relative/data";  // only absolute paths count
    EXPECT_EQ(folder(), home + "/.local/share/tarnhollow/photos");
    env["XDG_DATA_HOME"] = "/data/";
    EXPECT_EQ(folder(), "/data/tarnhollow/photos");

    test::writeFile(home + "/.config/user-dirs.dirs",
                    "# written by xdg-user-dirs-update\nXDG_PICTURES_DIR=\"$HOME/Bilder\"\n");
    EXPECT_EQ(folder(), home + "/Bilder/Tarnhollow");
    test::writeFile(home + "/.config/user-dirs.dirs", "XDG_PICTURES_DIR=\"$HOME/\"\n");
    EXPECT_EQ(folder(), "/data/tarnhollow/photos") << "the home folder itself means none";
    env["XDG_CONFIG_HOME"] = home + "/elsewhere";
    test::writeFile(home + "/elsewhere/user-dirs.dirs", "XDG_PICTURES_DIR=\"/srv/pictures\"\n");
    EXPECT_EQ(folder(), "/srv/pictures/Tarnhollow");
    env["XDG_PICTURES_DIR"] = "/env/pictures";
    EXPECT_EQ(folder(), "/env/pictures/Tarnhollow");

    env["TARNHOLLOW_PHOTO_DIR"] = "/chosen";
    EXPECT_EQ(folder(), "/chosen");
    env["TARNHOLLOW_PHOTO_DIR"] = "myphotos/./lake/";
    EXPECT_EQ(folder(), "/started/here/myphotos/lake") << "relative to where the game started";
    env["TARNHOLLOW_PHOTO_DIR"] = "";
    EXPECT_EQ(folder(), "") << "set but empty: no photos kept";
}

TEST(PhotoAlbum, KeepsEveryPhotoInAFolderMadeForItUnderNamesThatSortByTimeAndReplaceNone) {
    const std::string folder = test::makeTempDir() + "/lake/photos";
    const auto second = std::chrono::system_clock::from_time_t(1800000000);
    const auto keepThree = [&](bool firstTime, std::vector<double> offsets) {
        app::PhotoAlbum album(folder);
        if (firstTime) {
            EXPECT_FALSE(std::filesystem::exists(folder)) << "made before the first photo";
        }
        for (int i = 0; i < 3; ++i) {
            app::PhotoFacts facts;
            facts.takenAt = second + std::chrono::milliseconds(int(offsets[i] * 1000));
            facts.judged.photosLeft = 2 - i;
            album.keep(2, 1, {10, 20, 30, 255, 40, 50, 60, 255}, facts);
        }
        album.finish();
        const std::vector<app::PhotoReport> reports = album.takeReports();
        EXPECT_EQ(reports.size(), 3u);
        for (const app::PhotoReport& report : reports) {
            EXPECT_TRUE(report.kept) << report.line;
            EXPECT_EQ(report.line.rfind("Photo kept: " + folder + "/", 0), 0u) << report.line;
        }
    };
    keepThree(true, {0.2, 0.7, 1.5});  // two photos within one second, one in the next
    const std::vector<std::string> first = test::filesIn(folder);
    ASSERT_EQ(first.size(), 3u);
    std::map<std::string, std::string> before;
    for (const std::string& name : first) before[name] = test::readFile(folder + "/" + name);

    // A second game in the same seconds: new names, nothing replaced, no temporary left.
    keepThree(false, {0.8, 0.9, 1.6});
    const std::vector<std::string> all = test::filesIn(folder);
    ASSERT_EQ(all.size(), 6u);
    for (const auto& [name, bytes] : before) EXPECT_EQ(test::readFile(folder + "/" + name), bytes);
    std::string lastTime;
    for (const std::string& name : all) {
        EXPECT_EQ(name.substr(name.size() - 4), ".png");
        const std::string taken =
            test::pngTextChunks(test::readFile(folder + "/" + name))["Creation Time"];
        EXPECT_LE(lastTime, taken) << name << " sorts before an earlier photo";
        lastTime = taken;
    }
}
