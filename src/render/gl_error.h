// GL error report: one line naming the pending error and where it was asked from.
#pragma once

#include <string>

namespace tarn::render {

// The report line for an error code (without the line end). Known codes are named;
// for any other code only the place and label are given.
std::string formatGLError(const char* file, int line, const char* label, unsigned int code);

// Takes one pending GL error. Returns true when there was none; otherwise writes the
// report line on standard error and returns false. Never stops the program.
bool checkGLError(const char* file, int line, const char* label);

}  // namespace tarn::render
