// Glyph rasterising with FreeType and the per-character quad drawing of the overlay.
#include "gfx/text.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <iostream>

namespace tarn::gfx {

std::map<char, Glyph> glyphTable;

namespace {

constexpr FT_UInt pixelHeight = 30;
constexpr unsigned glyphCreationUnit = units::glyphCreation;
// One quad: two triangles of (x, y, u, v).
constexpr GLsizeiptr quadBytes = 6 * 4 * sizeof(float);

GLuint textVao = 0;
GLuint textVbo = 0;

void createGlyphTexture(char code, const FT_GlyphSlot slot) {
    Glyph glyph;
    glActiveTexture(GL_TEXTURE0 + glyphCreationUnit);
    glGenTextures(1, &glyph.textureId);
    glBindTexture(GL_TEXTURE_2D, glyph.textureId);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RED, static_cast<GLsizei>(slot->bitmap.width),
                 static_cast<GLsizei>(slot->bitmap.rows), 0, GL_RED, GL_UNSIGNED_BYTE,
                 slot->bitmap.buffer);
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

void renderText(const Shader& textProgram, const std::string& text, float x, float y,
                float scale, glm::vec3 colour) {
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    textProgram.use();
    textProgram.setUniform("textColor", colour.x, colour.y, colour.z);
    glActiveTexture(GL_TEXTURE0);
    glBindVertexArray(textVao);

    for (const char c : text) {
        // Characters the font did not give (bytes above 127 among them) draw nothing and
        // leave the pen where it is.
        const auto found = glyphTable.find(c);
        if (found == glyphTable.end()) continue;
        const Glyph& g = found->second;

        const float xpos = x + static_cast<float>(g.bearing.x) * scale;
        const float ypos = y - static_cast<float>(g.size.y - g.bearing.y) * scale;
        const float w = static_cast<float>(g.size.x) * scale;
        const float h = static_cast<float>(g.size.y) * scale;
        // The bitmap's top row is v = 0, at the top of the quad.
        const float quad[6][4] = {
            {xpos, ypos + h, 0.0f, 0.0f}, {xpos, ypos, 0.0f, 1.0f},
            {xpos + w, ypos, 1.0f, 1.0f}, {xpos, ypos + h, 0.0f, 0.0f},
            {xpos + w, ypos, 1.0f, 1.0f}, {xpos + w, ypos + h, 1.0f, 0.0f},
        };
        glBindTexture(GL_TEXTURE_2D, g.textureId);
        glBindBuffer(GL_ARRAY_BUFFER, textVbo);
        glBufferSubData(GL_ARRAY_BUFFER, 0, sizeof quad, quad);
        glBindBuffer(GL_ARRAY_BUFFER, 0);
        glDrawArrays(GL_TRIANGLES, 0, 6);

        // Whole pixels of the 26.6 advance; the fraction goes before scaling.
        x += static_cast<float>(g.advance >> 6) * scale;
    }
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
