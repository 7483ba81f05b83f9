// Seeded damage to the game's files, and the known crash patterns, for the fuzz harness.
#include "fuzz/damage.h"

#include <algorithm>
#include <filesystem>
#include <random>
#include <stdexcept>

#include "base/files.h"
#include "fuzz/damaged_files.h"

namespace tarn::fuzz {

namespace {

std::string extensionOf(const std::string& path) {
    return std::filesystem::path(path).extension().string();
}

// Deterministic per (seed, index), whatever the platform's distributions do: only the raw
// 64-bit engine output is used.
class Dice {
public:
    Dice(std::uint64_t seed, std::uint64_t index) : engine_(seed * 0x9E3779B97F4A7C15ull ^ index) {
        engine_.discard(4);
    }
    std::uint64_t below(std::uint64_t bound) { return bound ? engine_() % bound : 0; }
    template <typename T, std::size_t N>
    const T& pick(const T (&choices)[N]) {
        return choices[below(N)];
    }

private:
    std::mt19937_64 engine_;
};

const std::uint32_t edgeWords[] = {0,          1,          0x7F,       0x80,       0xFF,
                                   0x7FFF,     0x8000,     0xFFFF,     0x10000,    0x7FFFFFFF,
                                   0x80000000, 0xFFFFFFFF, 0xFFFFFFFE, 0x00010001, 0x4000};
const char* const edgeNumbers[] = {
    "0",      "-1", "4294967295", "2147483648", "99999999999999999999",
    "1e308",  "-0", "nan",        "65536",      "-2147483649",
    "3.4e39", "1.", ".5e-",       "0x10"};
const char strayBytes[] = {'<',  '>', '/', '-', 'x', '\\', '\r',
                           '\n', ' ', '"', '&', '#', '\0', '='};

bool isNumberByte(char c) { return (c >= '0' && c <= '9') || c == '.' || c == '-' || c == 'e'; }

// One damage step, in place; returns its name.
std::string damageOnce(std::string& bytes, bool text, Dice& dice) {
    if (bytes.empty()) {
        bytes.push_back(static_cast<char>(dice.below(256)));
        return "one byte";
    }
    const std::size_t size = bytes.size();
    const std::size_t at = dice.below(size);
    switch (dice.below(text ? 9 : 7)) {
        case 0:
            bytes.resize(at);
            return "truncated at " + std::to_string(at);
        case 1:
            bytes[at] = static_cast<char>(dice.below(256));
            return "byte " + std::to_string(at) + " set";
        case 2:
            bytes[at] = static_cast<char>(bytes[at] ^ (1 << dice.below(8)));
            return "bit flipped at " + std::to_string(at);
        case 3: {
            // An edge value over a 2- or 4-byte field, either byte order: sizes and counts.
            const std::uint32_t value = dice.pick(edgeWords);
            const std::size_t width = dice.below(2) ? 4 : 2;
            const bool big = dice.below(2);
            for (std::size_t i = 0; i < width && at + i < size; ++i) {
                const std::size_t shift = 8 * (big ? width - 1 - i : i);
                bytes[at + i] = static_cast<char>(value >> shift);
            }
            return "edge value " + std::to_string(value) + " at " + std::to_string(at);
        }
        case 4: {
            const std::size_t length = 1 + dice.below(std::min<std::size_t>(256, size - at));
            bytes.insert(dice.below(size), bytes.substr(at, length));
            return std::to_string(length) + " bytes repeated";
        }
        case 5: {
            const std::size_t length = 1 + dice.below(std::min<std::size_t>(256, size - at));
            bytes.erase(at, length);
            return std::to_string(length) + " bytes deleted at " + std::to_string(at);
        }
        case 6: {
            const std::uint64_t count = 1 + dice.below(16);
            for (std::uint64_t i = 0; i < count; ++i)
                bytes[dice.below(size)] = static_cast<char>(dice.below(256));
            return std::to_string(count) + " bytes scattered";
        }
        case 7: {
            // The number around `at` (or the next one) becomes an edge number.
            std::size_t start = at;
            while (start < size && !isNumberByte(bytes[start])) ++start;
            while (start > 0 && isNumberByte(bytes[start - 1])) --start;
            std::size_t end = start;
            while (end < size && isNumberByte(bytes[end])) ++end;
            const std::string number = dice.pick(edgeNumbers);
            bytes.replace(start, end - start, number);
            return "number at " + std::to_string(start) + " made " + number;
        }
        default:
            bytes.insert(at, 1, dice.pick(strayBytes));
            return "stray byte at " + std::to_string(at);
    }
}

}  // namespace

const std::vector<Format>& formats() {
    static const std::vector<Format> all = [] {
        std::vector<Format> list = {
            {"jpeg",
             "texture",
             {"Textures/moss.jpg", "Models/morvie/morvie_textures/morvie.jpg",
              "Textures/fisch_neu2.jpg", "Textures/greyfish.jpg", "sdkarte8.jpg",
              "Textures/sky_seamless.jpg"},
             false},
            {"png",
             "texture",
             {"Models/duck/duck_textures/duck.png", "Textures/yellowfish.png"},
             false},
            {"tiff",
             "texture",
             {"Textures/caustics/save.01.tif", "Textures/caustics/save.17.tif"},
             false},
            {"heightmap", "heightmap", {"heightmap1.png"}, false},
            {"obj",
             "model",
             {"Models/sun/sun.obj", "Models/sky/sky1.obj", "Models/fish/fish_small.obj",
              "Models/fish/fish_long2.obj", "Models/fish/schwanzflosse_higher.obj",
              "Models/fish/schwanzflosse_long_thin.obj", "Models/morvie/morvie2.obj",
              "Models/lakebed/quadratic_map_mittelschroff_scaled.obj"},
             true},
            {"dae", "model", {"Models/duck/duck.dae"}, true},
            {"ttf", "font", {"Fonts/arial.ttf"}, false},
            {"wav", "sound", {"Sounds/Sonar.wav", "Sounds/Underwater_Pool.wav"}, false},
        };
        return list;
    }();
    return all;
}

DamagedFile damagedCopy(const Format& format, const std::vector<std::string>& seedBytes,
                        std::uint64_t seed, std::uint64_t index) {
    Dice dice(seed, index);
    const std::size_t which = dice.below(seedBytes.size());
    DamagedFile file{format.seeds[which] + ":", extensionOf(format.seeds[which]), seedBytes[which]};
    // Mostly one step, so most damage stays near the file's own structure; sometimes more.
    const std::uint64_t steps = dice.below(4) == 0 ? 2 + dice.below(4) : 1;
    for (std::uint64_t i = 0; i < steps; ++i)
        file.name += " " + damageOnce(file.bytes, format.text, dice);
    return file;
}

std::vector<DamagedFile> knownPatterns(const Format& format,
                                       const std::vector<std::string>& seedBytes) {
    const std::string& first = seedBytes.front();
    const std::string extension = extensionOf(format.seeds.front());
    std::vector<DamagedFile> patterns;
    auto add = [&](const std::string& name, std::string bytes, Expect expect = Expect::refused) {
        patterns.push_back({name, extension, std::move(bytes), expect});
    };
    if (format.name == "jpeg") {
        add("frame header of 32768x65500", jpegClaimingSize(first, 32768, 65500));
        add("frame header of 4096x65500", jpegClaimingSize(first, 4096, 65500));
        add("frame header of 8192x2048, the largest taken", jpegClaimingSize(first, 8192, 2048),
            Expect::anything);
    } else if (format.name == "png" || format.name == "heightmap") {
        add("IHDR of 30000x65535 with a good CRC", pngClaimingSize(first, 30000, 65535));
        add("IHDR of 2048x8192, the largest taken", pngClaimingSize(first, 2048, 8192),
            Expect::anything);
    } else if (format.name == "tiff") {
        add("ImageWidth 4294967295", tiffClaimingWidth(first, 4294967295u));
        add("ImageWidth 2147483647", tiffClaimingWidth(first, 2147483647u));
        add("ImageWidth 8192, the widest taken", tiffClaimingWidth(first, 8192), Expect::anything);
    } else if (format.name == "obj") {
        add("a face of 100000 corners", objWithPolygon(100000));
        add("a face of 1000000 corners", objWithPolygon(1000000));
        add("a face of 256 corners, the largest taken", objWithPolygon(256), Expect::loaded);
        add("a header comment longer than 200 bytes", objWithLongHeaderComment(first),
            Expect::likeIntact);
    } else if (format.name == "dae") {
        add("accessor stride 1000", colladaWithStride(first, "1000"));
        add("accessor stride 4294967295", colladaWithStride(first, "4294967295"));
        add("float_array count -1", colladaWithArrayCount(first, "-1"));
        add("a letter in <p>", colladaWithLetterInIndices(first));
        add("a node instancing itself", colladaWithSelfInstance(first));
        add("10000 nested nodes", colladaWithNestedNodes(first, 10000));
        add("instances doubling 40 times", colladaWithDoublingInstances(first, 40));
        add("a comment of 220 characters before <COLLADA>", colladaWithLongComment(first, 220),
            Expect::likeIntact);
        add("every triangle a strip", colladaAsStripsOrFans(first, "tristrips"),
            Expect::likeIntact);
        add("every triangle a fan", colladaAsStripsOrFans(first, "trifans"), Expect::likeIntact);
        add("lines beside the triangles, counted one too many", colladaWithLines(first),
            Expect::likeIntact);
    } else if (format.name == "ttf") {
        add("damaged hinting programs", fontWithBrokenHinting(first), Expect::loaded);
    } else if (format.name == "wav") {
        add("format chunk cut off", wavWithCutHeader(first));
        add("six channels", wavWithChannels(first, 6), Expect::loaded);
    }
    return patterns;
}

std::vector<std::string> readSeeds(const Format& format, const std::string& resources) {
    std::vector<std::string> seeds;
    for (const std::string& path : format.seeds) {
        const std::string full = resources + "/" + path;
        if (!std::filesystem::is_regular_file(full))
            throw std::runtime_error("missing seed " + full);
        seeds.push_back(base::readFile(full));
    }
    return seeds;
}

}  // namespace tarn::fuzz
