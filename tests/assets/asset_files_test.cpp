// The generated Resources tree: every image and model passes the loaders' guards, and the
// generator writes the same bytes every time, the font's licence among them. Every file
// loads without a word on standard error in each game the end-to-end tests start.
#include <gtest/gtest.h>

#include <filesystem>

#include "assets/asset_paths.h"
#include "check/image_check.h"
#include "check/model_check.h"
#include "support/process.h"

namespace fs = std::filesystem;
using namespace tarn::test;

namespace {

// The guards in front of DevIL and Assimp must never refuse the game's own files.
TEST(AssetFiles, EveryImageAndModelPassesTheLoadersGuards) {
    for (const std::string& path : imageFiles)
        EXPECT_EQ(tarn::check::imageFileProblem(staged(path)), "") << path;
    for (const std::string& path : modelFiles)
        EXPECT_EQ(tarn::check::modelFileProblem(staged(path)), "") << path;
}

// A fresh run into an empty folder writes the whole tree again, byte for byte the same as
// the run the build staged: no time stamps, no unseeded randomness.
TEST(AssetFiles, TwoRunsWriteIdenticalBytes) {
    const std::string dir = makeTempDir();
    const ProcessResult run = runProcess({TARNHOLLOW_ASSETS_BINARY, dir}, dir, 120.0);
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    size_t compared = 0;
    for (const auto& entry : fs::recursive_directory_iterator(dir + "/Resources")) {
        if (!entry.is_regular_file()) continue;
        const std::string relative = fs::relative(entry.path(), dir).string();
        ASSERT_TRUE(fs::exists(staged(relative))) << relative;
        EXPECT_TRUE(readFile(entry.path().string()) == readFile(staged(relative)))
            << relative << " differs";
        ++compared;
    }
    EXPECT_EQ(compared, modelFiles.size() + imageFiles.size() + soundFiles.size() + 2);
    fs::remove_all(dir);
}

}  // namespace
