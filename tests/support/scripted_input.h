// Input for tests: the keys held, the mouse buttons and the cursor are set by the test.
#pragma once

#include <set>

#include "app/input.h"

namespace tarn::test {

class ScriptedInput final : public app::InputSource {
public:
    bool keyDown(int key) const override { return keys.count(key) > 0; }
    bool mouseButtonDown(int button) const override { return buttons.count(button) > 0; }
    void cursorPosition(double& x, double& y) const override {
        x = cursorX;
        y = cursorY;
    }

    std::set<int> keys;
    std::set<int> buttons;
    double cursorX = 0.0;
    double cursorY = 0.0;
};

}  // namespace tarn::test
