// The Debian package that make package builds, made from this build tree by the fixture
// Package.Build: its name and control fields, Debian's layout for games, and lintian,
// desktop-file-validate and appstreamcli with nothing to report. How the installed game
// finds its data and starts is the install test's, on the same layout.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <regex>
#include <sstream>

#include "support/lake_game.h"
#include "support/process.h"

using namespace tarn::test;
namespace fs = std::filesystem;

namespace {

const std::string version = TARNHOLLOW_VERSION;
const std::string appId = TARNHOLLOW_APP_ID;
const int iconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

// A program found on PATH, as a console user would run it.
ProcessResult run(std::vector<std::string> argv, double seconds = 120.0) {
    argv.insert(argv.begin(), "/usr/bin/env");
    return runProcess(argv, TARNHOLLOW_BINARY_DIR, seconds);
}

std::string architecture() { return shellOutput("dpkg --print-architecture"); }

std::string packagePath() {
    return std::string(TARNHOLLOW_PACKAGE_DIR) + "/tarnhollow_" + version + "_" + architecture() +
           ".deb";
}

std::string field(const std::string& name) {
    return run({"dpkg-deb", "--field", packagePath(), name}).out;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> all;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) all.push_back(line);
    return all;
}

// Lines of a validator's report that name an issue: "E: ", "W: ", "I: " or "P: ", indented
// or not.
std::vector<std::string> issues(const std::string& report) {
    static const std::regex issue(R"(^\s*[EWIP]: )");
    std::vector<std::string> found;
    for (const std::string& line : lines(report))
        if (std::regex_search(line, issue)) found.push_back(line);
    return found;
}

// The package's files below a fresh temporary folder, as dpkg-deb -x lays them out.
struct UnpackedPackage {
    std::string root;
    UnpackedPackage() : root(fs::canonical(makeTempDir()).string()) {
        const ProcessResult unpacked = run({"dpkg-deb", "-x", packagePath(), root});
        EXPECT_EQ(unpacked.exitStatus, 0) << unpacked.err;
    }
    ~UnpackedPackage() { fs::remove_all(root); }
    std::string operator/(const std::string& path) const { return root + "/" + path; }
};

}  // namespace

TEST(Package, IsNamedTheDebianWayInSectionGamesWithComputedDependencies) {
    ASSERT_TRUE(fs::is_regular_file(packagePath())) << packagePath() << " was not built";
    EXPECT_EQ(field("Package"), "tarnhollow\n");
    EXPECT_EQ(field("Version"), version + "\n");
    EXPECT_EQ(field("Architecture"), architecture() + "\n");
    EXPECT_EQ(field("Section"), "games\n");
    // dpkg-shlibdeps read them from the program: the C library and GLFW among them.
    const std::string depends = field("Depends");
    EXPECT_NE(depends.find("libc6 (>= "), std::string::npos) << depends;
    EXPECT_NE(depends.find("libglfw3"), std::string::npos) << depends;
    EXPECT_NE(depends.find("libopenal1"), std::string::npos) << depends;
    // The font the data folder links to.
    EXPECT_NE(depends.find("fonts-liberation2"), std::string::npos) << depends;
    EXPECT_GE(lines(field("Description")).size(), 8u) << "a summary and a few paragraphs";
}

