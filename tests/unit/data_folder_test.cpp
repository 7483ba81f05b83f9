// Where the game looks for Shader/ and Resources/: which folder counts and the order of the
// places. The stop when none holds the files is the start-up test's.
#include "app/data_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/process.h"

using namespace tarn::app;
using tarn::test::makeTempDir;
namespace fs = std::filesystem;

namespace {

const InstalledData installed{"../share/games/tarnhollow", "/usr/share/games/tarnhollow"};

std::string dataFolderIn(const std::string& parent, const std::string& name) {
    const fs::path folder = fs::path(parent) / name;
    fs::create_directories(folder / "Shader");
    fs::create_directories(folder / "Resources");
    return folder.string();
}

}  // namespace

TEST(DataFolder, AFolderCountsOnlyWithBothShaderAndResources) {
    const std::string root = makeTempDir();
    EXPECT_FALSE(holdsGameFiles(root));
    fs::create_directory(fs::path(root) / "Shader");
    EXPECT_FALSE(holdsGameFiles(root)) << "Shader/ alone";
    tarn::test::writeFile(root + "/Resources", "a file, not a folder");
    EXPECT_FALSE(holdsGameFiles(root));
    fs::remove(fs::path(root) / "Resources");
    fs::create_directory(fs::path(root) / "Resources");
    EXPECT_TRUE(holdsGameFiles(root))
        << "both folders, even empty: missing files are reported one by one";
    EXPECT_FALSE(holdsGameFiles(root + "/no-such-folder"));
    fs::remove_all(root);
}

TEST(DataFolder, TheWorkingDirectoryComesFirstThenBesideTheExecutableThenTheCompiledInFolder) {
    const std::vector<DataPlace> places =
        dataPlaces("/home/diver", "/opt/lake/games/tarnhollow", installed);
    ASSERT_EQ(places.size(), 3u);
    EXPECT_EQ(places[0].folder, "/home/diver");
    EXPECT_EQ(places[1].folder, "/opt/lake/share/games/tarnhollow");
    EXPECT_EQ(places[2].folder, "/usr/share/games/tarnhollow");

    const std::vector<DataPlace> withoutExecutable = dataPlaces("/home/diver", "", installed);
    ASSERT_EQ(withoutExecutable.size(), 2u) << "an unreadable executable path is left out";
    EXPECT_EQ(withoutExecutable[1].folder, "/usr/share/games/tarnhollow");
}

TEST(DataFolder, TheFirstPlaceThatHoldsTheFilesWins) {
    const std::string root = makeTempDir();
    const std::string empty = (fs::path(root) / "empty").string();
    fs::create_directories(empty);
    const std::string first = dataFolderIn(root, "first");
    const std::string second = dataFolderIn(root, "second");
    const std::vector<DataPlace> places = {{empty, "a"}, {first, "b"}, {second, "c"}};
    const DataPlace* found = findDataFolder(places);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->folder, first);
    EXPECT_EQ(findDataFolder({{empty, "a"}}), nullptr);
    fs::remove_all(root);
}
