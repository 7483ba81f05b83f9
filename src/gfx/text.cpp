// Glyph rasterising with FreeType and the per-character quad drawing of the overlay.
#include "gfx/text.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iostream>
#include <vector>

namespace tarn::gfx {

std::map<char, Glyph> glyphTable;

namespace {

constexpr FT_UInt pixelHeight = 30;
// Empty texels around every glyph bitmap, room for the outline drawn around the text.
constexpr int glyphPadding = 4;
constexpr unsigned glyphCreationUnit = units::glyphCreation;
// One quad: two triangles of (x, y, u, v).
constexpr GLsizeiptr quadBytes = 6 * 4 * sizeof(float);

GLuint textVao = 0;
GLuint textVbo = 0;

// The glyph's coverage, one byte a texel in rows as wide as the bitmap. FreeType renders
// outlines in 8-bit grey; a font's embedded one-bit strikes are widened to that, and a
// bitmap of any other kind is left empty rather than misread.
std::vector<unsigned char> coverageOf(const FT_Bitmap& bitmap) {
    const int width = static_cast<int>(bitmap.width);
    const int rows = static_cast<int>(bitmap.rows);
    std::vector<unsigned char> coverage(static_cast<size_t>(width) * rows, 0);
    if (!bitmap.buffer) return coverage;
    const size_t pitch = static_cast<size_t>(std::abs(bitmap.pitch));
    for (int y = 0; y < rows; ++y) {
        const unsigned char* row = bitmap.buffer + static_cast<size_t>(y) * pitch;
        unsigned char* out = &coverage[static_cast<size_t>(y) * width];
        if (bitmap.pixel_mode == FT_PIXEL_MODE_GRAY) {
            std::copy(row, row + width, out);
        } else if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO) {
            for (int x = 0; x < width; ++x) out[x] = (row[x >> 3] >> (7 - (x & 7))) & 1 ? 255 : 0;
        }
    }
    return coverage;
}

// The glyph padded all round by glyphPadding empty texels, two bytes a texel: its coverage,
// and how far the texel lies outside the glyph's edge, in texels up to glyphPadding. The
// outline pass draws its ring from the distance, as wide as the text's scale needs, and the
// text itself is drawn from the coverage alone.
std::vector<unsigned char> paddedGlyph(const FT_Bitmap& bitmap) {
    const int width = static_cast<int>(bitmap.width);
    const int rows = static_cast<int>(bitmap.rows);
    const std::vector<unsigned char> coverage = coverageOf(bitmap);
    const auto coverageAt = [&](int x, int y) -> int {
        if (x < 0 || y < 0 || x >= width || y >= rows) return 0;
        return coverage[static_cast<size_t>(y) * width + x];
    };
    const int paddedWidth = width + 2 * glyphPadding;
    const int paddedRows = rows + 2 * glyphPadding;

    // Inked texels summed over the rectangle up to each corner, so a texel with none within
    // reach skips the search: a damaged font's huge glyph costs its edges, not its area.
    const int stride = paddedWidth + 1;
    std::vector<int> inkedBefore(static_cast<size_t>(stride) * (paddedRows + 1), 0);
    for (int py = 0; py < paddedRows; ++py) {
        for (int px = 0; px < paddedWidth; ++px) {
            inkedBefore[static_cast<size_t>(py + 1) * stride + px + 1] =
                (coverageAt(px - glyphPadding, py - glyphPadding) > 0) +
                inkedBefore[static_cast<size_t>(py) * stride + px + 1] +
                inkedBefore[static_cast<size_t>(py + 1) * stride + px] -
                inkedBefore[static_cast<size_t>(py) * stride + px];
        }
    }
    const auto inkedWithinReach = [&](int px, int py) {
        const int x0 = std::max(0, px - glyphPadding),
                  x1 = std::min(paddedWidth, px + glyphPadding + 1);
        const int y0 = std::max(0, py - glyphPadding),
                  y1 = std::min(paddedRows, py + glyphPadding + 1);
        const auto at = [&](int x, int y) {
            return inkedBefore[static_cast<size_t>(y) * stride + x];
        };
        return at(x1, y1) - at(x0, y1) - at(x1, y0) + at(x0, y0) > 0;
    };

    std::vector<unsigned char> texels(static_cast<size_t>(paddedWidth) * paddedRows * 2, 0);
    for (int py = 0; py < paddedRows; ++py) {
        for (int px = 0; px < paddedWidth; ++px) {
            const int x = px - glyphPadding;
            const int y = py - glyphPadding;
            const int own = coverageAt(x, y);
            float distance = static_cast<float>(glyphPadding);
            if (own == 255) {
                distance = 0.0f;
            } else if (inkedWithinReach(px, py)) {
                // A texel of coverage c has the edge about c - 0.5 texels beyond its centre.
                for (int qy = y - glyphPadding; qy <= y + glyphPadding; ++qy) {
                    for (int qx = x - glyphPadding; qx <= x + glyphPadding; ++qx) {
                        const int inked = coverageAt(qx, qy);
                        if (inked == 0) continue;
                        const float apart =
                            std::hypot(static_cast<float>(qx - x), static_cast<float>(qy - y));
                        distance =
                            std::min(distance, std::max(0.0f, apart + 0.5f - inked / 255.0f));
                    }
                }
            }
            unsigned char* texel = &texels[(static_cast<size_t>(py) * paddedWidth + px) * 2];
            texel[0] = static_cast<unsigned char>(own);
            texel[1] = static_cast<unsigned char>(
                std::lround(distance / static_cast<float>(glyphPadding) * 255.0f));
        }
    }
    return texels;
}

void createGlyphTexture(char code, const FT_GlyphSlot slot) {
    Glyph glyph;
    const std::vector<unsigned char> texels = paddedGlyph(slot->bitmap);
    glActiveTexture(GL_TEXTURE0 + glyphCreationUnit);
    glGenTextures(1, &glyph.textureId);
    glBindTexture(GL_TEXTURE_2D, glyph.textureId);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RG8,
                 static_cast<GLsizei>(slot->bitmap.width) + 2 * glyphPadding,
                 static_cast<GLsizei>(slot->bitmap.rows) + 2 * glyphPadding, 0, GL_RG,
                 GL_UNSIGNED_BYTE, texels.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glyph.size = glm::ivec2(slot->bitmap.width, slot->bitmap.rows);
    glyph.bearing = glm::ivec2(slot->bitmap_left, slot->bitmap_top);
    glyph.advance = static_cast<unsigned int>(slot->advance.x);
    glyphTable.emplace(code, glyph);
}

// A font whose hinting program is damaged fails every glyph with hinting on, though its
// outlines are fine: such a glyph is drawn unhinted rather than not at all.
bool loadGlyph(FT_Face face, int code) {
    const auto charCode = static_cast<FT_ULong>(code);
    return FT_Load_Char(face, charCode, FT_LOAD_RENDER) == 0 ||
           FT_Load_Char(face, charCode, FT_LOAD_RENDER | FT_LOAD_NO_HINTING) == 0;
}

void createQuadBuffer() {
    glGenVertexArrays(1, &textVao);
    glGenBuffers(1, &textVbo);
    glBindVertexArray(textVao);
    glBindBuffer(GL_ARRAY_BUFFER, textVbo);
    glBufferData(GL_ARRAY_BUFFER, quadBytes, nullptr, GL_DYNAMIC_DRAW);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 4, GL_FLOAT, GL_FALSE, 4 * sizeof(float), nullptr);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindVertexArray(0);
}

}  // namespace

