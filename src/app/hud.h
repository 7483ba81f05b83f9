// The overlay's texts: the two status lines of every frame and the end-of-game banners,
// each with its place, scale and colour. No GL: the frame draws them.
#pragma once

#include <glm/glm.hpp>
#include <string>
#include <vector>

#include "app/game_state.h"

namespace tarn::app {

struct HudText {
    std::string text;
    float x = 0.0f;  // pixels from the window's left edge
    float y = 0.0f;  // pixels from its bottom edge, on the baseline
    float scale = 1.0f;
    glm::vec3 colour{1.0f};
};

// The overlay is laid out for a framebuffer of 800 by 600; any other scales it whole, by
// the side that fits, so it keeps its places and sizes at 800 by 600 and grows with the
// screen on a sharp display.
float hudScale(int screenWidth, int screenHeight);

// The end banner's second line, and the controls the pause shows, one line each.
extern const char* const playAgainText;
extern const char* const controlsText[5];

// The distance to the creature, rounded halves away from zero, and the photos left.
std::vector<HudText> statusLines(const GameState& game, int screenWidth, int screenHeight);

// "SD card full! You have lost :-(" when no photo is left, "Perfect Photo!" after the
// winning photo, each followed by how to play again; none while the game is open.
std::vector<HudText> endBanners(const GameState& game, int screenWidth, int screenHeight);

// "Paused" and the controls, while the game is paused.
std::vector<HudText> pauseOverlay(int screenWidth, int screenHeight);

// Any end-of-game text at the banners' place, size and colour.
HudText endOfGameText(const std::string& text, int screenWidth, int screenHeight);

}  // namespace tarn::app
