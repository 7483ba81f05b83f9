// The CPU work the frame itself does in its two scene passes besides drawing: culling and
// every uniform call. Replayed against a copy of the lake whose model files are missing,
// so the same calls run but the renderer has no geometry to work on.
#pragma once

#include "scene/world.h"

namespace tarn::bench {

class SubmissionReplay {
public:
    // Builds the geometry-less lake; needs a started game and the run folder as the
    // working directory, which it leaves as it found it.
    SubmissionReplay();
    ~SubmissionReplay();
    SubmissionReplay(const SubmissionReplay&) = delete;
    SubmissionReplay& operator=(const SubmissionReplay&) = delete;

    // Milliseconds per frame of the shadow and window passes' submission, the mean of
    // rounds replays with the objects where they stand in the real world.
    double measure(const scene::World& real, int rounds);

private:
    scene::World hollow_;
};

}  // namespace tarn::bench
