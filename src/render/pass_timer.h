// An optional stopwatch around the parts of a frame, so a benchmark can time the passes of
// the real frame. The game installs none, and then the frame measures nothing.
#pragma once

namespace tarn::render {

enum class FramePart { WorldStep, ShadowPass, WindowPass, LightShafts, Hud };
constexpr int framePartCount = 5;

class PassTimer {
public:
    virtual ~PassTimer() = default;
    // Every begin is followed by the end of the same part before the next begin: parts
    // never nest or overlap, as GL's elapsed-time queries demand. A part may come several
    // times in one frame (the overlay's lines do).
    virtual void begin(FramePart part) = 0;
    virtual void end(FramePart part) = 0;
};

// The timer the frame reports to; null, the default, measures nothing.
void setPassTimer(PassTimer* timer);

// Times one part from construction to the end of the scope, when a timer is installed.
class TimedPart {
public:
    explicit TimedPart(FramePart part);
    ~TimedPart();
    TimedPart(const TimedPart&) = delete;
    TimedPart& operator=(const TimedPart&) = delete;

private:
    FramePart part_;
};

}  // namespace tarn::render
