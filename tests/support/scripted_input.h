// Input for tests: the keys held, the mouse buttons and the cursor are set by the test.
#pragma once

#include "app/input.h"

namespace tarn::test {

using ScriptedInput = app::ScriptedInput;

}  // namespace tarn::test
