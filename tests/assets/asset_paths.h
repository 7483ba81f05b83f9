// Where the asset tests find the generated files: the run folder the build stages, and
// every file the game opens below it.
#pragma once

#include <string>
#include <vector>

namespace tarn::test {

// The staged Resources folder, "<run dir>/Resources".
std::string stagedResources();

// Paths relative to the working directory of the game, "Resources/...".
const std::vector<std::string>& modelFiles();
// The height map first, then the textures in the order start-up loads them.
const std::vector<std::string>& imageFiles();
const std::vector<std::string>& soundFiles();
const std::string& fontFile();

// The run folder's copy of a "Resources/..." path.
std::string staged(const std::string& gamePath);

}  // namespace tarn::test
