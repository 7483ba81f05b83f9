// Elapsed-time queries, recycled frame after frame.
#include "frame_timer.h"

namespace tarn::bench {

namespace {

// The world step draws nothing: only the CPU clock can see it.
bool isCpuPart(render::FramePart part) { return part == render::FramePart::WorldStep; }

}  // namespace

FrameTimer::~FrameTimer() { release(); }

GLuint FrameTimer::nextQuery() {
    if (used_ == queries_.size()) {
        GLuint query = 0;
        glGenQueries(1, &query);
        queries_.push_back(query);
    }
    return queries_[used_++];
}

void FrameTimer::begin(render::FramePart part) {
    if (finishPasses_ && !isCpuPart(part)) glFinish();
    if (isCpuPart(part) || finishPasses_) {
        cpuStart_ = std::chrono::steady_clock::now();
        return;
    }
    const GLuint query = nextQuery();
    pending_.emplace_back(part, query);
    glBeginQuery(GL_TIME_ELAPSED, query);
}

void FrameTimer::end(render::FramePart part) {
    if (finishPasses_ && !isCpuPart(part)) glFinish();
    if (isCpuPart(part) || finishPasses_) {
        const auto elapsed = std::chrono::steady_clock::now() - cpuStart_;
        cpuTimes_[int(part)] += std::chrono::duration<double, std::milli>(elapsed).count();
        return;
    }
    glEndQuery(GL_TIME_ELAPSED);
}

void FrameTimer::startFrame() {
    pending_.clear();
    used_ = 0;
    cpuTimes_ = {};
}

PartTimes FrameTimer::collect() {
    PartTimes times = cpuTimes_;
    for (const auto& [part, query] : pending_) {
        GLuint64 nanoseconds = 0;
        glGetQueryObjectui64v(query, GL_QUERY_RESULT, &nanoseconds);
        times[int(part)] += double(nanoseconds) * 1e-6;
    }
    return times;
}

void FrameTimer::release() {
    if (!queries_.empty()) {
        glDeleteQueries(GLsizei(queries_.size()), queries_.data());
        queries_.clear();
    }
    pending_.clear();
    used_ = 0;
}

}  // namespace tarn::bench
