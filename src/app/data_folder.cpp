// Finding the data folder and changing into it.
#include "app/data_folder.h"

#include <filesystem>
#include <system_error>

#include "base/console.h"

namespace tarn::app {

namespace fs = std::filesystem;

bool holdsGameFiles(const std::string& folder) {
    std::error_code error;
    return fs::is_directory(fs::path(folder) / "Shader", error) &&
           fs::is_directory(fs::path(folder) / "Resources", error);
}

std::vector<DataPlace> dataPlaces(const std::string& workingDir, const std::string& executable,
                                  const InstalledData& installed) {
    std::vector<DataPlace> places = {{workingDir, "the working directory"}};
    if (!executable.empty()) {
        const fs::path besideExecutable =
            fs::path(executable).parent_path() / installed.relativeToExecutable;
        places.push_back({besideExecutable.lexically_normal().string(),
                          "the data folder relative to the executable"});
    }
    places.push_back({installed.compiledIn, "the installed data folder"});
    return places;
}

const DataPlace* findDataFolder(const std::vector<DataPlace>& places) {
    for (const DataPlace& place : places) {
        if (holdsGameFiles(place.folder)) return &place;
    }
    return nullptr;
}

std::string noDataFolderMessage(const std::vector<DataPlace>& places) {
    std::string message =
        "ERROR: Could not find the game's data (the folders Shader/ and Resources/). Searched:";
    for (const DataPlace& place : places)
        message += "\n  " + place.folder + "  (" + place.role + ")";
    return message;
}

void enterDataFolder(const InstalledData& installed) {
    std::error_code noWorkingDir;
    const std::string workingDir = fs::current_path(noWorkingDir).string();
    // Linux names the running executable here, symbolic links resolved, wherever it was
    // started from and however it was named on the command line.
    std::error_code noExecutable;
    const std::string executable = fs::read_symlink("/proc/self/exe", noExecutable).string();
    const std::vector<DataPlace> places =
        dataPlaces(workingDir, noExecutable ? std::string() : executable, installed);

    const DataPlace* found = findDataFolder(places);
    if (!found) {
        base::fatalExit(noDataFolderMessage(places),
                        "The game's files are missing: install it again (make install, or the "
                        "package), or start it with make run from its sources.");
    }
    if (found == &places.front()) return;
    std::error_code error;
    fs::current_path(found->folder, error);
    if (error) {
        base::fatalExit("ERROR: Could not enter the game's data folder " + found->folder + ": " +
                        error.message());
    }
}

}  // namespace tarn::app
