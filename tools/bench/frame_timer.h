// The benchmark's pass timer: GL elapsed-time queries around the passes of the real frame,
// and the CPU clock around its world step.
#pragma once

#include <GL/glew.h>

#include <array>
#include <chrono>
#include <utility>
#include <vector>

#include "render/pass_timer.h"

namespace tarn::bench {

using PartTimes = std::array<double, render::framePartCount>;  // milliseconds per part

class FrameTimer final : public render::PassTimer {
public:
    // With finishPasses the GPU parts are timed by the CPU clock between two glFinish
    // calls instead of by queries: a cross-check that stalls the pipeline at every part.
    explicit FrameTimer(bool finishPasses = false) : finishPasses_(finishPasses) {}
    ~FrameTimer() override;
    FrameTimer(const FrameTimer&) = delete;
    FrameTimer& operator=(const FrameTimer&) = delete;

    void begin(render::FramePart part) override;
    void end(render::FramePart part) override;

    // Forgets the parts timed so far; call before each frame.
    void startFrame();
    // The time of each part since startFrame, summed over its occurrences. Waits for the
    // queries, so call it after the frame has been finished (glFinish).
    PartTimes collect();

    // Deletes the queries while the context lives; safe to call again.
    void release();

private:
    GLuint nextQuery();

    bool finishPasses_;
    std::vector<GLuint> queries_;
    std::vector<std::pair<render::FramePart, GLuint>> pending_;
    std::size_t used_ = 0;
    PartTimes cpuTimes_{};
    std::chrono::steady_clock::time_point cpuStart_;
};

}  // namespace tarn::bench
