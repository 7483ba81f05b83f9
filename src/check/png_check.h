// PNG chunk structure checked first, since DevIL can loop forever on a PNG cut short.
#pragma once

#include <string>

namespace tarn::check {

// What is wrong with the chunk structure of bytes that start with the PNG signature, in a
// few words ("chunk IDAT runs past the end of the file"); empty for a sound PNG and for
// anything else, which is left to the image library.
std::string pngChunkProblem(const std::string& bytes);

}  // namespace tarn::check
