// The input step, in the order its stages must run.
#include "app/process_input.h"

#include "app/camera.h"
#include "app/globals.h"

namespace tarn::app {

Outcome processInput(const Actions& actions, float deltaTime, float now,
                     const scene::World& world) {
    moveCamera(actions.move, deltaTime);

    RuleView view;
    view.cameraPos = cameraPos;
    if (world.morvie) view.morviePosition = world.morvie->position();
    if (world.bonusCard) view.bonusPosition = world.bonusCard->position();
    view.frustum = &scene::viewFrustum;

    Outcome outcome;
    handleSettingsKeys(actions, now, game, settings, outcome);
    handleGameCommands(actions, now, game, view, outcome);

    turnCamera(actions.look);
    return outcome;
}

}  // namespace tarn::app
