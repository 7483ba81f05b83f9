// Where the game finds Shader/ and Resources/, whatever folder it was started from: the
// working directory, the installed data folder beside the executable, or the one compiled
// in. The game changes into the folder it finds, so every file name it prints stays the
// same relative "Resources/..." or "Shader/..." name.
#pragma once

#include <string>
#include <vector>

namespace tarn::app {

// The installed layout, as the build knows it.
struct InstalledData {
    // The data folder relative to the folder holding the executable, for example
    // "../share/games/tarnhollow" for /usr/games/tarnhollow.
    std::string relativeToExecutable;
    // The data folder of the install prefix the game was built for.
    std::string compiledIn;
};

// One place a data folder is looked for, and why it is looked at.
struct DataPlace {
    std::string folder;
    std::string role;  // "the working directory", "beside the executable", ...
};

// Whether the folder holds the game's files: both a Shader/ and a Resources/ folder. A folder
// that has both is taken even when single files in it are missing or damaged, so that those
// are reported by name as start-up reports them, instead of another copy being used quietly.
bool holdsGameFiles(const std::string& folder);

// The places, in the order they are tried: the working directory, the data folder relative
// to the executable (left out when the executable's path cannot be read; pass an empty
// executable to leave it out) and the compiled-in folder.
std::vector<DataPlace> dataPlaces(const std::string& workingDir, const std::string& executable,
                                  const InstalledData& installed);

// The first place that holds the game's files; null when none does.
const DataPlace* findDataFolder(const std::vector<DataPlace>& places);

// The stop's text when no place holds the game's files: what is missing and every place
// searched, one a line.
std::string noDataFolderMessage(const std::vector<DataPlace>& places);

// Finds the data folder for this process and makes it the working directory. When no place
// holds the game's files, or the folder found cannot be entered, it stops the process with
// the message and status 1.
void enterDataFolder(const InstalledData& installed);

}  // namespace tarn::app
