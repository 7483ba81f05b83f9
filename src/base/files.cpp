// Whole files read as bytes.
#include "base/files.h"

#include <fstream>
#include <sstream>

namespace tarn::base {

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

}  // namespace tarn::base
