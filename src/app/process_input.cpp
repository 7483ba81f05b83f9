// The input step, in the order its stages must run.
#include "app/process_input.h"

#include "app/camera.h"

namespace tarn::app {

namespace {

// The settings keys, the spotlight, the photo and the bonus card join here with the
// game's rules.
void handleGameCommands(const InputSource& /*input*/, float /*now*/) {}

}  // namespace

void processInput(const InputSource& input, float deltaTime, float now) {
    moveCamera(input, deltaTime);
    handleGameCommands(input, now);
    lookAround(input);
}

}  // namespace tarn::app
