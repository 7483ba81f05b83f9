// The rules around a hunt rather than in it: pausing, playing again, full screen and the
// sound's level. Plain C++ like the game's rules: they read the frame's actions and what
// the window system said, change the state and report what the frame must carry out.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/actions.h"
#include "app/game_state.h"

namespace tarn::app {

// What the window system reported since the last frame; empty where nothing changed.
struct WindowSignals {
    std::optional<bool> focused;
    std::optional<bool> iconified;
};

// The player's volume, 0 to 100, and whether the sound is muted.
struct SoundLevel {
    int volume = 100;
    bool muted = false;
    float gain() const { return muted ? 0.0f : static_cast<float>(volume) / 100.0f; }
};

constexpr int volumeStep = 10;

struct SessionOutcome {
    std::vector<std::string> lines;  // console lines, in order
    std::optional<bool> paused;      // the game paused (true) or went on (false) this frame
    bool newHunt = false;            // the lake, the camera and the light start afresh
    bool toggleFullscreen = false;
    std::optional<float> masterGain;  // the new overall level of every sound, 0 to 1
};

// Runs every frame, before the world moves:
// - the pause action pauses and resumes; losing the focus (with pauseOnFocusLoss) or being
//   minimised pauses, and getting the focus back resumes;
// - the gamepad's Start plays again once the game is decided, and pauses otherwise;
// - once the game is decided and not paused, play again starts a new hunt: the game state
//   becomes a fresh game's, with 5 photos, a full light and the bonus card back in play;
// - mute, volume down and volume up change the level by volumeStep, within 0 to 100.
SessionOutcome handleSession(const Actions& actions, const WindowSignals& signals,
                             bool pauseOnFocusLoss, GameState& game, SoundLevel& sound);

}  // namespace tarn::app
