// Images of the asset generator: an 8-bit pixel buffer whose row 0 is the top row, painting
// from a colour function, and writing PNG and JPEG through DevIL and TIFF by hand.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tarn::assets {

struct Color {
    double r = 0, g = 0, b = 0;
};
inline Color rgb(int r, int g, int b) { return {r / 255.0, g / 255.0, b / 255.0}; }
inline Color operator+(Color a, Color b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
inline Color operator*(Color a, double s) { return {a.r * s, a.g * s, a.b * s}; }
inline Color mix(Color a, Color b, double t) { return a * (1.0 - t) + b * t; }

struct Image {
    int width = 0;
    int height = 0;
    int channels = 3;                  // 3: RGB, 4: RGBA
    std::vector<std::uint8_t> pixels;  // row 0 first, the top row of the picture

    Image() = default;
    Image(int w, int h, int c) : width(w), height(h), channels(c), pixels(size_t(w) * h * c, 0) {}
    std::uint8_t* at(int x, int y) { return &pixels[(size_t(y) * width + x) * channels]; }
    const std::uint8_t* at(int x, int y) const {
        return &pixels[(size_t(y) * width + x) * channels];
    }
    void set(int x, int y, Color c);
    Color get(int x, int y) const;
};

// Fills an RGB image from f(u, v) at pixel centres, u to the right and v upwards in [0, 1]
// (the texture-coordinate convention of the model files: v = 1 is the top row).
Image paint(int width, int height, const std::function<Color(double u, double v)>& f);

// Each returns false and prints the reason when the file cannot be written.
bool savePng(const Image& image, const std::string& path);
bool saveJpeg(const Image& image, const std::string& path, int quality = 92);
// Uncompressed baseline TIFF: DevIL's own TIFF writer stamps the date into the file.
bool saveTiff(const Image& image, const std::string& path);

// Loads any image DevIL reads, converted to RGB, rows in the order DevIL delivers them
// (which is also the order the game uploads them in). Empty image on failure.
Image loadImage(const std::string& path);

}  // namespace tarn::assets
