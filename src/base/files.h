// Whole files as bytes, for the loaders' checks, the fuzz harness and the tests.
#pragma once

#include <string>

namespace tarn::base {

// The file's bytes; a file that cannot be read reads as empty.
std::string readFile(const std::string& path);

}  // namespace tarn::base
