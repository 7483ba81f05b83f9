// Reading the command line.
#include "app/command_line.h"

#include <cctype>
#include <optional>
#include <sstream>
#include <vector>

#include "app/hud.h"

namespace tarn::app {

namespace {

// "1280x720": two whole numbers above 0 and an x between them, nothing else.
bool parseSize(const std::string& text, int& width, int& height) {
    std::istringstream in(text);
    char x = 0;
    int w = 0, h = 0;
    if (!(in >> w >> x >> h) || (x != 'x' && x != 'X') || w < 1 || h < 1) return false;
    if (in.peek() != std::char_traits<char>::eof()) return false;
    width = w;
    height = h;
    return true;
}

bool isOption(const std::string& word) {
    return word.size() > 1 && word[0] == '-' &&
           !std::isdigit(static_cast<unsigned char>(word[1])) && word[1] != '.';
}

}  // namespace

CommandLine parseCommandLine(int argc, const char* const* argv) {
    CommandLine line;
    std::vector<std::string> positional;
    std::optional<bool> fullscreenOption;
    int optionWidth = 0, optionHeight = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        if (!isOption(word)) {
            positional.push_back(word);
            continue;
        }
        if (word == "-h" || word == "--help") {
            line.showHelp = true;
        } else if (word == "--version") {
            line.showVersion = true;
        } else if (word == "-f" || word == "--fullscreen") {
            fullscreenOption = true;
        } else if (word == "-w" || word == "--windowed") {
            fullscreenOption = false;
        } else if (word == "-s" || word == "--size" || word.rfind("--size=", 0) == 0) {
            std::string value;
            if (word.size() > 7 && word[6] == '=') {
                value = word.substr(7);
            } else if (i + 1 < argc) {
                value = argv[++i];
            }
            if (!parseSize(value, optionWidth, optionHeight) && line.usageError.empty()) {
                line.usageError = "tarnhollow: " + word.substr(0, word.find('=')) +
                                  " takes a size such as 1280x720, not '" + value + "'";
            }
        } else if (line.usageError.empty()) {
            line.usageError = "tarnhollow: unknown option '" + word + "'";
        }
    }

    if (positional.size() == 1) {
        line.sizeGiven = parseSize(positional[0], line.width, line.height);
    } else if (positional.size() >= 2) {
        line.printIntro = true;
        line.sizeGiven = true;
        std::istringstream width(positional[0]);
        std::istringstream height(positional[1]);
        if (!(width >> line.width)) {
            line.error = "ERROR: Could not parse first element, try again.";
        } else if (!(height >> line.height)) {
            line.error = "ERROR: Could not parse second element, try again";
        } else if (positional.size() > 2) {
            std::istringstream flag(positional[2]);
            line.fullscreenGiven = true;
            if (!(flag >> line.fullscreen)) {
                line.fullscreen = false;
                line.error = "ERROR: Could not parse third element, try again";
            }
        }
    }
    if (optionWidth > 0) {
        line.width = optionWidth;
        line.height = optionHeight;
        line.sizeGiven = true;
    }
    if (fullscreenOption) {
        line.fullscreen = *fullscreenOption;
        line.fullscreenGiven = true;
    }
    return line;
}

std::string usageText() {
    std::string text =
        "Usage: tarnhollow [OPTION]... [WIDTH HEIGHT [FULLSCREEN]]\n"
        "Dive into the lake, find Morvie and take its photo.\n"
        "\n"
        "Options:\n"
        "  -f, --fullscreen    start in full screen\n"
        "  -w, --windowed      start in a window (the default)\n"
        "  -s, --size WxH      the window's size in pixels, such as 1280x720 (default 800x600)\n"
        "  -h, --help          show this help and quit\n"
        "      --version       show the version and quit\n"
        "  WIDTH HEIGHT [0|1]  the window's size, and 1 for full screen\n"
        "\n"
        "Keys:\n";
    for (const char* keys : controlsText) text += std::string("  ") + keys + "\n";
    text += "  F2 to F9  frame statistics, wireframe, sampling, mipmaps, shadow map,\n"
            "            light shafts, view-frustum culling, water blending\n";
    return text;
}

}  // namespace tarn::app
