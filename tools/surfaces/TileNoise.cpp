#include "TileNoise.h"

namespace spades::surfaces {

namespace {

std::uint32_t Mix(std::uint32_t h)
{
    h ^= h >> 16;
    h *= 0x7feb352dU;
    h ^= h >> 15;
    h *= 0x846ca68bU;
    h ^= h >> 16;
    return h;
}

int Wrap(int value, int period) { return ((value % period) + period) % period; }

double Fade(double t) { return t * t * t * (t * (t * 6 - 15) + 10); }

double Lerp(double a, double b, double t) { return a + (b - a) * t; }

int Floor(double v)
{
    const int i = static_cast<int>(v);
    return v < i ? i - 1 : i;
}

}  // namespace

double LatticeValue(std::uint32_t seed, int x, int y)
{
    const std::uint32_t h = Mix(seed ^ Mix(std::uint32_t(x) * 0x9E3779B1U ^ Mix(std::uint32_t(y) + 0x632BE5ABU)));
    return (h >> 8) / 16777216.0;
}

double TTileNoise::Value(double x, double y, int cellsX, int cellsY, std::uint32_t layer) const
{
    const double u = x * cellsX / FWidth;
    const double v = y * cellsY / FHeight;
    const int iu = Floor(u);
    const int iv = Floor(v);
    const double fu = Fade(u - iu);
    const double fv = Fade(v - iv);
    const std::uint32_t seed = Mix(FSeed + layer * 0x85EBCA6BU + std::uint32_t(cellsX) * 131u + std::uint32_t(cellsY));
    const int x0 = Wrap(iu, cellsX), x1 = Wrap(iu + 1, cellsX);
    const int y0 = Wrap(iv, cellsY), y1 = Wrap(iv + 1, cellsY);
    const double top = Lerp(LatticeValue(seed, x0, y0), LatticeValue(seed, x1, y0), fu);
    const double bottom = Lerp(LatticeValue(seed, x0, y1), LatticeValue(seed, x1, y1), fu);
    return Lerp(top, bottom, fv);
}

double TTileNoise::Fractal(double x, double y, int cellsX, int cellsY, int octaves, double gain,
                           std::uint32_t layer) const
{
    double sum = 0;
    double weight = 1;
    double total = 0;
    for (int o = 0; o < octaves; ++o) {
        sum += weight * Value(x, y, cellsX << o, cellsY << o, layer + std::uint32_t(o));
        total += weight;
        weight *= gain;
    }
    return sum / total;
}

std::uint32_t TRandom::Next()
{
    // SplitMix64
    std::uint64_t z = (FState += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return static_cast<std::uint32_t>((z ^ (z >> 31)) >> 32);
}

TField TField::Blurred(int radiusX, int radiusY) const
{
    TField horizontal(FWidth, FHeight);
    for (int y = 0; y < FHeight; ++y)
        for (int x = 0; x < FWidth; ++x) {
            double sum = 0;
            for (int d = -radiusX; d <= radiusX; ++d)
                sum += At(x + d, y);
            horizontal.At(x, y) = sum / (2 * radiusX + 1);
        }
    TField result(FWidth, FHeight);
    for (int y = 0; y < FHeight; ++y)
        for (int x = 0; x < FWidth; ++x) {
            double sum = 0;
            for (int d = -radiusY; d <= radiusY; ++d)
                sum += horizontal.At(x, y + d);
            result.At(x, y) = sum / (2 * radiusY + 1);
        }
    return result;
}

}  // namespace spades::surfaces
