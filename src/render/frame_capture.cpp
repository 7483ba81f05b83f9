// Pixel buffer reads of the window, mapped once their fence has passed.
#include "render/frame_capture.h"

#include <cstring>

namespace tarn::render {

namespace {

// One frame's grace: a read not finished by the next frame is waited for in the one after.
constexpr int looksBeforeWaiting = 1;

bool finished(GLsync fence) {
    const GLenum state = glClientWaitSync(fence, GL_SYNC_FLUSH_COMMANDS_BIT, 0);
    return state == GL_ALREADY_SIGNALED || state == GL_CONDITION_SATISFIED;
}

}  // namespace

void FrameCapture::request(int width, int height) {
    Read read;
    read.width = width;
    read.height = height;
    glGenBuffers(1, &read.buffer);
    glBindBuffer(GL_PIXEL_PACK_BUFFER, read.buffer);
    const GLsizeiptr bytes = GLsizeiptr(width) * height * 4;
    glBufferData(GL_PIXEL_PACK_BUFFER, bytes, nullptr, GL_STREAM_READ);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    // A pixel pack buffer left bound would turn every later client read into a buffer read.
    glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
    read.fence = glFenceSync(GL_SYNC_GPU_COMMANDS_COMPLETE, 0);
    reads_.push_back(read);
}

std::vector<CapturedFrame> FrameCapture::collect(bool waitForAll) {
    std::vector<CapturedFrame> done;
    while (!reads_.empty()) {
        Read& read = reads_.front();
        const bool wait = waitForAll || read.looks >= looksBeforeWaiting;
        // Mapping waits for the read by itself.
        if (!wait && !finished(read.fence)) {
            ++read.looks;
            break;  // later reads are later in the same pipeline
        }
        CapturedFrame frame{read.width, read.height, {}};
        const size_t bytes = size_t(read.width) * read.height * 4;
        glBindBuffer(GL_PIXEL_PACK_BUFFER, read.buffer);
        if (const void* pixels =
                glMapBufferRange(GL_PIXEL_PACK_BUFFER, 0, GLsizeiptr(bytes), GL_MAP_READ_BIT)) {
            frame.rgba.resize(bytes);
            std::memcpy(frame.rgba.data(), pixels, bytes);
            glUnmapBuffer(GL_PIXEL_PACK_BUFFER);
        }
        glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
        glDeleteSync(read.fence);
        glDeleteBuffers(1, &read.buffer);
        reads_.pop_front();
        done.push_back(std::move(frame));
    }
    return done;
}

void FrameCapture::release() {
    for (Read& read : reads_) {
        glDeleteSync(read.fence);
        glDeleteBuffers(1, &read.buffer);
    }
    reads_.clear();
}

}  // namespace tarn::render
