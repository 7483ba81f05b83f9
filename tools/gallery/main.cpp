// tarnhollow-gallery: fixed views of the lake rendered through the game's real frame, with
// a fixed clock and camera, saved as PNG files for people to look at and for checking
// that a change keeps the picture; a winning photo as the game keeps it (kept-photo.png);
// and the game's menu icons, Morvie rendered the same way.
//
//     tarnhollow-gallery RUN_DIR OUT_DIR
//     tarnhollow-gallery --icons RUN_DIR ICON_DIR NAME   ICON_DIR/<N>x<N>/apps/NAME.png
#include <GL/glew.h>  // before GLFW, which the game's headers bring in after it
#include <GLFW/glfw3.h>
#include <IL/il.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <set>
#include <vector>

#include "app/camera.h"
#include "app/frame_loop.h"
#include "app/game_state.h"
#include "app/globals.h"
#include "app/input.h"
#include "app/photos.h"
#include "base/files.h"
#include "game_harness.h"
#include "scene/world.h"

using namespace tarn;

namespace {

constexpr int width = 800;
constexpr int height = 600;

// The hicolor theme's sizes, 16 to 256 pixels.
constexpr int iconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};
// The square of the window the icons are made from: its centre, clear of the overlay's
// texts in the corners.
constexpr int iconSquare = 480;
// Up to this size a whole creature would be a streak of a few pixels: those icons show a
// square cut close around it, where it fills at least this share.
constexpr int closeCropUpTo = 32;
constexpr double closeCropFill = 0.55;

// A square of the window, in pixels from its lower left corner.
struct Square {
    int x0, y0, side;
};

// The time the gallery's kept photo says it was taken: SOURCE_DATE_EPOCH when the build
// sets one, as reproducible builds do, otherwise this version's release morning, so that
// drawing the gallery again writes the same bytes.
constexpr std::time_t galleryPhotoTime = 1796622299;  // 2026-12-07T05:44:59Z

// Pixels bottom row first, as GL reads them and as DevIL's default origin expects.
bool savePng(const std::string& path, int w, int h, int channels, const std::uint8_t* pixels) {
    ILuint image = 0;
    ilGenImages(1, &image);
    ilBindImage(image);
    ilTexImage(w, h, 1, ILubyte(channels), channels == 4 ? IL_RGBA : IL_RGB, IL_UNSIGNED_BYTE,
               const_cast<std::uint8_t*>(pixels));
    ilEnable(IL_FILE_OVERWRITE);
    const bool saved = ilSave(IL_PNG, path.c_str());
    ilDeleteImages(1, &image);
    return saved;
}

// SOURCE_DATE_EPOCH's seconds when it is set, galleryPhotoTime when not; -1 for a value
// that is no count of seconds.
std::time_t photoTime() {
    const char* epoch = std::getenv("SOURCE_DATE_EPOCH");
    if (!epoch) return galleryPhotoTime;
    char* end = nullptr;
    errno = 0;
    const long long seconds = std::strtoll(epoch, &end, 10);
    if (!*epoch || *end || errno || seconds < 0) return -1;
    return std::time_t(seconds);
}

std::uint32_t bigEndian32(const std::string& bytes, size_t at) {
    std::uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i) value = value << 8 | std::uint8_t(bytes[at + i]);
    return value;
}

std::string pngChunk(const std::string& type, const std::string& data) {
    std::string chunk;
    const auto put32 = [&chunk](std::uint32_t value) {
        for (int shift = 24; shift >= 0; shift -= 8) chunk += char(value >> shift & 0xff);
    };
    put32(std::uint32_t(data.size()));
    const std::string typeAndData = type + data;
    chunk += typeAndData;
    put32(std::uint32_t(
        crc32(0, reinterpret_cast<const Bytef*>(typeAndData.data()), uInt(typeAndData.size()))));
    return chunk;
}

