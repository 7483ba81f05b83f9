// What an image file must pass before DevIL sees it, and the checked opening all loaders use.
#pragma once

#include <cstdint>
#include <string>

namespace tarn::check {

// The largest side, and the most pixels, the game takes from any image file. Its own are
// 1024 at most. Past these DevIL and the decoders under it run for seconds, overflow, or
// with the GL upload ask for more than a gigabyte (8192x8192 RGB needs about 1.3 GB).
constexpr int maxImageSide = 8192;
constexpr std::uint64_t maxImagePixels = 4096 * 4096;

// Why the file must not reach the image library, in a few words ("the header claims
// 32768x65500 pixels, more than 8192 a side"); empty when it may go on. Refused: a PNG
// with broken chunks, and a PNG, JPEG or TIFF (told by its first bytes, not its name)
// whose header claims a side of 0 or over maxSide, more than maxImagePixels, or cannot
// be read far enough to tell. Missing files and other formats are left to the library.
std::string imageFileProblem(const std::string& path, int maxSide = maxImageSide);

// The same for the bytes of a file.
std::string imageProblem(const std::string& bytes, int maxSide = maxImageSide);

// The text for an image the library did load, but larger than maxSide on one side or
// than maxImagePixels in all; empty when it fits.
std::string oversizeProblem(std::uint32_t width, std::uint32_t height, int maxSide);

// Why an image could not be opened.
struct ImageOpenFailure {
    unsigned code = 0;  // DevIL's error code; its "illegal file value" for a refusal
    std::string text;   // DevIL's text, or the checks' reason
    bool refused = false;  // by the checks here rather than by the library
};

// DevIL's last error, with its text.
ImageOpenFailure imageLibraryFailure();

// Loads the file into DevIL's bound image unless the header checks refuse it, DevIL fails,
// or the image it loaded is larger than maxSide (formats the header check does not read);
// false, with the reason, then.
bool openCheckedImage(const std::string& path, int maxSide, ImageOpenFailure& failure);

}  // namespace tarn::check
