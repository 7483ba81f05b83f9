// Tarnhollow: find Morvie in the lake and take its photo.
#include "app/startup.h"

// The build passes where `make install` and the package put the data: the folder relative
// to the installed executable, and the data folder of the prefix it was built for.
int main(int argc, char** argv) {
    const tarn::app::InstalledData installed{TARNHOLLOW_DATA_FROM_EXECUTABLE,
                                             TARNHOLLOW_INSTALLED_DATA_DIR};
    return tarn::app::runGame(argc, argv, installed);
}
