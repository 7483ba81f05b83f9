// Pause, play again, full screen and the sound's level.
#include "app/session.h"

#include <algorithm>

namespace tarn::app {

namespace {

void setPaused(bool paused, GameState& game, SessionOutcome& outcome) {
    if (game.paused == paused) return;
    game.paused = paused;
    outcome.paused = paused;
    outcome.lines.push_back(paused ? "Game paused." : "Game resumed.");
}

void changeSound(const Actions& actions, SoundLevel& sound, SessionOutcome& outcome) {
    if (!actions.mute && !actions.volumeDown && !actions.volumeUp) return;
    if (actions.mute) sound.muted = !sound.muted;
    const int step = (actions.volumeUp ? volumeStep : 0) - (actions.volumeDown ? volumeStep : 0);
    if (step != 0) {
        sound.volume = std::clamp(sound.volume + step, 0, 100);
        sound.muted = false;  // turning the volume is asking to hear it
    }
    outcome.masterGain = sound.gain();
    outcome.lines.push_back(sound.muted ? "Sound muted."
                                        : "Volume " + std::to_string(sound.volume) + "%.");
}

}  // namespace

SessionOutcome handleSession(const Actions& actions, const WindowSignals& signals,
                             bool pauseOnFocusLoss, GameState& game, SoundLevel& sound) {
    SessionOutcome outcome;
    if (signals.iconified.value_or(false) || (pauseOnFocusLoss && signals.focused == false)) {
        setPaused(true, game, outcome);
    } else if (signals.focused == true) {
        setPaused(false, game, outcome);
    }
    const bool decided = game.gameOver && !game.paused;
    const bool playAgain = actions.playAgain || (actions.start && decided);
    if (actions.pause || (actions.start && !decided)) setPaused(!game.paused, game, outcome);
    outcome.toggleFullscreen = actions.fullscreen;
    changeSound(actions, sound, outcome);

    if (decided && !game.paused && playAgain) {
        game = GameState{};
        outcome.newHunt = true;
        outcome.lines.push_back("A new hunt begins: 5 photos, a full light, and Morvie is "
                                "somewhere else in the lake.");
    }
    return outcome;
}

}  // namespace tarn::app