// Sets the "Creation Time" text of a kept photo to when, in UTC; the pixels and the other
// facts stay as the game wrote them. False when the file is no PNG with that text.
bool setPhotoTime(const std::string& path, std::time_t when) {
    const std::string key = std::string("Creation Time") + '\0';
    const std::string bytes = base::readFile(path);
    if (bytes.size() < 8 || bytes.compare(1, 3, "PNG") != 0) return false;
    std::tm utc{};
    gmtime_r(&when, &utc);
    char stamp[40];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%dT%H:%M:%S.000+00:00", &utc);

    std::string out = bytes.substr(0, 8);
    bool set = false;
    for (size_t at = 8; at + 12 <= bytes.size();) {
        const size_t length = bigEndian32(bytes, at);
        if (length > bytes.size() - at - 12) return false;
        const std::string type = bytes.substr(at + 4, 4);
        if (type == "tEXt" && bytes.compare(at + 8, key.size(), key) == 0) {
            out += pngChunk(type, key + stamp);
            set = true;
        } else {
            out += bytes.substr(at, 12 + length);
        }
        at += 12 + length;
    }
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << out;
    return set && bool(file.flush());
}

// Plays to the winning photo in the spotlight, from where the creature view looks, with the
// photos kept in a scratch folder of its own; the kept file is copied to path, taken at the
// gallery's fixed time.
bool keepWinningPhoto(const std::filesystem::path& path) {
    namespace fs = std::filesystem;
    const std::time_t takenAt = photoTime();
    if (takenAt < 0) {
        std::cerr << "SOURCE_DATE_EPOCH is no count of seconds: "
                  << std::getenv("SOURCE_DATE_EPOCH") << std::endl;
        return false;
    }
    std::string scratch = (fs::temp_directory_path() / "tarnhollow-gallery-XXXXXX").string();
    if (!mkdtemp(scratch.data())) return false;
    std::cout.setstate(std::ios::failbit);
    double now = harness::startFreshGame(false);
    app::beginPhotos(scratch);
    app::ScriptedInput input;
    for (double t = 0.0; t < 2.0; t += harness::viewFrameStep) {
        app::runFrame(input, now += harness::viewFrameStep);
    }
    const glm::vec3 creature = app::world.morvie->position();
    app::placeCamera(creature + glm::vec3(2.0f, 1.0f, 2.5f), creature);
    for (const std::set<int>& keys : {std::set<int>{app::keys::m}, {app::keys::p}, {}}) {
        input.keys = keys;
        app::runFrame(input, now += harness::viewFrameStep);
    }
    app::endPhotos();
    std::cout.clear();
    bool copied = false;
    for (const fs::directory_entry& entry : fs::directory_iterator(scratch)) {
        std::error_code error;
        copied = fs::copy_file(entry.path(), path, fs::copy_options::overwrite_existing, error);
    }
    fs::remove_all(scratch);
    harness::releaseView();
    return copied && setPhotoTime(path.string(), takenAt);
}

// Says what became of a file; 1 for a failure, to be counted.
int reportWrite(bool written, const std::string& path) {
    if (written) {
        std::cout << "wrote " << path << std::endl;
        return 0;
    }
    std::cerr << "could not write " << path << std::endl;
    return 1;
}

// The start view with the pause overlay, the most text the game shows at once, in a window
// of its own of each size: the overlay keeps its places at 800 by 600 and scales with the
// framebuffer elsewhere.
int writeOverlaySizes(const std::filesystem::path& outDir) {
    int failures = 0;
    GLFWwindow* gallery = app::window;
    for (const auto& [w, h] : {std::pair{640, 480}, {800, 600}, {1920, 1080}}) {
        GLFWwindow* sized = harness::openGameWindow(w, h, "tarnhollow-gallery", false);
        const std::string path =
            (outDir / ("overlay-" + std::to_string(w) + "x" + std::to_string(h) + ".png")).string();
        if (!sized) {
            failures += reportWrite(false, path);
            continue;
        }
        harness::renderView(harness::galleryViews().front());
        app::game.paused = true;
        app::ScriptedInput input;
        app::runFrame(input, app::gameClock.lastFrame + harness::viewFrameStep);
        std::vector<unsigned char> rgb = harness::readBackBuffer(w, h);
        failures += reportWrite(savePng(path, w, h, 3, rgb.data()), path);
        harness::releaseView();
        glfwDestroyWindow(sized);
    }
    glfwMakeContextCurrent(gallery);
    app::window = gallery;
    glfwGetFramebufferSize(gallery, &app::screenWidth, &app::screenHeight);
    app::aspectRatio = float(app::screenWidth) / float(app::screenHeight);
    return failures;
}

