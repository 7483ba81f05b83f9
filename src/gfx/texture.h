// 2D textures made from image files (DevIL, 8-bit RGB, full mipmap chain), and the
// per-frame sampling settings of the texture units.
#pragma once

#include <GL/glew.h>

#include <string>

namespace tarn::gfx {

// Owns one GL texture object; move-only, so exactly one holder deletes it. Needs a current
// GL context from construction to release.
class Texture {
public:
    // Loads and uploads at once. A file that cannot be opened, decoded or converted, or
    // whose image is larger than GL or the game takes, is reported on the console with
    // its path and the reason, and yields one black pixel, safe to sample. Leaves the new
    // texture bound to unit 0 and unit 0 active.
    explicit Texture(const std::string& path);
    ~Texture();
    Texture(Texture&& other) noexcept;
    Texture& operator=(Texture&& other) noexcept;
    Texture(const Texture&) = delete;
    Texture& operator=(const Texture&) = delete;

    // Makes the unit active and binds this texture there.
    void bind(unsigned unit) const;
    // Deletes the texture object; safe to call again.
    void release();

    std::string path;
    GLuint id = 0;
};

// Sets the filters of the textures bound to units 0 to 10, leaving unit 10 active. Units 8
// and 10 (shadow map, light shafts) keep their own filters.
void applyTextureSampling(bool mipmappingEnabled, bool nearestSampling);

// Reports on standard error when the DevIL or ILU found at run time is older than the one
// the game is built against. The game goes on either way.
void checkImageLibraryVersion();

}  // namespace tarn::gfx
