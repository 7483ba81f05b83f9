// The game's textures: one holder each, loaded in a fixed order at start-up and bound to
// fixed texture units for the whole run.
#pragma once

#include <array>
#include <memory>
#include <string>

#include "base/tables.h"
#include "gfx/texture.h"

namespace tarn::app {

constexpr int causticsFrameCount = paths::causticsFrameCount;

extern std::unique_ptr<gfx::Texture> morvieTexture;      // unit 1
extern std::unique_ptr<gfx::Texture> sdCardTexture;      // unit 2
extern std::unique_ptr<gfx::Texture> mossTexture;        // unit 3
extern std::unique_ptr<gfx::Texture> fishTexture;        // unit 5
extern std::unique_ptr<gfx::Texture> yellowFishTexture;  // unit 6
extern std::unique_ptr<gfx::Texture> greyFishTexture;    // unit 7
extern std::unique_ptr<gfx::Texture> skyTexture;         // unit 9
extern std::unique_ptr<gfx::Texture> duckTexture;        // unit 12
// Entry k holds caustics frame k + 1; unit 4 shows one frame at a time.
extern std::array<std::unique_ptr<gfx::Texture>, causticsFrameCount> causticsTextures;

// The file of caustics frame 1 to 32 ("save.05.tif" for 5). Ends the process with
// "snprintf failed." when the name cannot be formatted.
std::string causticsPath(int frameNumber);

// Loads every texture in start-up order: the eight single textures, then the 32 frames.
void loadTextures();
// Binds each texture to its unit, in unit order, caustics frame 1 on unit 4.
void bindTexturesToUnits();
// Shows caustics frame index (0 to 31) on its unit; a frame that failed to load is skipped.
void bindCausticsFrame(int index);
// The eight single textures, in shutdown order. Safe to call again.
void releaseTextures();
// The 32 caustics frames. Safe to call again.
void releaseCausticsTextures();

}  // namespace tarn::app
