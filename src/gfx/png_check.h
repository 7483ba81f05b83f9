// A structural check of PNG files, made before a file reaches the image library: DevIL
// 1.7.8 can loop forever on a PNG that is cut short, so broken ones must never get there.
#pragma once

#include <string>

namespace tarn::gfx {

// False only for a file that starts with the PNG signature but whose chunk structure is
// broken. Anything else (a missing file, another format) is left to the image library.
bool pngStructureIsSound(const std::string& path);

// What is wrong with the PNG's chunk structure, in a few words ("chunk IDAT runs past the
// end of the file"); empty wherever pngStructureIsSound is true.
std::string pngStructureProblem(const std::string& path);

// The same for the bytes of a file.
std::string pngChunkProblem(const std::string& bytes);

}  // namespace tarn::gfx
