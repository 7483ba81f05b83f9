// Builds one Shader from the two paths given, in a hidden window: lets tests watch the
// fatal paths (message, exit status) from outside the process.
#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include <iostream>

#include "gfx/shader.h"
#include "support/gl_context.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: shader_probe VERTEX FRAGMENT" << std::endl;
        return 2;
    }
    tarn::test::ensureGLContext();
    tarn::gfx::Shader shader(argv[1], argv[2]);
    std::cout << "built program " << shader.program << std::endl;
    return 0;
}
