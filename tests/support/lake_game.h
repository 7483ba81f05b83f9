// The real game inside a test's own window: start-up as the game does it, then single
// frames of the real frame code with a scripted clock and scripted input.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <glm/glm.hpp>
#include <string>
#include <vector>

#include "app/input.h"

namespace tarn::test {

// The water's clear colour, where nothing is drawn or the fog is complete.
bool isWater(int r, int g, int b);

// RGB pixels of the window, top row first.
struct WindowImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;

    // Pixels in the box [x0, x1) x [y0, y1), y measured from the bottom as GL does, for
    // which the predicate holds.
    template <typename Predicate>
    int count(int x0, int y0, int x1, int y1, Predicate predicate) const {
        int n = 0;
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) {
                const std::uint8_t* p = &rgb[(size_t(height - 1 - y) * width + x) * 3];
                if (predicate(p[0], p[1], p[2])) ++n;
            }
        }
        return n;
    }
    // The start view's make-up: the water's clear colour over the whole window, and what is
    // not water in the lowest fifth, where the lake floor lies. A black window has neither.
    double waterShare() const;
    double floorShare() const;
    // Water above and the floor below: the lake as the start view shows it.
    bool showsTheLake() const { return waterShare() > 0.3 && floorShare() > 0.5; }
    // Share of pixels that differ from the other picture's by more than a little.
    double changedShare(const WindowImage& other) const;
    void savePng(const std::string& path) const;
    // Any picture file DevIL reads, as RGB rows top first; empty when unreadable.
    static WindowImage load(const std::string& path);
    // The current context's back buffer.
    static WindowImage fromBackBuffer(int width, int height);
};

class LakeGame : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // One frame of the game at time now (seconds), everything but presenting it.
    void frame(double now);
    // Frames every step seconds from the last frame's time up to and including until.
    void framesUntil(double until, double step = 0.1);
    WindowImage readWindow() const { return WindowImage::fromBackBuffer(width, height); }

    int width = 800;
    int height = 600;
    double lastTime = 0.0;
    app::ScriptedInput input;
    std::string startupOutput;
};

// The 2D texture bound on a unit of the current context.
unsigned textureOnUnit(int unit);

// Where test pictures go for a person to look at: the build's screenshots folder.
std::string screenshotPath(const std::string& name);

}  // namespace tarn::test