void loadFont(const std::string& fontPath) {
    releaseFont();
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library)) {
        std::cout << "ERROR::FREETYPE: Could not init FreeType Library" << std::endl;
        createQuadBuffer();
        return;
    }
    FT_Face face = nullptr;
    if (FT_New_Face(library, fontPath.c_str(), 0, &face)) {
        std::cout << "ERROR::FREETYPE: Failed to load font" << std::endl;
        FT_Done_FreeType(library);
        createQuadBuffer();
        return;
    }
    FT_Set_Pixel_Sizes(face, 0, pixelHeight);

    // Glyph rows are byte-packed; the game's own textures are all uploaded by now.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    for (int code = 0; code < 128; ++code) {
        if (!loadGlyph(face, code)) {
            std::cout << "ERROR::FREETYTPE: Failed to load Glyph" << std::endl;
            continue;
        }
        createGlyphTexture(static_cast<char>(code), face->glyph);
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    createQuadBuffer();
}

void renderText(const Shader& textProgram, const std::string& text, float x, float y, float scale,
                glm::vec3 colour) {
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    textProgram.use();
    textProgram.setUniform("textColor", colour.x, colour.y, colour.z);
    glActiveTexture(GL_TEXTURE0);
    glBindVertexArray(textVao);
    // The overlay is no geometry: in the wireframe view it is still drawn filled, to be read.
    GLint polygonMode[2] = {GL_FILL, GL_FILL};
    glGetIntegerv(GL_POLYGON_MODE, polygonMode);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);

    struct Placed {
        GLuint texture;
        float quad[6][4];
    };
    std::vector<Placed> placed;
    placed.reserve(text.size());
    const float margin = static_cast<float>(glyphPadding) * scale;
    for (const char c : text) {
        // Characters the font did not give (bytes above 127 among them) draw nothing and
        // leave the pen where it is.
        const auto found = glyphTable.find(c);
        if (found == glyphTable.end()) continue;
        const Glyph& g = found->second;

        // A space is only an advance: its empty bitmap has nothing to draw or to outline.
        if (g.size.x > 0 && g.size.y > 0) {
            const float xpos = x + static_cast<float>(g.bearing.x) * scale;
            const float ypos = y - static_cast<float>(g.size.y - g.bearing.y) * scale;
            const float w = static_cast<float>(g.size.x) * scale;
            const float h = static_cast<float>(g.size.y) * scale;
            // The quad takes in the texture's padding, so the bitmap's own texels stay on the
            // pixels they would cover without it. Its top row is v = 0, at the top of the quad.
            const float left = xpos - margin, right = xpos + w + margin;
            const float bottom = ypos - margin, top = ypos + h + margin;
            placed.push_back({g.textureId,
                              {{left, top, 0.0f, 0.0f},
                               {left, bottom, 0.0f, 1.0f},
                               {right, bottom, 1.0f, 1.0f},
                               {left, top, 0.0f, 0.0f},
                               {right, bottom, 1.0f, 1.0f},
                               {right, top, 1.0f, 0.0f}}});
        }
        // Whole pixels of the 26.6 advance; the fraction goes before scaling.
        x += static_cast<float>(g.advance >> 6) * scale;
    }

    // Every outline first, then every glyph: a neighbour's ring, which reaches into the
    // gap between two letters, must not darken the letter drawn before it.
    for (const int outlinePass : {1, 0}) {
        textProgram.setUniform("outlinePass", outlinePass);
        for (const Placed& glyph : placed) {
            glBindTexture(GL_TEXTURE_2D, glyph.texture);
            glBindBuffer(GL_ARRAY_BUFFER, textVbo);
            glBufferSubData(GL_ARRAY_BUFFER, 0, sizeof glyph.quad, glyph.quad);
            glBindBuffer(GL_ARRAY_BUFFER, 0);
            glDrawArrays(GL_TRIANGLES, 0, 6);
        }
    }
    glPolygonMode(GL_FRONT_AND_BACK, static_cast<GLenum>(polygonMode[0]));
    glBindVertexArray(0);
    glBindTexture(GL_TEXTURE_2D, 0);
}

void releaseFont() {
    for (auto& entry : glyphTable) {
        if (entry.second.textureId) glDeleteTextures(1, &entry.second.textureId);
    }
    glyphTable.clear();
    if (textVbo) {
        glDeleteBuffers(1, &textVbo);
        textVbo = 0;
    }
    if (textVao) {
        glDeleteVertexArrays(1, &textVao);
        textVao = 0;
    }
}

}  // namespace tarn::gfx
