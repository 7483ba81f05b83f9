// The parts of the asset generator. Each writer puts its files below `resources` (the
// Resources folder) at the paths the game opens, and returns false after printing why
// when a file cannot be written.
#pragma once

#include <string>

#include "base/tables.h"

namespace tarn::assets {

// Where a file the game opens (a "Resources/..." path of the game's table) lies below the
// given Resources folder.
std::string gameFile(const std::string& resources, const char* gamePath);

// The lake floor: "heightmap1.png" and the lakebed model, both from one height field.
bool writeTerrain(const std::string& resources);
// Creature, fish and fins, duck, sun and sky models.
bool writeModels(const std::string& resources);
// Surface textures: moss, sky, creature, fish, duck and the SD card.
bool writeTextures(const std::string& resources);
// The 32 looping caustics frames.
bool writeCaustics(const std::string& resources);
// Ambience and sonar ping.
bool writeSounds(const std::string& resources);

// One picture of the generated set below `resources`, as the game would load it.
bool writeContactSheet(const std::string& resources, const std::string& outPath);

}  // namespace tarn::assets
