// DevIL's image saving, for fixtures.
#include "support/devil_image.h"

#include <IL/il.h>
#include <gtest/gtest.h>

namespace tarn::test {

std::string writeImageWithDevIL(const std::string& path, int width, int height, int channels,
                                unsigned format, const std::vector<unsigned char>& pixels) {
    ilInit();
    ILuint image = 0;
    ilGenImages(1, &image);
    ilBindImage(image);
    ilTexImage(static_cast<ILuint>(width), static_cast<ILuint>(height), 1,
               static_cast<ILubyte>(channels), format, IL_UNSIGNED_BYTE,
               const_cast<unsigned char*>(pixels.data()));
    ilEnable(IL_FILE_OVERWRITE);
    EXPECT_TRUE(ilSaveImage(path.c_str())) << path;
    ilDeleteImages(1, &image);
    return path;
}

}  // namespace tarn::test
