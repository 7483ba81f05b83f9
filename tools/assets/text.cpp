// FreeType text into generator images.
#include "text.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

namespace tarn::assets {

const char* fontSourcePath() { return TARNHOLLOW_FONT_FILE; }

bool drawText(Image& image, int left, int baseline, const std::string& text, int pixelHeight,
              Color color, bool bold) {
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library)) return false;
    FT_Face face = nullptr;
    if (FT_New_Face(library, fontSourcePath(), 0, &face)) {
        FT_Done_FreeType(library);
        return false;
    }
    FT_Set_Pixel_Sizes(face, 0, FT_UInt(pixelHeight));
    int penX = left;
    for (unsigned char ch : text) {
        if (FT_Load_Char(face, ch, FT_LOAD_DEFAULT)) continue;
        if (bold) FT_Outline_Embolden(&face->glyph->outline, pixelHeight * 3);
        if (FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL)) continue;
        const FT_Bitmap& bitmap = face->glyph->bitmap;
        const int x0 = penX + face->glyph->bitmap_left, y0 = baseline - face->glyph->bitmap_top;
        for (unsigned row = 0; row < bitmap.rows; ++row) {
            for (unsigned col = 0; col < bitmap.width; ++col) {
                const int x = x0 + int(col), y = y0 + int(row);
                if (x < 0 || y < 0 || x >= image.width || y >= image.height) continue;
                const double coverage = bitmap.buffer[row * bitmap.pitch + col] / 255.0;
                image.set(x, y, mix(image.get(x, y), color, coverage));
            }
        }
        penX += int(face->glyph->advance.x >> 6);
    }
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    return true;
}

}  // namespace tarn::assets
