// The rules around a hunt rather than in it: pausing, playing again and the window's own
// keys. Plain C++ like the game's rules: they read the polled input and what the window
// system said, change the game state and report what the frame must carry out.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/game_state.h"
#include "app/input.h"

namespace tarn::app {

// What the window system reported since the last frame; empty where nothing changed.
struct WindowSignals {
    std::optional<bool> focused;
    std::optional<bool> iconified;
};

struct SessionOutcome {
    std::vector<std::string> lines;  // console lines, in order
    std::optional<bool> paused;      // the game paused (true) or went on (false) this frame
    bool newHunt = false;            // the lake, the camera and the light start afresh
    bool toggleFullscreen = false;
};

// Runs every frame, before the world moves, and asks its keys every frame (KeyPresses):
// - F1 or Pause pauses and resumes; losing the focus (with pauseOnFocusLoss) or being
//   minimised pauses, and getting the focus back resumes.
// - F11, or Enter with Alt held, switches between full screen and the window.
// - Once the game is decided, R or Enter starts a new hunt: the game state becomes a fresh
//   game's, with 5 photos, a full light and the bonus card back in play.
SessionOutcome handleSession(const InputSource& input, const WindowSignals& signals,
                             bool pauseOnFocusLoss, KeyPresses& presses, GameState& game);

}  // namespace tarn::app
