// What the real game prints on standard output when it starts with every file in place, to
// check a game started some other way (installed, unpacked from the package) against.
#pragma once

#include <string>
#include <vector>

namespace tarn::test {

// The lines in order: the height map, the working directory the game runs in (its data
// folder), every texture by its "Resources/..." name, and both framebuffers.
std::vector<std::string> usualStartupLines(const std::string& dataFolder);

// The output's lines without the "Image size = ..." lines, which hold memory addresses.
std::vector<std::string> linesWithoutImageSizes(const std::string& output);

}  // namespace tarn::test
