// Reading the window back without stalling the frame: the read goes into a pixel buffer
// object, and its pixels are taken a frame or two later, once GL has finished it.
#pragma once

#include <GL/glew.h>

#include <cstdint>
#include <deque>
#include <vector>

namespace tarn::render {

struct CapturedFrame {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;  // bottom row first, as GL reads
};

class FrameCapture {
public:
    FrameCapture() = default;
    ~FrameCapture() { release(); }
    FrameCapture(const FrameCapture&) = delete;
    FrameCapture& operator=(const FrameCapture&) = delete;

    // Starts reading the window's back buffer as it stands now. Needs the window's
    // framebuffer bound; leaves no pixel buffer bound.
    void request(int width, int height);
    // Reads that have finished, oldest first. Call once a frame: a read still unfinished
    // at the next frame is waited for at the one after; with waitForAll every read is.
    std::vector<CapturedFrame> collect(bool waitForAll = false);
    // Deletes the buffers and drops reads not collected; safe to call twice, and needs
    // the context while it lives.
    void release();

private:
    struct Read {
        GLuint buffer = 0;
        GLsync fence = nullptr;
        int width = 0;
        int height = 0;
        int looks = 0;  // collects that found it unfinished
    };
    std::deque<Read> reads_;
};

}  // namespace tarn::render
