// The game's own clock. Everything that moves or counts down in play reads it, never the
// wall clock, so a stall (a suspended laptop, a debugger, a window system that stops
// drawing) costs the player nothing: the world, the light's battery and every guard pick
// up where they were.
#pragma once

namespace tarn::app {

// The longest step one frame may take, in seconds. A frame slower than this runs the game
// in slow motion instead of letting a creature swim, or a camera step, across the lake in
// one go.
constexpr double maxFrameStep = 1.0 / 3.0;

struct GameClock {
    double lastFrame = 0.0;      // wall time of the previous frame
    double now = 0.0;            // game time, in seconds
    float deltaTime = 0.0f;      // game seconds this frame
    float realFrameTime = 0.0f;  // wall seconds this frame: a measure, not a game step

    // Starts at the wall time given, so a fresh game's guards read as they always have.
    void start(double wallNow) {
        lastFrame = wallNow;
        now = wallNow;
        deltaTime = 0.0f;
        realFrameTime = 0.0f;
    }

    // One frame at wall time wallNow. A clock that went backwards moves the game by
    // nothing; a paused game keeps its time and only follows the wall clock.
    void advance(double wallNow, bool paused = false) {
        double real = wallNow - lastFrame;
        if (!(real > 0.0)) real = 0.0;
        lastFrame = wallNow;
        realFrameTime = static_cast<float>(real);
        const double step = paused ? 0.0 : (real < maxFrameStep ? real : maxFrameStep);
        deltaTime = static_cast<float>(step);
        now += step;
    }
};

}  // namespace tarn::app
