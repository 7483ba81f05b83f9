// Image files for tests written through DevIL, the library the game reads them with, in
// whatever format the path's extension names.
#pragma once

#include <string>
#include <vector>

namespace tarn::test {

// Saves width x height pixels of `channels` bytes each (DevIL format, such as IL_RGB) to
// path, replacing any file there; returns the path. Fails the calling test if DevIL cannot.
std::string writeImageWithDevIL(const std::string& path, int width, int height, int channels,
                                unsigned format, const std::vector<unsigned char>& pixels);

}  // namespace tarn::test
