// A structural check of PNG files, made before a file reaches the image library: DevIL
// 1.7.8 can loop forever on a PNG that is cut short, so broken ones must never get there.
#pragma once

#include <string>

namespace tarn::gfx {

// What is wrong with the chunk structure of bytes that start with the PNG signature, in a
// few words ("chunk IDAT runs past the end of the file"); empty for a sound PNG and for
// anything else, which is left to the image library.
std::string pngChunkProblem(const std::string& bytes);

}  // namespace tarn::gfx
