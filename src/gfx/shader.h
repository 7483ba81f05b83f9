// One linked GL program built from a vertex and a fragment source file.
#pragma once

#include <GL/glew.h>

#include <glm/glm.hpp>
#include <memory>
#include <set>
#include <string>

namespace tarn::gfx {

// Builds the program completely or ends the process: every build failure is fatal
// (message on standard error, console pause, exit status 1). Owns the program and both
// stages; not copyable, so exactly one holder releases them.
class Shader {
public:
    Shader(const std::string& vertexPath, const std::string& fragmentPath);
    ~Shader();
    Shader(const Shader&) = delete;
    Shader& operator=(const Shader&) = delete;

    void use() const;

    // Each setter looks the location up anew; a name the program lacks is ignored by GL.
    // The program must be current (use()) when a setter is called.
    void setUniform(const char* name, int v) const;
    void setUniform(const char* name, float v) const;
    void setUniform(const char* name, int x, int y) const;
    void setUniform(const char* name, float x, float y) const;
    void setUniform(const char* name, int x, int y, int z) const;
    void setUniform(const char* name, float x, float y, float z) const;
    void setUniform(const char* name, int x, int y, int z, int w) const;
    void setUniform(const char* name, float x, float y, float z, float w) const;
    void setUniform(const char* name, glm::mat2 m) const;
    void setUniform(const char* name, glm::mat3 m) const;
    void setUniform(const char* name, glm::mat4 m) const;

    GLuint program = 0;
    GLuint vertexStage = 0;
    GLuint fragmentStage = 0;

    // While on, the names set on a program that does not have them are kept in
    // missingUniforms, so a test can catch a misspelt or stale name. Off in the game.
    static bool collectMissingUniforms;
    mutable std::set<std::string> missingUniforms;

private:
    void compileStage(GLuint& stage, const std::string& path, GLenum type);
    void link();
    GLint location(const char* name) const;
};

}  // namespace tarn::gfx
