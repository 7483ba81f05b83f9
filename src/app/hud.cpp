// The overlay's texts and where they go.
#include "app/hud.h"

#include <algorithm>
#include <cmath>

namespace tarn::app {

namespace {

const glm::vec3 distanceColour(0.3f, 0.9f, 1.0f);
const glm::vec3 photosColour(1.0f, 1.0f, 0.1f);
const glm::vec3 bannerColour(1.0f, 0.2f, 0.0f);

}  // namespace

const char* const playAgainText = "Press R or Enter to play again, Escape to quit.";

const char* const controlsText[] = {
    "W A S D  swim (W and S where you look)      mouse  look",
    "P or left button  photo      M or Space  spotlight",
    "E  pick up the bonus card      O  sonar ping",
    "F1 or Pause  pause      F11 or Alt+Enter  full screen",
    "R or Enter  play again after a hunt      Escape  quit",
};

float hudScale(int screenWidth, int screenHeight) {
    return std::min(static_cast<float>(screenWidth) / 800.0f,
                    static_cast<float>(screenHeight) / 600.0f);
}

std::vector<HudText> statusLines(const GameState& game, int screenWidth, int screenHeight) {
    const float k = hudScale(screenWidth, screenHeight);
    const long metres = std::lround(game.distanceToMorvie);  // halves away from zero
    return {
        {"Distance to Morvie: " + std::to_string(metres) + " m", 25.0f * k, 25.0f * k, k,
         distanceColour},
        // A fixed offset from the right edge, whatever the line's length.
        {"Photos left: " + std::to_string(game.photosLeft),
         static_cast<float>(screenWidth) - 100.0f * k, static_cast<float>(screenHeight) - 30.0f * k,
         0.5f * k, photosColour},
    };
}

HudText endOfGameText(const std::string& text, int screenWidth, int screenHeight) {
    const float k = hudScale(screenWidth, screenHeight);
    // Starts 200 pixels left of the centre rather than being centred on it.
    return {text, static_cast<float>(screenWidth / 2) - 200.0f * k,
            static_cast<float>(screenHeight / 2), k, bannerColour};
}

std::vector<HudText> endBanners(const GameState& game, int screenWidth, int screenHeight) {
    std::vector<HudText> banners;
    if (game.photosLeft == 0) {
        banners.push_back(endOfGameText("SD card full! You have lost :-(", screenWidth, screenHeight));
    }
    if (game.photoSuccess) {
        banners.push_back(endOfGameText("Perfect Photo!", screenWidth, screenHeight));
    }
    if (!banners.empty()) {
        HudText again = endOfGameText(playAgainText, screenWidth, screenHeight);
        const float k = hudScale(screenWidth, screenHeight);
        again.y -= 40.0f * k;
        again.scale = 0.6f * k;
        banners.push_back(again);
    }
    return banners;
}

std::vector<HudText> pauseOverlay(int screenWidth, int screenHeight) {
    const float k = hudScale(screenWidth, screenHeight);
    std::vector<HudText> lines;
    const float left = 40.0f * k;
    float y = static_cast<float>(screenHeight / 2) + 110.0f * k;
    lines.push_back({"Paused", left, y, 1.2f * k, photosColour});
    y -= 50.0f * k;
    for (const char* line : controlsText) {
        lines.push_back({line, left, y, 0.5f * k, glm::vec3(1.0f)});
        y -= 24.0f * k;
    }
    return lines;
}

}  // namespace tarn::app
