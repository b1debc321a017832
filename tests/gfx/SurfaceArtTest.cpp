// The table surfaces: tiled over the whole table, no repeat may show. What
// gives a repeat away is anything broader than the grain — a blotch, a wave, a
// clump — since it comes back at the same place in every tile. So the surface
// is measured in blocks, whose mean brightness must hardly vary, and wood's
// rings must run straight.
#include "Surfaces.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace spades::surfaces {
namespace {

double Brightness(const TIndexedImage& image, int x, int y)
{
    const TColour c = image.palette[image.At(x % image.width, y % image.height)];
    return 0.299 * c.red + 0.587 * c.green + 0.114 * c.blue;
}

struct TSurfaceCase {
    const char* Name;
    std::function<TIndexedImage()> Draw;
    int Width;
    int Height;
    bool Grain;  // rings that run across the tile and show
};

class TableSurface : public testing::TestWithParam<TSurfaceCase> {};

TEST_P(TableSurface, KeepsItsResourceSize)
{
    const TSurfaceCase& c = GetParam();
    const TIndexedImage image = c.Draw();
    EXPECT_EQ(image.width, c.Width);
    EXPECT_EQ(image.height, c.Height);
    EXPECT_EQ(image.bitsPerPixel, 8);
}

// The spread of the mean brightness of square blocks laid over the tile
// (wrapping at its edges), as a share of the mean brightness.
double BlockSpread(const TIndexedImage& image, int block)
{
    double lowest = 1e9, highest = 0, total = 0;
    int blocks = 0;
    for (int top = 0; top < image.height; top += block / 2)
        for (int left = 0; left < image.width; left += block / 2) {
            double sum = 0;
            for (int y = top; y < top + block; ++y)
                for (int x = left; x < left + block; ++x)
                    sum += Brightness(image, x, y);
            const double mean = sum / (block * block);
            lowest = std::min(lowest, mean);
            highest = std::max(highest, mean);
            total += mean;
            ++blocks;
        }
    return (highest - lowest) / (total / blocks);
}

TEST_P(TableSurface, HasNoBlotchThatMarksEachTile)
{
    const TIndexedImage image = GetParam().Draw();
    // Blocks of a quarter of the tile's width: a blotch or a clump of that
    // size shows as a grid over the table.
    EXPECT_LT(BlockSpread(image, image.width / 4), 0.09);
}

// The surfaces whose rings show.
class GrainedSurface : public TableSurface {};

TEST_P(GrainedSurface, HasNoWaveAlongTheGrain)
{
    const TIndexedImage image = GetParam().Draw();
    // The rings' brightness down a strip five pixels wide, compared with the
    // same a third of the tile further on: straight grain matches; grain that
    // waves comes back at the same place in every tile.
    const auto profile = [&](int left) {
        std::vector<double> values;
        for (int y = 0; y < image.height; ++y) {
            double sum = 0;
            for (int x = left; x < left + 5; ++x)
                sum += Brightness(image, x, y);
            values.push_back(sum / 5);
        }
        return values;
    };
    const auto correlation = [](const std::vector<double>& a, const std::vector<double>& b) {
        const double n = double(a.size());
        double ma = 0, mb = 0;
        for (size_t i = 0; i < a.size(); ++i) {
            ma += a[i] / n;
            mb += b[i] / n;
        }
        double ab = 0, aa = 0, bb = 0;
        for (size_t i = 0; i < a.size(); ++i) {
            ab += (a[i] - ma) * (b[i] - mb);
            aa += (a[i] - ma) * (a[i] - ma);
            bb += (b[i] - mb) * (b[i] - mb);
        }
        return ab / std::sqrt(aa * bb);
    };
    for (int left = 0; left < image.width; left += image.width / 6)
        EXPECT_GT(correlation(profile(left), profile(left + image.width / 3)), 0.6) << left;
}

// Relative luminance of an sRGB colour, 0..1.
double Luminance(double red, double green, double blue)
{
    const auto linear = [](double c) {
        c /= 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(red) + 0.7152 * linear(green) + 0.0722 * linear(blue);
}

TEST_P(TableSurface, LeavesTheSeatNamesReadable)
{
    const TIndexedImage image = GetParam().Draw();
    double red = 0, green = 0, blue = 0;
    const double n = double(image.width) * image.height;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const TColour c = image.palette[image.At(x, y)];
            red += c.red / n;
            green += c.green / n;
            blue += c.blue / n;
        }
    // The table writes the seat names in mid grey (0x80) with a raised edge;
    // the surface must stand well apart from that grey.
    const double text = Luminance(0x80, 0x80, 0x80), ground = Luminance(red, green, blue);
    const double contrast = (std::max(text, ground) + 0.05) / (std::min(text, ground) + 0.05);
    EXPECT_GT(contrast, 1.6) << "mean colour " << red << ", " << green << ", " << blue;
}

std::vector<TSurfaceCase> Surfaces(bool grainedOnly = false)
{
    std::vector<TSurfaceCase> cases = {{"GreenCloth", DrawGreenCloth, 100, 100, false},
                                       {"Mahogany", DrawMahogany, 124, 125, false},
                                       {"Oak", DrawOak, 124, 125, true},
                                       {"Granite", DrawGranite, 90, 81, false}};
    if (grainedOnly)
        std::erase_if(cases, [](const TSurfaceCase& c) { return !c.Grain; });
    return cases;
}

std::string SurfaceName(const testing::TestParamInfo<TSurfaceCase>& info) { return info.param.Name; }

INSTANTIATE_TEST_SUITE_P(Generator, TableSurface, testing::ValuesIn(Surfaces()), SurfaceName);
INSTANTIATE_TEST_SUITE_P(Generator, GrainedSurface, testing::ValuesIn(Surfaces(true)), SurfaceName);

}  // namespace
}  // namespace spades::surfaces
