// tarnhollow-gallery: fixed views of the lake rendered through the game's real frame, with
// a fixed clock and camera, saved as PNG files for people to look at and for checking
// that a change keeps the picture; a winning photo as the game keeps it (kept-photo.png);
// and the game's menu icons, Morvie rendered the same way.
//
//     tarnhollow-gallery RUN_DIR OUT_DIR
//     tarnhollow-gallery --icons RUN_DIR ICON_DIR NAME   ICON_DIR/<N>x<N>/apps/NAME.png
#include <GL/glew.h>  // before GLFW, which the game's headers bring in after it
#include <GLFW/glfw3.h>
#include <IL/il.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <set>
#include <vector>

#include "app/camera.h"
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include "game_harness.h"
#include "scene/world.h"

using namespace tarn;

namespace {

constexpr int width = 800;
constexpr int height = 600;

// The hicolor theme's sizes, 16 to 256 pixels.
constexpr int iconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};
// The square of the window the icons are made from: its centre, clear of the overlay's
// texts in the corners.
constexpr int iconSquare = 480;

// Pixels bottom row first, as GL reads them and as DevIL's default origin expects.
bool savePng(const std::string& path, int w, int h, int channels, const std::uint8_t* pixels) {
    ILuint image = 0;
    ilGenImages(1, &image);
    ilBindImage(image);
    ilTexImage(w, h, 1, ILubyte(channels), channels == 4 ? IL_RGBA : IL_RGB, IL_UNSIGNED_BYTE,
               const_cast<std::uint8_t*>(pixels));
    ilEnable(IL_FILE_OVERWRITE);
    const bool saved = ilSave(IL_PNG, path.c_str());
    ilDeleteImages(1, &image);
    return saved;
}

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
    int failures = 0;
    for (const harness::View& view : harness::galleryViews()) {
        harness::renderView(view);
        const std::string path = (outDir / (std::string(view.name) + ".png")).string();
        std::vector<unsigned char> rgb = harness::readBackBuffer(width, height);
        if (savePng(path, width, height, 3, rgb.data())) {
            std::cout << "wrote " << path << std::endl;
        } else {
            std::cerr << "could not write " << path << std::endl;
            ++failures;
        }
        harness::releaseView();
    }
// that a change keeps the picture; a winning photo as the game keeps it (kept-photo.png);
// and the game's menu icons, Morvie rendered the same way.
//
//     tarnhollow-gallery RUN_DIR OUT_DIR
//     tarnhollow-gallery --icons RUN_DIR ICON_DIR NAME   ICON_DIR/<N>x<N>/apps/NAME.png
#include <GL/glew.h>  // before GLFW, which the game's headers bring in after it
    glfwTerminate();
    return failures == 0 ? 0 : 1;
}
