// The command line: sizes, the full-screen flag and the exact error texts; the vsync switch.
#include <gtest/gtest.h>

#include <vector>

#include "app/startup.h"

using tarn::app::CommandLine;
using tarn::app::parseCommandLine;

namespace {

CommandLine parse(std::vector<const char*> args) {
    args.insert(args.begin(), "tarnhollow");
    return parseCommandLine(static_cast<int>(args.size()), args.data());
}

const char* const firstError = "ERROR: Could not parse first element, try again.";
const char* const secondError = "ERROR: Could not parse second element, try again";
const char* const thirdError = "ERROR: Could not parse third element, try again";

}  // namespace

TEST(CommandLine, SizesAndTheFullScreenFlagAreReadLikeStreamExtraction) {
    for (const auto& args : {std::vector<const char*>{}, std::vector<const char*>{"1024"}}) {
        const CommandLine line = parse(args);
        EXPECT_EQ(line.width, 800);
        EXPECT_EQ(line.height, 600);
        EXPECT_FALSE(line.printIntro) << "fewer than two arguments parse nothing";
    }
    const CommandLine windowed = parse({"1024", "768"});
    EXPECT_EQ(windowed.width, 1024);
    EXPECT_EQ(windowed.height, 768);
    EXPECT_FALSE(windowed.fullscreen);
    EXPECT_TRUE(windowed.printIntro);

    const CommandLine full = parse({"+640", "  480x", "1", "whatever"});
    EXPECT_EQ(full.width, 640);
    EXPECT_EQ(full.height, 480);
    EXPECT_TRUE(full.fullscreen);
    EXPECT_TRUE(full.error.empty()) << "arguments after the third are ignored";
    // No range test here: the window step refuses what it cannot make.
    EXPECT_EQ(parse({"-5", "600"}).width, -5);
}

TEST(CommandLine, TheFirstArgumentThatFailsGivesItsText) {
    EXPECT_EQ(parse({"abc", "600"}).error, firstError);
    EXPECT_EQ(parse({"800", "tall"}).error, secondError);
    for (const char* flag : {"2", "yes", "true"}) {
        const CommandLine line = parse({"1024", "768", flag});
        EXPECT_EQ(line.error, thirdError) << flag;
        EXPECT_FALSE(line.fullscreen) << flag;
    }
}

TEST(CommandLine, VsyncIsOnUnlessTheEnvironmentSaysZero) {
    EXPECT_EQ(tarn::app::swapIntervalFor(nullptr), 1);
    EXPECT_EQ(tarn::app::swapIntervalFor("1"), 1);
    EXPECT_EQ(tarn::app::swapIntervalFor(""), 1);
    EXPECT_EQ(tarn::app::swapIntervalFor("0"), 0);
}
