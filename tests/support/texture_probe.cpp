// Loads each image path given into a Texture in a hidden window: lets tests run image
// files that might hang the loader in a process they can kill.
#include <iostream>

#include "gfx/texture.h"
#include "support/gl_context.h"

int main(int argc, char** argv) {
    tarn::test::ensureGLContext();
    for (int i = 1; i < argc; ++i) {
        tarn::gfx::Texture texture(argv[i]);
        std::cout << "texture " << texture.id << " done" << std::endl;
    }
    return 0;
}
