// The command line: the positional window size and full-screen flag the game has always
// taken, and the options a desktop game is expected to answer.
#pragma once

#include <string>

namespace tarn::app {

struct CommandLine {
    int width = 800;
    int height = 600;
    bool fullscreen = false;
    bool sizeGiven = false;        // a size was on the command line, either way
    bool fullscreenGiven = false;  // full screen or windowed was asked for
    bool printIntro = false;       // given with two or more positional arguments
    bool showHelp = false;
    bool showVersion = false;
    std::string error;       // the first positional failure's text; empty when all parsed
    std::string usageError;  // an option the game does not know, or one badly given
};

// Up to three positional arguments: width, height, full-screen flag (0 or 1). Fewer than
// two parse nothing, except one of the form WIDTHxHEIGHT, which is a size; positional
// arguments after the third are ignored. Anywhere among them:
//   -f, --fullscreen     -w, --windowed     -s WxH, --size WxH, --size=WxH
//   -h, --help           --version
// An option wins over the positional arguments. A word that starts with '-' and is not a
// number is an option.
CommandLine parseCommandLine(int argc, const char* const* argv);

// The usage with every option and the keys, for --help and after a usage error.
std::string usageText();

}  // namespace tarn::app
