// Runs one of the game's loaders on one file, the way start-up does, and exits: the unit
// of work of the fuzz harness, which watches it from outside for crashes, time and memory.
//   fuzz_probe texture|heightmap|model|font|sound FILE
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <new>
#include <string>

#include "gfx/model.h"
#include "gfx/text.h"
#include "gfx/texture.h"
#include "scene/height_map.h"
#include "sound/sound.h"
#include "game_harness.h"

#if defined(__SANITIZE_ADDRESS__)
#define TARNHOLLOW_OWN_MALLOC 0
#else
#define TARNHOLLOW_OWN_MALLOC 1
#endif

namespace {

// Exit status for a run that asked for more memory than its cap: the harness counts it
// apart from crashes, whatever the loader would have made of the failed allocation.
constexpr int outOfMemoryStatus = 3;

[[noreturn]] void outOfMemory() {
    const char message[] = "fuzz_probe: out of memory\n";
    (void)!write(STDERR_FILENO, message, sizeof message - 1);
    _exit(outOfMemoryStatus);
}

// Walks the map as the camera and the fish do, edge to edge: lookups must stay inside it.
double walkHeightMap(const tarn::scene::HeightMap& map) {
    double sum = 0.0;
    for (double x = -56.0; x <= 56.0; x += 0.5)
        for (double z = -56.0; z <= 56.0; z += 0.5) sum += map.terrainHeight(x, z);
    return sum;
}

int usage() {
    std::cerr << "usage: fuzz_probe texture|heightmap|model|font|sound FILE" << std::endl;
    return 2;
}

}  // namespace

#if TARNHOLLOW_OWN_MALLOC
// The C libraries under the loaders (DevIL, libjpeg, libtiff, FreeType, libsndfile) take
// a null from malloc as their own error, so a run over the address-space cap would pass
// unnoticed; these wrappers make every failed allocation end the run as out of memory.
extern "C" {
void* __libc_malloc(std::size_t);
void* __libc_calloc(std::size_t, std::size_t);
void* __libc_realloc(void*, std::size_t);
void* __libc_memalign(std::size_t, std::size_t);

void* malloc(std::size_t size) {
    void* p = __libc_malloc(size);
    if (!p && size) outOfMemory();
    return p;
}
void* calloc(std::size_t count, std::size_t size) {
    void* p = __libc_calloc(count, size);
    if (!p && count && size) outOfMemory();
    return p;
}
void* realloc(void* old, std::size_t size) {
    void* p = __libc_realloc(old, size);
    if (!p && size) outOfMemory();
    return p;
}
void* memalign(std::size_t alignment, std::size_t size) {
    void* p = __libc_memalign(alignment, size);
    if (!p && size) outOfMemory();
    return p;
}
void* aligned_alloc(std::size_t alignment, std::size_t size) { return memalign(alignment, size); }
int posix_memalign(void** out, std::size_t alignment, std::size_t size) {
    *out = memalign(alignment, size);
    return 0;
}
}
#endif

int main(int argc, char** argv) {
    if (argc != 3) return usage();
    std::set_new_handler(outOfMemory);
    const std::string kind = argv[1];
    const std::string file = argv[2];

    if (kind == "heightmap") {
        const tarn::scene::HeightMap map(file);
        std::cout << "height map " << map.width << "x" << map.height << ", floor sum "
                  << walkHeightMap(map) << std::endl;
    } else if (kind == "sound") {
        // The null backend mixes without a sound card, so every file is decoded in full.
        setenv("ALSOFT_DRIVERS", "null", 0);
        tarn::sound::Engine* engine = tarn::sound::createEngine();
        if (!engine) {
            std::cerr << "fuzz_probe: no sound engine" << std::endl;
            return 1;
        }
        tarn::sound::play2D(engine, file.c_str(), true, false, false);
        const tarn::sound::Sound ping =
            tarn::sound::play2D(engine, file.c_str(), false, false, true);
        tarn::sound::setVolume(engine, ping, 0.5f);
        if (tarn::sound::cachedBufferCount(engine) > 0)
            std::cout << "sound of " << tarn::sound::cachedBufferBytes(engine) << " bytes"
                      << std::endl;
        tarn::sound::dropEngine(engine);
    } else if (kind == "texture" || kind == "model" || kind == "font") {
        if (!tarn::harness::openGameWindow(64, 64, "fuzz_probe", false)) {
            std::cerr << "fuzz_probe: no OpenGL 3.3 context" << std::endl;
            return 1;
        }
        if (kind == "texture") {
            const tarn::gfx::Texture texture(file);
            std::cout << "texture " << texture.id << std::endl;
        } else if (kind == "model") {
            const tarn::gfx::Model model(file);
            std::size_t triangles = 0;
            for (const tarn::gfx::Mesh& mesh : model.meshes) triangles += mesh.indices.size() / 3;
            std::cout << "model of " << model.meshes.size() << " meshes\n"
                      << "model draws " << triangles << " triangles" << std::endl;
        } else {
            tarn::gfx::loadFont(file);
            std::cout << tarn::gfx::glyphTable.size() << " glyphs" << std::endl;
            tarn::gfx::releaseFont();
        }
    } else {
        return usage();
    }
    return 0;
}
