// Full-window quad.
#include "render/screen_quad.h"

#include <GL/glew.h>

namespace tarn::render {

namespace {

GLuint quadVao = 0;
GLuint quadVbo = 0;

void createQuad() {
    // x, y, z, u, v; a triangle strip.
    const float vertices[] = {
        -1.0f, 1.0f, 0.0f, 0.0f, 1.0f,  -1.0f, -1.0f, 0.0f, 0.0f, 0.0f,
        1.0f,  1.0f, 0.0f, 1.0f, 1.0f,  1.0f,  -1.0f, 0.0f, 1.0f, 0.0f,
    };
    glGenVertexArrays(1, &quadVao);
    glGenBuffers(1, &quadVbo);
    glBindVertexArray(quadVao);
    glBindBuffer(GL_ARRAY_BUFFER, quadVbo);
    glBufferData(GL_ARRAY_BUFFER, sizeof vertices, vertices, GL_STATIC_DRAW);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 5 * sizeof(float), nullptr);
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, 5 * sizeof(float),
                          reinterpret_cast<void*>(3 * sizeof(float)));
}

}  // namespace

void renderScreenQuad() {
    if (quadVao == 0) createQuad();
    glBindVertexArray(quadVao);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    glBindVertexArray(0);
}

void releaseScreenQuad() {
    if (quadVbo) {
        glDeleteBuffers(1, &quadVbo);
        quadVbo = 0;
    }
    if (quadVao) {
        glDeleteVertexArrays(1, &quadVao);
        quadVao = 0;
    }
}

}  // namespace tarn::render
