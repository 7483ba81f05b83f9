// Loading, binding and releasing the game's textures.
#include "app/textures.h"

#include <cstdio>

#include "app/console.h"

namespace tarn::app {

std::unique_ptr<gfx::Texture> morvieTexture;
std::unique_ptr<gfx::Texture> sdCardTexture;
std::unique_ptr<gfx::Texture> mossTexture;
std::unique_ptr<gfx::Texture> fishTexture;
std::unique_ptr<gfx::Texture> yellowFishTexture;
std::unique_ptr<gfx::Texture> greyFishTexture;
std::unique_ptr<gfx::Texture> skyTexture;
std::unique_ptr<gfx::Texture> duckTexture;
std::array<std::unique_ptr<gfx::Texture>, causticsFrameCount> causticsTextures;

namespace {

void load(std::unique_ptr<gfx::Texture>& holder, const char* path) {
    holder = std::make_unique<gfx::Texture>(path);
}

void bindIfLoaded(const std::unique_ptr<gfx::Texture>& texture, unsigned unit) {
    if (texture) texture->bind(unit);
}

}  // namespace

std::string causticsPath(int frameNumber) {
    char buffer[128];
    const int written = std::snprintf(buffer, sizeof buffer,
                                      "Resources/Textures/caustics/save.%02d.tif", frameNumber);
    if (written <= 0) fatalExit("snprintf failed.");
    return buffer;
}

void loadTextures() {
    load(mossTexture, "Resources/Textures/moss.jpg");
    load(morvieTexture, "Resources/Models/morvie/morvie_textures/morvie.jpg");
    load(duckTexture, "Resources/Models/duck/duck_textures/duck.png");
    load(fishTexture, "Resources/Textures/fisch_neu2.jpg");
    load(yellowFishTexture, "Resources/Textures/yellowfish.png");
    load(greyFishTexture, "Resources/Textures/greyfish.jpg");
    load(sdCardTexture, "Resources/sdkarte8.jpg");
    load(skyTexture, "Resources/Textures/sky_seamless.jpg");
    for (int frame = 1; frame <= causticsFrameCount; ++frame) {
        causticsTextures[frame - 1] = std::make_unique<gfx::Texture>(causticsPath(frame));
    }
}

void bindTexturesToUnits() {
    bindIfLoaded(morvieTexture, 1);
    bindIfLoaded(sdCardTexture, 2);
    bindIfLoaded(mossTexture, 3);
    bindIfLoaded(causticsTextures[0], 4);
    bindIfLoaded(fishTexture, 5);
    bindIfLoaded(yellowFishTexture, 6);
    bindIfLoaded(greyFishTexture, 7);
    bindIfLoaded(skyTexture, 9);
    bindIfLoaded(duckTexture, 12);
}

void releaseTextures() {
    mossTexture.reset();
    morvieTexture.reset();
    fishTexture.reset();
    yellowFishTexture.reset();
    greyFishTexture.reset();
    duckTexture.reset();
    sdCardTexture.reset();
    skyTexture.reset();
}

void releaseCausticsTextures() {
    for (auto& frame : causticsTextures) frame.reset();
}

}  // namespace tarn::app
