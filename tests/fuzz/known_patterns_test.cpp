// The faults outside fuzz runs found, rebuilt from the staged files and run through the
// game's loaders: each is refused with its file's name and a reason, or taken, and the
// loader returns as it does for a missing file.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "fuzz/damage.h"
#include "support/process.h"

using namespace tarn::fuzz;
using namespace tarn::test;

namespace {

// The line each loader prints about a file it does not take, and what it prints when it
// does, as the game prints them.
std::string refusalLine(const std::string& loader, const std::string& path) {
    if (loader == "texture") return "Could not open file [" + path + "]: ";
    if (loader == "heightmap") return "Could not open heightMap file:[" + path + "] ";
    if (loader == "model") return "ERROR::ASSIMP:: Refused model file \"" + path + "\": ";
    if (loader == "sound") return "Could not decode sound file [" + path + "]: ";
    return "no refusal line for " + loader;
}

std::string loadedLine(const std::string& loader) {
    if (loader == "model") return "model of 1 meshes";
    if (loader == "font") return "128 glyphs";
    return "no loaded line for " + loader;
}

}  // namespace

TEST(KnownPatterns, EachIsRefusedByNameOrTakenAndNeverCrashes) {
    struct Case {
        std::string what, loader, path;
        Expect expect;
        std::unique_ptr<ChildProcess> probe;
    };
    const std::string dir = makeTempDir();
    std::vector<Case> cases;
    for (const Format& format : formats()) {
        const std::vector<std::string> seeds = readSeeds(format, TARNHOLLOW_RUN_DIR "/Resources");
        for (const DamagedFile& pattern : knownPatterns(format, seeds)) {
            const std::string path =
                dir + "/" + format.name + std::to_string(cases.size()) + pattern.extension;
            writeFile(path, pattern.bytes);
            cases.push_back(
                {format.name + ": " + pattern.name, format.loader, path, pattern.expect, nullptr});
        }
    }
    auto check = [&](Case& c) {
        SCOPED_TRACE(c.what);
        const ProcessResult result = c.probe->wait(60.0);
        ASSERT_FALSE(result.timedOut);
        EXPECT_EQ(result.exitStatus, 0) << result.out << result.err;

        const std::string output = result.out + result.err;
        const std::string refusal = refusalLine(c.loader, c.path);
        if (c.expect == Expect::refused) {
            const std::size_t at = output.find(refusal);
            ASSERT_NE(at, std::string::npos) << output;
            // A reason follows: more than an empty line.
            EXPECT_GT(output.find('\n', at), at + refusal.size() + 4) << output;
            EXPECT_EQ(output.find("Successfully loaded"), std::string::npos) << output;
        } else if (c.expect == Expect::loaded) {
            EXPECT_EQ(output.find(refusal), std::string::npos) << output;
            EXPECT_NE(output.find(loadedLine(c.loader)), std::string::npos) << output;
        }
    };
    // A few at a time: each probe spends most of its time opening a GL context.
    constexpr std::size_t atOnce = 4;
    for (std::size_t i = 0; i < cases.size() + atOnce; ++i) {
        if (i >= atOnce) check(cases[i - atOnce]);
        if (i < cases.size()) {
            cases[i].probe = std::make_unique<ChildProcess>(
                std::vector<std::string>{FUZZ_PROBE, cases[i].loader, cases[i].path}, dir,
                std::vector<std::string>{"ALSOFT_DRIVERS=null", "ASAN_OPTIONS=detect_leaks=0"});
        }
    }
    std::filesystem::remove_all(dir);
}
