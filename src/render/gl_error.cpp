// GL error report.
#include "render/gl_error.h"

#include <GL/glew.h>

#include <iostream>
#include <sstream>

namespace tarn::render {

namespace {

const char* errorName(unsigned int code) {
    switch (code) {
        case GL_INVALID_ENUM: return "GL_INVALID_ENUM";
        case GL_INVALID_VALUE: return "GL_INVALID_VALUE";
        case GL_INVALID_OPERATION: return "GL_INVALID_OPERATION";
        case GL_STACK_OVERFLOW: return "GL_STACK_OVERFLOW";
        case GL_STACK_UNDERFLOW: return "GL_STACK_UNDERFLOW";
        case GL_OUT_OF_MEMORY: return "GL_OUT_OF_MEMORY";
        case GL_INVALID_FRAMEBUFFER_OPERATION: return "GL_INVALID_FRAMEBUFFER_OPERATION";
        default: return nullptr;
    }
}

}  // namespace

std::string formatGLError(const char* file, int line, const char* label, unsigned int code) {
    std::ostringstream out;
    out << "[E] " << file << ":" << line;
    if (const char* name = errorName(code)) {
        out << " <<" << label << ">> " << name;
    } else {
        out << ": " << label;
    }
    return out.str();
}

bool checkGLError(const char* file, int line, const char* label) {
    const GLenum code = glGetError();
    if (code == GL_NO_ERROR) return true;
    std::cerr << formatGLError(file, line, label, code) << std::endl;
    return false;
}

}  // namespace tarn::render
