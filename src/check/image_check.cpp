// Image header sizes read as DevIL's decoders will, refused before any of them allocates.
#include "check/image_check.h"

#include <IL/il.h>
#include <IL/ilu.h>

#include <algorithm>
#include <set>

#include "base/files.h"
#include "check/png_check.h"

namespace tarn::check {

namespace {

// Bounds-checked reads over a file's bytes; callers ask has() first.
class ByteView {
public:
    explicit ByteView(const std::string& bytes) : bytes_(bytes) {}

    std::size_t size() const { return bytes_.size(); }
    bool has(std::size_t at, std::size_t count) const {
        return at <= bytes_.size() && count <= bytes_.size() - at;
    }
    std::uint32_t u8(std::size_t at) const { return static_cast<unsigned char>(bytes_[at]); }
    std::uint32_t bigEndian16(std::size_t at) const { return (u8(at) << 8) | u8(at + 1); }
    std::uint32_t bigEndian32(std::size_t at) const {
        return (bigEndian16(at) << 16) | bigEndian16(at + 2);
    }
    std::uint32_t u16(std::size_t at, bool littleEndian) const {
        return littleEndian ? (u8(at + 1) << 8) | u8(at) : bigEndian16(at);
    }
    std::uint32_t u32(std::size_t at, bool littleEndian) const {
        return littleEndian ? (u16(at + 2, true) << 16) | u16(at, true) : bigEndian32(at);
    }
    bool startsWith(const char* prefix, std::size_t length) const {
        return has(0, length) && bytes_.compare(0, length, prefix, length) == 0;
    }

private:
    const std::string& bytes_;
};

std::string sizeProblem(const char* what, std::uint64_t width, std::uint64_t height, int maxSide) {
    const std::string size = std::to_string(width) + "x" + std::to_string(height) + " pixels";
    if (width == 0 || height == 0) return std::string(what) + " " + size + ", an empty image";
    const auto limit = static_cast<std::uint64_t>(maxSide);
    if (width > limit || height > limit) {
        return std::string(what) + " " + size + ", more than " + std::to_string(maxSide) +
               " a side";
    }
    if (width * height > maxImagePixels) {
        return std::string(what) + " " + size + ", more than " + std::to_string(maxImagePixels) +
               " in all";
    }
    return {};
}

std::string pngProblem(const std::string& bytes, int maxSide) {
    if (std::string chunks = pngChunkProblem(bytes); !chunks.empty()) return chunks;
    // The chunk walk has seen IHDR first, whole and with a good CRC: width and height are
    // its first eight bytes.
    const ByteView view(bytes);
    if (view.bigEndian32(8) < 8) return "the IHDR chunk is too short to hold a size";
    return sizeProblem("the header claims", view.bigEndian32(16), view.bigEndian32(20), maxSide);
}

// Frame headers (SOF0 to SOF15) are C0 to CF, less DHT (C4), JPG (C8) and DAC (CC).
bool isFrameHeader(std::uint32_t marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Walks the markers as libjpeg does: whatever lies between segments is skipped up to the
// next 0xFF, fill bytes of 0xFF are skipped, and the first frame header is the one it
// decodes (a second is an error there).
std::string jpegProblem(const ByteView& view, int maxSide) {
    std::size_t at = 2;
    for (;;) {
        while (at < view.size() && view.u8(at) != 0xFF) ++at;
        while (at < view.size() && view.u8(at) == 0xFF) ++at;
        if (at >= view.size()) return "the file ends before its frame header";
        const std::uint32_t marker = view.u8(at++);
        if (marker == 0x00) continue;  // a stuffed zero, not a marker
        if (isFrameHeader(marker)) {
            // Segment length (2), sample precision (1), height (2), width (2).
            if (!view.has(at, 7)) return "the frame header is cut short";
            return sizeProblem("the header claims", view.bigEndian16(at + 5),
                               view.bigEndian16(at + 3), maxSide);
        }
        if (marker == 0xD8 || marker == 0xD9 || marker == 0xDA) {
            return "no frame header before the image data";
        }
        if ((marker >= 0xD0 && marker <= 0xD7) || marker == 0x01) continue;  // no length
        if (!view.has(at, 2)) return "the file ends before its frame header";
        const std::uint32_t length = view.bigEndian16(at);
        if (length < 2) return "a segment before the frame header has a length below 2";
        at += length;
    }
}

constexpr std::uint32_t tiffImageWidth = 256;
constexpr std::uint32_t tiffImageLength = 257;
constexpr std::uint32_t tiffShort = 3;
constexpr std::uint32_t tiffLong = 4;
// The game's frames have one directory; a few more are harmless, a long chain is not.
constexpr int maxTiffDirectories = 16;

// Every directory in the chain, since libtiff may visit each: the size of each must be
// plain (one SHORT or LONG) and within bounds.
std::string tiffProblem(const ByteView& view, bool little, int maxSide) {
    if (view.u16(2, little) == 43) return "a BigTIFF file, which the game does not read";
    std::uint32_t offset = view.u32(4, little);
    std::set<std::uint32_t> seen;
    for (int directory = 1; offset != 0; ++directory) {
        const std::string name = "directory " + std::to_string(directory);
        if (directory > maxTiffDirectories) {
            return "more than " + std::to_string(maxTiffDirectories) + " directories";
        }
        if (!seen.insert(offset).second) return name + " points back to an earlier one";
        if (!view.has(offset, 2)) return name + " lies outside the file";
        const std::uint32_t entries = view.u16(offset, little);
        const std::size_t first = std::size_t{offset} + 2;
        if (!view.has(first, std::size_t{entries} * 12 + 4)) {
            return name + " runs past the end of the file";
        }

        std::uint64_t width = 0;
        std::uint64_t height = 0;
        for (std::uint32_t i = 0; i < entries; ++i) {
            const std::size_t entry = first + std::size_t{i} * 12;
            const std::uint32_t tag = view.u16(entry, little);
            if (tag != tiffImageWidth && tag != tiffImageLength) continue;
            const std::uint32_t type = view.u16(entry + 2, little);
            if (view.u32(entry + 4, little) != 1 || (type != tiffShort && type != tiffLong)) {
                return name + " gives its size in an unusual field";
            }
            const std::uint64_t value =
                type == tiffShort ? view.u16(entry + 8, little) : view.u32(entry + 8, little);
            // libtiff keeps the first of a repeated tag, but the largest is the one to fear.
            std::uint64_t& side = tag == tiffImageWidth ? width : height;
            side = std::max(side, value);
        }
        if (std::string problem =
                sizeProblem(("the header of " + name + " claims").c_str(), width, height, maxSide);
            !problem.empty()) {
            return problem;
        }
        offset = view.u32(first + std::size_t{entries} * 12, little);
    }
    return {};
}

}  // namespace

std::string imageProblem(const std::string& bytes, int maxSide) {
    const ByteView view(bytes);
    if (view.startsWith("\x89PNG\r\n\x1a\n", 8)) return pngProblem(bytes, maxSide);
    if (view.startsWith("\xFF\xD8", 2)) return jpegProblem(view, maxSide);
    if (view.startsWith("II\x2A\x00", 4) || view.startsWith("II\x2B\x00", 4)) {
        if (!view.has(0, 8)) return "the TIFF header is cut short";
        return tiffProblem(view, true, maxSide);
    }
    if (view.startsWith("MM\x00\x2A", 4) || view.startsWith("MM\x00\x2B", 4)) {
        if (!view.has(0, 8)) return "the TIFF header is cut short";
        return tiffProblem(view, false, maxSide);
    }
    return {};
}

std::string imageFileProblem(const std::string& path, int maxSide) {
    return imageProblem(base::readFile(path), maxSide);
}

std::string oversizeProblem(std::uint32_t width, std::uint32_t height, int maxSide) {
    return sizeProblem("the image is", width, height, maxSide);
}

ImageOpenFailure imageLibraryFailure() {
    const ILenum code = ilGetError();
    const char* text = iluErrorString(code);
    return {code, text ? text : "unknown error", false};
}

bool openCheckedImage(const std::string& path, int maxSide, ImageOpenFailure& failure) {
    if (std::string problem = imageFileProblem(path, maxSide); !problem.empty()) {
        failure = {IL_ILLEGAL_FILE_VALUE, std::move(problem), true};
        return false;
    }
    if (!ilLoadImage(path.c_str())) {
        failure = imageLibraryFailure();
        return false;
    }
    std::string oversize = oversizeProblem(static_cast<std::uint32_t>(ilGetInteger(IL_IMAGE_WIDTH)),
                                           static_cast<std::uint32_t>(ilGetInteger(IL_IMAGE_HEIGHT)),
                                           maxSide);
    if (!oversize.empty()) {
        failure = {IL_ILLEGAL_FILE_VALUE, std::move(oversize), true};
        return false;
    }
    return true;
}

}  // namespace tarn::check
