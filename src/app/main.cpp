// Tarnhollow: find Morvie in the lake and take its photo.
#include <cstdlib>

#include "app/startup.h"
#include "base/run_log.h"

// The build passes where `make install` and the package put the data: the folder relative
// to the installed executable, and the data folder of the prefix it was built for.
int main(int argc, char** argv) {
    // First of all: a game started from a menu has no console to show its errors.
    tarn::base::startRunLog(
        tarn::base::runLogPath([](const char* name) { return std::getenv(name); }));
    const tarn::app::InstalledData installed{TARNHOLLOW_DATA_FROM_EXECUTABLE,
                                             TARNHOLLOW_INSTALLED_DATA_DIR};
    return tarn::app::runGame(argc, argv, installed);
}
