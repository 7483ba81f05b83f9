// Text drawn into images with FreeType and the game's own font: the SD card's label and
// the captions of the contact sheet.
#pragma once

#include <string>

#include "image.h"

namespace tarn::assets {

// Draws `text` with its baseline at row `baseline`, starting at column `left`, blending
// the glyph coverage over the pixels. Returns false when the font cannot be used.
bool drawText(Image& image, int left, int baseline, const std::string& text, int pixelHeight,
              Color color, bool bold = false);

// Path of the font the generator copies into Resources/Fonts.
const char* fontSourcePath();

}  // namespace tarn::assets
