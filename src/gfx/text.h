// Screen-space text for the overlay: FreeType glyphs, one small texture per character,
// drawn one quad at a time in window pixels with the origin at the lower-left corner, each
// string ringed by a dark outline so that it reads on any background.
#pragma once

#include <GL/glew.h>

#include <glm/glm.hpp>
#include <map>
#include <string>

#include "base/tables.h"
#include "gfx/shader.h"

namespace tarn::gfx {

struct Glyph {
    // Coverage in red, distance outside the glyph's edge in green, the bitmap padded all
    // round with empty texels for the outline.
    GLuint textureId = 0;
    glm::ivec2 size{0};        // bitmap width and rows, in pixels, without the padding
    glm::ivec2 bearing{0};     // pen to bitmap left edge (x) and top row (y, upwards)
    unsigned int advance = 0;  // pen advance in 1/64 pixel
};

// The character codes 0 to 127 that the font could render; empty before loadFont and
// after a FreeType failure.
extern std::map<char, Glyph> glyphTable;

constexpr const char* defaultFontPath = paths::font;

// Rasterises codes 0 to 127 at 30 pixels and prepares the quad buffer. Needs a current GL
// context. FreeType failures are reported on standard output and leave no glyphs, so
// every later renderText draws nothing. Leaves the unpack alignment at 1.
void loadFont(const std::string& fontPath = defaultFontPath);

// Draws the string with its pen starting at (x, y) on the baseline, all glyph metrics
// multiplied by scale, with the text program (its projection set): the outline of the
// whole string first, then its glyphs, always filled, whatever the polygon mode. Leaves
// that program current and blending enabled, so a caller that draws 3D afterwards
// switches programs.
void renderText(const Shader& textProgram, const std::string& text, float x, float y, float scale,
                glm::vec3 colour);

// Deletes the glyph textures and the quad buffer; safe to call again.
void releaseFont();

}  // namespace tarn::gfx
