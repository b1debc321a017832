// Noise that repeats exactly over an image's width and height, so that copies
// of the image laid edge to edge show no seam. Only integer hashing and plain
// arithmetic: the same source always draws the same bytes.
#pragma once

#include <cstdint>
#include <vector>

namespace spades::surfaces {

// A hash of a lattice point, 0..1.
double LatticeValue(std::uint32_t seed, int x, int y);

// Smooth value noise over a lattice of cellsX × cellsY cells stretched over a
// width × height image, wrapping at the image's edges. Result 0..1.
class TTileNoise {
public:
    TTileNoise(std::uint32_t seed, int width, int height) : FSeed(seed), FWidth(width), FHeight(height) {}

    double Value(double x, double y, int cellsX, int cellsY, std::uint32_t layer = 0) const;
    // Octaves from cellsX × cellsY upwards, each with twice the cells and gain times the weight.
    double Fractal(double x, double y, int cellsX, int cellsY, int octaves, double gain = 0.5,
                   std::uint32_t layer = 0) const;

private:
    std::uint32_t FSeed;
    int FWidth;
    int FHeight;
};

// A small generator of its own, so that the output never depends on the library's.
class TRandom {
public:
    explicit TRandom(std::uint64_t seed) : FState(seed) {}
    std::uint32_t Next();
    double Unit() { return Next() / 4294967296.0; }  // 0 ≤ u < 1
    int Below(int n) { return static_cast<int>(Unit() * n); }

private:
    std::uint64_t FState;
};

// A field of doubles that wraps at its edges.
class TField {
public:
    TField(int width, int height) : FWidth(width), FHeight(height), FValues(std::size_t(width) * std::size_t(height)) {}
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    double& At(int x, int y) { return FValues[Index(x, y)]; }
    double At(int x, int y) const { return FValues[Index(x, y)]; }
    // Box blur of the given radius, wrapping around.
    TField Blurred(int radiusX, int radiusY) const;

private:
    std::size_t Index(int x, int y) const
    {
        const int wx = ((x % FWidth) + FWidth) % FWidth;
        const int wy = ((y % FHeight) + FHeight) % FHeight;
        return std::size_t(wy) * std::size_t(FWidth) + std::size_t(wx);
    }

    int FWidth;
    int FHeight;
    std::vector<double> FValues;
};

}  // namespace spades::surfaces
