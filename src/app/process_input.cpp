// The input step, in the order its stages must run.
#include "app/process_input.h"

#include "app/camera.h"
#include "app/globals.h"

namespace tarn::app {

Outcome processInput(const InputSource& input, float deltaTime, float now,
                     const scene::World& world) {
    moveCamera(input, deltaTime);

    RuleView view;
    view.cameraPos = cameraPos;
    if (world.morvie) view.morviePosition = world.morvie->position();
    if (world.bonusCard) view.bonusPosition = world.bonusCard->position();
    view.frustum = &scene::viewFrustum;

    Outcome outcome;
    handleSettingsKeys(input, now, game, settings, outcome);
    handleGameCommands(input, now, game, view, outcome);

    lookAround(input);
    return outcome;
}

}  // namespace tarn::app
