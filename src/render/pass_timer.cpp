// The installed pass timer, if any.
#include "render/pass_timer.h"

namespace tarn::render {

namespace {

PassTimer* installed = nullptr;

}  // namespace

void setPassTimer(PassTimer* timer) { installed = timer; }

TimedPart::TimedPart(FramePart part) : part_(part) {
    if (installed) installed->begin(part_);
}

TimedPart::~TimedPart() {
    if (installed) installed->end(part_);
}

}  // namespace tarn::render
