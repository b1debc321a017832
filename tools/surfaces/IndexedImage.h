// A palette image as the BMP files of the resources hold it, and its BMP bytes.
#pragma once

#include <cstdint>
#include <vector>

namespace spades::surfaces {

struct TColour {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
};

struct TIndexedImage {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 8;            // 8 or 4
    std::vector<TColour> palette;    // 256 or 16 entries
    std::vector<std::uint8_t> pixels;  // palette indices, rows top to bottom

    TIndexedImage(int w, int h, int bits) : width(w), height(h), bitsPerPixel(bits), pixels(std::size_t(w) * std::size_t(h)) {}
    std::uint8_t& At(int x, int y) { return pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)]; }
    std::uint8_t At(int x, int y) const { return pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)]; }
};

// An uncompressed BMP file: file header, BITMAPINFOHEADER, palette and
// bottom-up rows padded to four bytes.
std::vector<std::uint8_t> EncodeBmp(const TIndexedImage& image);

}  // namespace spades::surfaces
