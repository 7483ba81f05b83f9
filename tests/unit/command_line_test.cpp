// The command line: sizes, the full-screen flag and the exact error texts.
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

TEST(CommandLine, FewerThanTwoArgumentsKeepTheDefaultWindowAndPrintNoIntro) {
    for (const auto& args : {std::vector<const char*>{}, std::vector<const char*>{"1024"}}) {
        const CommandLine line = parse(args);
        EXPECT_EQ(line.width, 800);
        EXPECT_EQ(line.height, 600);
        EXPECT_FALSE(line.fullscreen);
        EXPECT_FALSE(line.printIntro);
        EXPECT_TRUE(line.error.empty());
    }
}

TEST(CommandLine, WidthAndHeightGiveAWindowedGameWithTheIntro) {
    const CommandLine line = parse({"1024", "768"});
    EXPECT_EQ(line.width, 1024);
    EXPECT_EQ(line.height, 768);
    EXPECT_FALSE(line.fullscreen);
    EXPECT_TRUE(line.printIntro);
    EXPECT_TRUE(line.error.empty());
}

TEST(CommandLine, ThirdArgumentOfOneAsksForFullScreenAndLaterOnesAreIgnored) {
    EXPECT_TRUE(parse({"1024", "768", "1"}).fullscreen);
    EXPECT_FALSE(parse({"1024", "768", "0"}).fullscreen);
    const CommandLine extra = parse({"1024", "768", "1", "whatever"});
    EXPECT_TRUE(extra.fullscreen);
    EXPECT_TRUE(extra.error.empty());
}

TEST(CommandLine, FlagOtherThanZeroOrOneFails) {
    for (const char* flag : {"2", "yes", "true"}) {
        const CommandLine line = parse({"1024", "768", flag});
        EXPECT_EQ(line.error, thirdError) << flag;
        EXPECT_FALSE(line.fullscreen) << flag;
    }
}

TEST(CommandLine, NumbersAreReadLikeStreamExtraction) {
    EXPECT_EQ(parse({"abc", "600"}).error, firstError);
    EXPECT_EQ(parse({"800", "tall"}).error, secondError);
    const CommandLine trailing = parse({"800x", "  600"});
    EXPECT_TRUE(trailing.error.empty());
    EXPECT_EQ(trailing.width, 800);
    EXPECT_EQ(trailing.height, 600);
    EXPECT_EQ(parse({"+640", "480"}).width, 640);
}

TEST(CommandLine, SizesOutOfRangeParseButCannotMakeAWindow) {
    // No range test on parsing: the window step refuses them instead.
    const CommandLine zero = parse({"0", "600"});
    EXPECT_TRUE(zero.error.empty());
    EXPECT_EQ(zero.width, 0);
    EXPECT_EQ(parse({"-5", "600"}).width, -5);
    EXPECT_EQ(parse({"800", "100000"}).height, 100000);

    EXPECT_FALSE(tarn::app::isWindowSizeMakeable(0, 600));
    EXPECT_FALSE(tarn::app::isWindowSizeMakeable(-5, 600));
    EXPECT_FALSE(tarn::app::isWindowSizeMakeable(800, 100000));
    EXPECT_TRUE(tarn::app::isWindowSizeMakeable(1, 1));
    EXPECT_TRUE(tarn::app::isWindowSizeMakeable(1280, 720));
}
