// The overlay's texts and where they go.
#include "app/hud.h"

#include <cmath>

namespace tarn::app {

namespace {

const glm::vec3 distanceColour(0.3f, 0.9f, 1.0f);
const glm::vec3 photosColour(1.0f, 1.0f, 0.1f);
const glm::vec3 bannerColour(1.0f, 0.2f, 0.0f);

}  // namespace

std::vector<HudText> statusLines(const GameState& game, int screenWidth, int screenHeight) {
    const long metres = std::lround(game.distanceToMorvie);  // halves away from zero
    return {
        {"Distance to Morvie: " + std::to_string(metres) + " m", 25.0f, 25.0f, 1.0f,
         distanceColour},
        // A fixed offset from the right edge, whatever the line's length.
        {"Photos left: " + std::to_string(game.photosLeft), static_cast<float>(screenWidth - 100),
         static_cast<float>(screenHeight - 30), 0.5f, photosColour},
    };
}

HudText endOfGameText(const std::string& text, int screenWidth, int screenHeight) {
    // Starts 200 pixels left of the centre rather than being centred on it.
    return {text, static_cast<float>(screenWidth / 2 - 200), static_cast<float>(screenHeight / 2),
            1.0f, bannerColour};
}

std::vector<HudText> endBanners(const GameState& game, int screenWidth, int screenHeight) {
    std::vector<HudText> banners;
    if (game.photosLeft == 0) {
        banners.push_back(endOfGameText("SD card full! You have lost :-(", screenWidth, screenHeight));
    }
    if (game.photoSuccess) {
        banners.push_back(endOfGameText("Perfect Photo!", screenWidth, screenHeight));
    }
    return banners;
}

}  // namespace tarn::app
