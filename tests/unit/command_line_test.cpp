// The command line: sizes, the full-screen flag and the exact error texts, the options and
// their errors; the vsync switch.
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

TEST(CommandLine, OptionsStandAnywhereAndWinOverThePositionalArguments) {
    const CommandLine sized = parse({"--size", "1280x720"});
    EXPECT_EQ(sized.width, 1280);
    EXPECT_EQ(sized.height, 720);
    EXPECT_TRUE(sized.sizeGiven);
    EXPECT_FALSE(sized.printIntro);
    EXPECT_EQ(parse({"--size=640x480"}).height, 480);
    EXPECT_EQ(parse({"1024x768"}).width, 1024) << "a lone size";
    EXPECT_FALSE(parse({"-w"}).fullscreen);
    EXPECT_TRUE(parse({"-w"}).fullscreenGiven);

    const CommandLine both = parse({"1024", "768", "0", "-f", "-s", "640x480"});
    EXPECT_TRUE(both.fullscreen);
    EXPECT_EQ(both.width, 640);
    EXPECT_TRUE(both.printIntro) << "the positional arguments still count";
    EXPECT_TRUE(parse({"--help"}).showHelp);
    EXPECT_TRUE(parse({"800", "600", "--version"}).showVersion);

    for (const auto& args : {std::vector<const char*>{"--fulscreen"}, {"-x"}, {"--size"},
                             {"--size", "big"}, {"-s", "1280x"}, {"--size=0x600"}}) {
        const CommandLine line = parse(args);
        EXPECT_EQ(line.usageError.rfind("tarnhollow: ", 0), 0u) << args[0];
        EXPECT_TRUE(line.error.empty());
    }
    EXPECT_NE(parse({"--bogus"}).usageError.find("'--bogus'"), std::string::npos);
    const std::string usage = tarn::app::usageText();
    for (const char* option : {"--fullscreen", "--windowed", "--size", "--help", "--version"})
        EXPECT_NE(usage.find(option), std::string::npos) << option;
}

TEST(CommandLine, VsyncIsOnUnlessTheEnvironmentSaysZero) {
    EXPECT_EQ(tarn::app::swapIntervalFor(nullptr), 1);
    EXPECT_EQ(tarn::app::swapIntervalFor("1"), 1);
    EXPECT_EQ(tarn::app::swapIntervalFor(""), 1);
    EXPECT_EQ(tarn::app::swapIntervalFor("0"), 0);
}