TEST(Package, HoldsTheGameWhereDebianPutsGamesStrippedWithALinkToDebiansFontAndEveryIcon) {
    const UnpackedPackage unpacked;
    // The rest of the layout is make install's, which the install test walks.
    EXPECT_TRUE(fs::is_regular_file(unpacked / "usr/games/tarnhollow"));
    EXPECT_FALSE(fs::exists(unpacked / "usr/bin"));
    EXPECT_FALSE(fs::exists(unpacked / "usr/local"));

    const std::string sections =
        run({"readelf", "--section-headers", "--wide", unpacked / "usr/games/tarnhollow"}).out;
    EXPECT_EQ(sections.find(".symtab"), std::string::npos) << "the program is not stripped";
    EXPECT_EQ(sections.find(".debug_"), std::string::npos) << "the program keeps debug information";

    // Not a copy of the font: a link, relative as Debian wants one within /usr, to the file
    // of fonts-liberation2.
    const std::string fontFolder = "usr/share/games/tarnhollow/Resources/Fonts";
    const fs::path font = unpacked / (fontFolder + "/arial.ttf");
    ASSERT_TRUE(fs::is_symlink(font));
    const fs::path target = fs::read_symlink(font);
    EXPECT_TRUE(target.is_relative()) << target;
    const std::string onSystem = ("/" / fs::path(fontFolder) / target).lexically_normal().string();
    EXPECT_EQ(shellOutput("dpkg-query --search " + onSystem + " | cut -d: -f1"),
              "fonts-liberation2")
        << onSystem;

    // The copyright file and the metadata give the repository's licence.
    EXPECT_EQ(readFile(std::string(TARNHOLLOW_SOURCE_DIR) + "/LICENSE").rfind("MIT License\n", 0),
              0u);
    EXPECT_NE(readFile(unpacked / "usr/share/doc/tarnhollow/copyright").find("\nLicense: MIT\n"),
              std::string::npos);
    EXPECT_NE(readFile(unpacked / ("usr/share/metainfo/" + appId + ".metainfo.xml"))
                  .find("<project_license>MIT</project_license>"),
              std::string::npos);
    const std::string changelog =
        shellOutput("gzip -dc " + (unpacked / "usr/share/doc/tarnhollow/changelog.gz"));
    EXPECT_EQ(changelog.rfind("tarnhollow (" + version + ") ", 0), 0u) << changelog;

    for (int size : iconSizes) {
        const std::string side = std::to_string(size);
        const std::string icon =
            "usr/share/icons/hicolor/" + side + "x" + side + "/apps/" + appId + ".png";
        const WindowImage image = WindowImage::load(unpacked / icon);
        EXPECT_EQ(image.width, size) << icon;
        EXPECT_EQ(image.height, size) << icon;
        // A menu's small icons must still show the creature: at least half of the tile
        // away from the water's blue-violet.
        if (size > 32) continue;
        const int creature = image.count(0, 0, size, size, [](int r, int g, int b) {
            return std::abs(r - 83) + std::abs(g - 83) + std::abs(b - 166) > 60;
        });
        EXPECT_GE(creature, size * size / 2) << icon << ": the creature is a streak";
    }
}

TEST(Package, LintianReportsNoErrorAndNoWarning) {
    const ProcessResult lint = run({"lintian", "--fail-on", "error,warning", "--display-info",
                                    "--tag-display-limit", "0", packagePath()},
                                   300.0);
    EXPECT_FALSE(lint.timedOut);
    EXPECT_EQ(lint.exitStatus, 0) << lint.out << lint.err;
}

TEST(Package, TheMenuEntryAndTheAppStreamMetadataValidateWithNothingToReport) {
    const UnpackedPackage unpacked;
    const std::string desktop = unpacked / ("usr/share/applications/" + appId + ".desktop");
    const ProcessResult entry = run({"desktop-file-validate", desktop});
    EXPECT_EQ(entry.exitStatus, 0);
    EXPECT_EQ(entry.out + entry.err, "");
    EXPECT_NE(readFile(desktop).find("\nIcon=" + appId + "\n"), std::string::npos)
        << "an icon name without extension";

    // The whole tree: the metadata with its menu entry and icons.
    const ProcessResult tree =
        run({"appstreamcli", "validate-tree", "--no-net", "--strict", "--pedantic", unpacked.root});
    EXPECT_EQ(tree.exitStatus, 0) << tree.out << tree.err;
    EXPECT_EQ(issues(tree.out + tree.err), std::vector<std::string>{}) << tree.out;

    const std::string metainfo = unpacked / ("usr/share/metainfo/" + appId + ".metainfo.xml");
    EXPECT_TRUE(std::regex_search(
        readFile(metainfo), std::regex(R"(<image[^>]*>https://[^<]+/gallery/[^<]+\.png</image>)")))
        << "the screenshot is a gallery picture at an https address";
}
