// The game's fixed tables, shared by the game, the asset generator and the tests: where
// each file lies below the run folder, which texture unit holds what, and the lake's size.
// Plain constants only, no GL, so every layer and tool can include it.
#pragma once

namespace tarn {

// Texture units. Every texture sits on its unit for the whole run; the scene objects keep
// the unit number of their colour texture.
namespace units {
constexpr int glyphs = 0;  // active while textures load, and the overlay's glyphs
constexpr int morvie = 1;
constexpr int sdCard = 2;
constexpr int moss = 3;
constexpr int caustics = 4;  // one frame of the 32 at a time
constexpr int fish = 5;
constexpr int yellowFish = 6;
constexpr int greyFish = 7;
constexpr int shadowMap = 8;
constexpr int sky = 9;
constexpr int lightshaft = 10;
constexpr int glyphCreation = 11;  // active while the glyph textures are made
constexpr int duck = 12;
}  // namespace units

// Asset files, relative to the working directory.
namespace paths {
constexpr const char* heightMap = "Resources/heightmap1.png";
constexpr const char* lakebedModel = "Resources/Models/lakebed/quadratic_map_mittelschroff_scaled.obj";
constexpr const char* morvieModel = "Resources/Models/morvie/morvie2.obj";
constexpr const char* fishSmallModel = "Resources/Models/fish/fish_small.obj";
constexpr const char* fishLongModel = "Resources/Models/fish/fish_long2.obj";
constexpr const char* finHigherModel = "Resources/Models/fish/schwanzflosse_higher.obj";
constexpr const char* finLongThinModel = "Resources/Models/fish/schwanzflosse_long_thin.obj";
constexpr const char* duckModel = "Resources/Models/duck/duck.dae";
constexpr const char* skyModel = "Resources/Models/sky/sky1.obj";
constexpr const char* sunModel = "Resources/Models/sun/sun.obj";

constexpr const char* morvieTexture = "Resources/Models/morvie/morvie_textures/morvie.jpg";
constexpr const char* sdCardTexture = "Resources/sdkarte8.jpg";
constexpr const char* mossTexture = "Resources/Textures/moss.jpg";
constexpr const char* fishTexture = "Resources/Textures/fisch_neu2.jpg";
constexpr const char* yellowFishTexture = "Resources/Textures/yellowfish.png";
constexpr const char* greyFishTexture = "Resources/Textures/greyfish.jpg";
constexpr const char* skyTexture = "Resources/Textures/sky_seamless.jpg";
constexpr const char* duckTexture = "Resources/Models/duck/duck_textures/duck.png";
// printf pattern of caustics frames 1 to 32.
constexpr const char* causticsPattern = "Resources/Textures/caustics/save.%02d.tif";
constexpr int causticsFrameCount = 32;

constexpr const char* font = "Resources/Fonts/arial.ttf";
// printf pattern of the window icon at each of iconSizes pixels square.
constexpr const char* iconPattern = "Resources/Icons/tarnhollow-%d.png";
constexpr int iconSizes[] = {16, 32, 48, 64, 128};
constexpr const char* ambientSound = "Resources/Sounds/Underwater_Pool.wav";
constexpr const char* sonarSound = "Resources/Sounds/Sonar.wav";
}  // namespace paths

// The lake in world units, y up.
namespace lake {
constexpr float waterLevel = 15.0f;
constexpr float squareHalfSize = 53.0f;  // x and z stay within +-53
constexpr int fishCount = 12;
constexpr int duckCount = 12;
constexpr int objectCount = 30;  // lakebed, creature, fish, ducks, card, sky, sun, water
}  // namespace lake

}  // namespace tarn
