// Pause, play again and full screen.
#include "app/session.h"

namespace tarn::app {

namespace {

void setPaused(bool paused, GameState& game, SessionOutcome& outcome) {
    if (game.paused == paused) return;
    game.paused = paused;
    outcome.paused = paused;
    outcome.lines.push_back(paused ? "Game paused." : "Game resumed.");
}

}  // namespace

SessionOutcome handleSession(const InputSource& input, const WindowSignals& signals,
                             bool pauseOnFocusLoss, KeyPresses& presses, GameState& game) {
    SessionOutcome outcome;
    // Every key is asked before any is acted on, so none keeps a stale press for later.
    const bool pauseKey = presses.pressed(input, keys::f1) | presses.pressed(input, keys::pause);
    const bool alt = input.keyDown(keys::leftAlt) || input.keyDown(keys::rightAlt);
    const bool enter =
        presses.pressed(input, keys::enter) | presses.pressed(input, keys::keypadEnter);
    const bool fullscreenKey = presses.pressed(input, keys::f11) || (alt && enter);
    const bool playAgainKey = presses.pressed(input, keys::r) || (!alt && enter);

    if (signals.iconified.value_or(false) || (pauseOnFocusLoss && signals.focused == false)) {
        setPaused(true, game, outcome);
    } else if (signals.focused == true) {
        setPaused(false, game, outcome);
    }
    if (pauseKey) setPaused(!game.paused, game, outcome);
    outcome.toggleFullscreen = fullscreenKey;

    if (game.gameOver && !game.paused && playAgainKey) {
        game = GameState{};
        outcome.newHunt = true;
        outcome.lines.push_back("A new hunt begins: 5 photos, a full light, and Morvie is "
                                "somewhere else in the lake.");
    }
    return outcome;
}

}  // namespace tarn::app