int writeGallery(const std::filesystem::path& outDir) {
    int failures = 0;
    for (const harness::View& view : harness::galleryViews()) {
        harness::renderView(view);
        const std::string path = (outDir / (std::string(view.name) + ".png")).string();
        std::vector<unsigned char> rgb = harness::readBackBuffer(width, height);
        failures += reportWrite(savePng(path, width, height, 3, rgb.data()), path);
        harness::releaseView();
    }
    const std::string kept = (outDir / "kept-photo.png").string();
    failures += reportWrite(keepWinningPhoto(kept), kept);
    return failures + writeOverlaySizes(outDir);
}

// Morvie from ahead and to one side under the spotlight, in its own frame (it swims along
// its own x axis), near enough to fill the icon's square with its head, neck and body.
const harness::View iconView = {"icon", 2.0, [](app::ScriptedInput& input) {
                                    const glm::mat4& model = app::world.morvie->modelMatrix;
                                    const glm::vec3 ahead = glm::normalize(glm::vec3(model[0]));
                                    const glm::vec3 up = glm::normalize(glm::vec3(model[1]));
                                    const glm::vec3 side = glm::normalize(glm::vec3(model[2]));
                                    const glm::vec3 creature = app::world.morvie->position();
                                    app::placeCamera(creature + 2.4f * ahead + 0.5f * up + side,
                                                     creature + 0.45f * ahead);
                                    input.keys = {app::keys::m};
                                }};

// Where the window shows Morvie rather than the water: away from the water's colour, the
// clear colour the fog also fades to.
std::vector<bool> creatureMask(const std::vector<std::uint8_t>& rgb) {
    const int water[3] = {83, 83, 166};
    std::vector<bool> mask(size_t(width) * height);
    for (size_t i = 0; i < mask.size(); ++i) {
        int distance = 0;
        for (int c = 0; c < 3; ++c) distance += std::abs(rgb[i * 3 + c] - water[c]);
        mask[i] = distance > 60;
    }
    return mask;
}

// The largest square within whole of which the creature fills at least closeCropFill,
// wherever it lies; of those, the fullest.
Square closeCrop(const std::vector<bool>& mask, const Square& whole) {
    // Creature pixels below and left of each corner, for the count in any square at once.
    const int n = whole.side;
    std::vector<int> below(size_t(n + 1) * (n + 1), 0);
    const auto at = [&below, n](int x, int y) -> int& { return below[size_t(y) * (n + 1) + x]; };
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x)
            at(x + 1, y + 1) = at(x, y + 1) + at(x + 1, y) - at(x, y) +
                               mask[size_t(whole.y0 + y) * width + whole.x0 + x];
    for (int side = n; side >= 8; side -= 4) {
        Square best{0, 0, 0};
        double bestFill = closeCropFill;
        for (int y = 0; y + side <= n; y += 2) {
            for (int x = 0; x + side <= n; x += 2) {
                const int count =
                    at(x + side, y + side) - at(x, y + side) - at(x + side, y) + at(x, y);
                const double fill = double(count) / (double(side) * side);
                if (fill < bestFill) continue;
                bestFill = fill;
                best = {whole.x0 + x, whole.y0 + y, side};
            }
        }
        if (best.side > 0) return best;
    }
    return whole;
}

