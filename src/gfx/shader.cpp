// Shader program: read, compile, link, and set uniforms by name.
#include "gfx/shader.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <vector>

#include <glm/gtc/type_ptr.hpp>

#include "base/console.h"

namespace tarn::gfx {

namespace {

// A build failure with the driver's log: the log goes on its own line, up to its first NUL.
[[noreturn]] void failWithLog(const char* message, const std::vector<char>& log) {
    std::cerr << message << std::endl;
    std::cerr << (log.empty() ? "" : log.data()) << std::endl;
    base::consolePause();
    std::exit(1);
}

}  // namespace

Shader::Shader(const std::string& vertexPath, const std::string& fragmentPath) {
    // The program exists before either file is read; the fragment file is never opened
    // when the vertex stage fails.
    program = glCreateProgram();
    if (program == 0) base::fatalExit("Failed to create shader program");
    compileStage(vertexStage, vertexPath, GL_VERTEX_SHADER);
    compileStage(fragmentStage, fragmentPath, GL_FRAGMENT_SHADER);
    link();
}

Shader::~Shader() {
    glDeleteProgram(program);
    glDeleteShader(vertexStage);
    glDeleteShader(fragmentStage);
}

void Shader::compileStage(GLuint& stage, const std::string& path, GLenum type) {
    std::ifstream file(path);
    if (!file.good()) base::fatalExit("Failed to open shader file: " + path);
    const std::string source((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    file.close();

    stage = glCreateShader(type);
    if (stage == 0) base::fatalExit("Failed to create shader");
    const char* text = source.c_str();
    glShaderSource(stage, 1, &text, nullptr);
    glCompileShader(stage);

    GLint status = 0;
    glGetShaderiv(stage, GL_COMPILE_STATUS, &status);
    if (status != 0 && glIsShader(stage)) return;

    GLint logLength = 0;
    glGetShaderiv(stage, GL_INFO_LOG_LENGTH, &logLength);
    std::vector<char> log(static_cast<size_t>(std::max(logLength, 1)), '\0');
    glGetShaderInfoLog(stage, logLength, nullptr, log.data());
    failWithLog("Failed to compile shader", log);
}

void Shader::link() {
    glAttachShader(program, vertexStage);
    glAttachShader(program, fragmentStage);
    glLinkProgram(program);

    GLint status = 0;
    glGetProgramiv(program, GL_LINK_STATUS, &status);
    if (status != 0) return;

    GLint logLength = 0;
    glGetProgramiv(program, GL_INFO_LOG_LENGTH, &logLength);
    std::vector<char> log(static_cast<size_t>(std::max(logLength, 1)), '\0');
    glGetProgramInfoLog(program, logLength, nullptr, log.data());
    failWithLog("Failed to link program", log);
}

void Shader::use() const { glUseProgram(program); }

bool Shader::collectMissingUniforms = false;

GLint Shader::location(const char* name) const {
    const GLint found = glGetUniformLocation(program, name);
    if (found < 0 && collectMissingUniforms) missingUniforms.insert(name);
    return found;
}

void Shader::setUniform(const char* name, int v) const { glUniform1i(location(name), v); }
void Shader::setUniform(const char* name, float v) const { glUniform1f(location(name), v); }
void Shader::setUniform(const char* name, int x, int y) const { glUniform2i(location(name), x, y); }
void Shader::setUniform(const char* name, float x, float y) const {
    glUniform2f(location(name), x, y);
}
void Shader::setUniform(const char* name, int x, int y, int z) const {
    glUniform3i(location(name), x, y, z);
}
void Shader::setUniform(const char* name, float x, float y, float z) const {
    glUniform3f(location(name), x, y, z);
}
void Shader::setUniform(const char* name, int x, int y, int z, int w) const {
    glUniform4i(location(name), x, y, z, w);
}
void Shader::setUniform(const char* name, float x, float y, float z, float w) const {
    glUniform4f(location(name), x, y, z, w);
}
void Shader::setUniform(const char* name, glm::mat2 m) const {
    glUniformMatrix2fv(location(name), 1, GL_FALSE, glm::value_ptr(m));
}
void Shader::setUniform(const char* name, glm::mat3 m) const {
    glUniformMatrix3fv(location(name), 1, GL_FALSE, glm::value_ptr(m));
}
void Shader::setUniform(const char* name, glm::mat4 m) const {
    glUniformMatrix4fv(location(name), 1, GL_FALSE, glm::value_ptr(m));
}

}  // namespace tarn::gfx
