// Loading, binding and releasing the game's textures.
#include "app/textures.h"

#include <cstdio>

#include "base/console.h"

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
                                      paths::causticsPattern, frameNumber);
    if (written <= 0) base::fatalExit("snprintf failed.");
    return buffer;
}

void loadTextures() {
    load(mossTexture, paths::mossTexture);
    load(morvieTexture, paths::morvieTexture);
    load(duckTexture, paths::duckTexture);
    load(fishTexture, paths::fishTexture);
    load(yellowFishTexture, paths::yellowFishTexture);
    load(greyFishTexture, paths::greyFishTexture);
    load(sdCardTexture, paths::sdCardTexture);
    load(skyTexture, paths::skyTexture);
    for (int frame = 1; frame <= causticsFrameCount; ++frame) {
        causticsTextures[frame - 1] = std::make_unique<gfx::Texture>(causticsPath(frame));
    }
}

void bindTexturesToUnits() {
    bindIfLoaded(morvieTexture, units::morvie);
    bindIfLoaded(sdCardTexture, units::sdCard);
    bindIfLoaded(mossTexture, units::moss);
    bindIfLoaded(causticsTextures[0], units::caustics);
    bindIfLoaded(fishTexture, units::fish);
    bindIfLoaded(yellowFishTexture, units::yellowFish);
    bindIfLoaded(greyFishTexture, units::greyFish);
    bindIfLoaded(skyTexture, units::sky);
    bindIfLoaded(duckTexture, units::duck);
}

void bindCausticsFrame(int index) {
    if (index < 0 || index >= causticsFrameCount) return;
    bindIfLoaded(causticsTextures[index], units::caustics);
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
