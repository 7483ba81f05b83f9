// The full-window quad the depth view and the light-shaft effect draw with.
#pragma once

namespace tarn::render {

// Draws two triangles covering the window with whatever program is current: position at
// location 0 (x, y, z in clip space), texture coordinates at location 1. The buffers are
// made on the first call.
void renderScreenQuad();

// Deletes the quad's buffers; safe to call twice. Needs the GL context.
void releaseScreenQuad();

}  // namespace tarn::render