// The square, averaged down to size by the share of each source pixel a target pixel
// covers, with rounded corners that fade out in alpha. RGBA, bottom row first.
std::vector<std::uint8_t> iconPixels(const std::vector<std::uint8_t>& rgb, const Square& square,
                                     int size) {
    const int x0 = square.x0;
    const int y0 = square.y0;
    const double scale = double(square.side) / size;
    const double radius = size * 0.18;
    std::vector<std::uint8_t> out(size_t(size) * size * 4);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            double sum[3] = {0, 0, 0};
            double weightSum = 0;
            const double sx0 = x * scale, sx1 = (x + 1) * scale;
            const double sy0 = y * scale, sy1 = (y + 1) * scale;
            for (int sy = int(sy0); sy < int(std::ceil(sy1)); ++sy) {
                const double wy = std::min(sy1, sy + 1.0) - std::max(sy0, double(sy));
                for (int sx = int(sx0); sx < int(std::ceil(sx1)); ++sx) {
                    const double w = wy * (std::min(sx1, sx + 1.0) - std::max(sx0, double(sx)));
                    const std::uint8_t* p = &rgb[(size_t(y0 + sy) * width + x0 + sx) * 3];
                    for (int c = 0; c < 3; ++c) sum[c] += w * p[c];
                    weightSum += w;
                }
            }
            // Distance outside the rounded square, measured from the pixel's centre.
            const double cx = x + 0.5, cy = y + 0.5;
            const double dx = std::max({radius - cx, cx - (size - radius), 0.0});
            const double dy = std::max({radius - cy, cy - (size - radius), 0.0});
            const double outside = std::hypot(dx, dy) - radius;
            const double alpha = std::clamp(0.5 - outside, 0.0, 1.0);
            std::uint8_t* o = &out[(size_t(y) * size + x) * 4];
            for (int c = 0; c < 3; ++c) o[c] = std::uint8_t(std::lround(sum[c] / weightSum));
            o[3] = std::uint8_t(std::lround(alpha * 255.0));
        }
    }
    return out;
}

int writeIcons(const std::filesystem::path& iconDir, const std::string& name) {
    harness::renderView(iconView);
    const std::vector<std::uint8_t> rgb = harness::readBackBuffer(width, height);
    harness::releaseView();
    const Square whole{(width - iconSquare) / 2, (height - iconSquare) / 2, iconSquare};
    const Square close = closeCrop(creatureMask(rgb), whole);
    int failures = 0;
    for (int size : iconSizes) {
        const std::string side = std::to_string(size);
        const std::filesystem::path folder = iconDir / (side + "x" + side) / "apps";
        std::filesystem::create_directories(folder);
        const std::string path = (folder / (name + ".png")).string();
        const std::vector<std::uint8_t> icon =
            iconPixels(rgb, size <= closeCropUpTo ? close : whole, size);
        failures += reportWrite(savePng(path, size, size, 4, icon.data()), path);
    }
    return failures;
}

int usage() {
    std::cerr << "usage: tarnhollow-gallery RUN_DIR OUT_DIR\n"
                 "       tarnhollow-gallery --icons RUN_DIR ICON_DIR NAME"
              << std::endl;
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    const bool icons = argc == 5 && std::strcmp(argv[1], "--icons") == 0;
    if (!icons && argc != 3) return usage();
    const char* runDir = argv[icons ? 2 : 1];
    const std::filesystem::path outDir = std::filesystem::absolute(argv[icons ? 3 : 2]);
    std::filesystem::create_directories(outDir);
    if (chdir(runDir) != 0) {
        std::cerr << "cannot enter " << runDir << std::endl;
        return 2;
    }
    if (!harness::openGameWindow(width, height, "tarnhollow-gallery", false)) return 1;

    const int failures = icons ? writeIcons(outDir, argv[4]) : writeGallery(outDir);
    glfwTerminate();
    return failures == 0 ? 0 : 1;
}
