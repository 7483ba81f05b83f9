// The generated Resources tree: every file the game opens loads with the library the game
// reads it with, and the generator writes the same bytes every time, the font's licence
// among them. The sounds are read in the lake world's test.
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <ft2build.h>
#include <gtest/gtest.h>

#include <assimp/Importer.hpp>
#include FT_FREETYPE_H

#include <filesystem>

#include "assets/asset_paths.h"
#include "check/image_check.h"
#include "gfx/model.h"
#include "check/model_check.h"
#include "support/process.h"

namespace fs = std::filesystem;
using namespace tarn::test;

namespace {

TEST(AssetFiles, ModelsLoadWithTheGameFlagsAsTrianglesWithNormalsAndOneUvSet) {
    for (const std::string& path : modelFiles) {
        SCOPED_TRACE(path);
        Assimp::Importer importer;
        const aiScene* scene =
            importer.ReadFile(staged(path), aiProcess_Triangulate | aiProcess_FlipUVs);
        ASSERT_FALSE(tarn::gfx::isImportFailure(scene)) << importer.GetErrorString();
        ASSERT_GT(scene->mNumMeshes, 0u);
        for (unsigned m = 0; m < scene->mNumMeshes; ++m) {
            const aiMesh* mesh = scene->mMeshes[m];
            EXPECT_EQ(mesh->mPrimitiveTypes, unsigned(aiPrimitiveType_TRIANGLE));
            EXPECT_GT(mesh->mNumFaces, 0u);
            EXPECT_TRUE(mesh->HasNormals());
            EXPECT_TRUE(mesh->HasTextureCoords(0));
            EXPECT_EQ(mesh->mNumUVComponents[0], 2u);
            EXPECT_FALSE(mesh->HasTextureCoords(1));
            for (unsigned v = 0; mesh->HasNormals() && v < mesh->mNumVertices; ++v) {
                ASSERT_NEAR(mesh->mNormals[v].Length(), 1.0f, 0.01f) << "vertex " << v;
            }
        }
    }
}

// The guards in front of DevIL and Assimp must never refuse the game's own files.
TEST(AssetFiles, EveryImageAndModelPassesTheLoadersGuards) {
    for (const std::string& path : imageFiles)
        EXPECT_EQ(tarn::check::imageFileProblem(staged(path)), "") << path;
    for (const std::string& path : modelFiles)
        EXPECT_EQ(tarn::check::modelFileProblem(staged(path)), "") << path;
}

TEST(AssetFiles, FontHasGlyphsForPrintableAscii) {
    FT_Library library = nullptr;
    ASSERT_EQ(FT_Init_FreeType(&library), 0);
    FT_Face face = nullptr;
    ASSERT_EQ(FT_New_Face(library, staged(tarn::paths::font).c_str(), 0, &face), 0);
    FT_Set_Pixel_Sizes(face, 0, 48);
    for (FT_ULong c = 32; c < 127; ++c) {
        EXPECT_NE(FT_Get_Char_Index(face, c), 0u) << "character " << c;
        EXPECT_EQ(FT_Load_Char(face, c, FT_LOAD_RENDER), 0) << "character " << c;
    }
    FT_Done_Face(face);
    FT_Done_FreeType(library);
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
