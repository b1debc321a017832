#include "Surfaces.h"

#include "TileNoise.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <initializer_list>

namespace spades::surfaces {

namespace {

struct TStop {
    double at;
    TColour colour;
};

// 256 colours blended between the stops, dark to light.
std::vector<TColour> Gradient(std::initializer_list<TStop> stops)
{
    std::vector<TColour> palette(256);
    const std::vector<TStop> s(stops);
    for (int i = 0; i < 256; ++i) {
        const double t = i / 255.0;
        std::size_t k = 0;
        while (k + 2 < s.size() && t > s[k + 1].at)
            ++k;
        const double span = s[k + 1].at - s[k].at;
        const double f = std::clamp((t - s[k].at) / span, 0.0, 1.0);
        const auto mix = [f](std::uint8_t a, std::uint8_t b) {
            return static_cast<std::uint8_t>(std::lround(a + (b - a) * f));
        };
        palette[std::size_t(i)] = {mix(s[k].colour.red, s[k + 1].colour.red),
                                   mix(s[k].colour.green, s[k + 1].colour.green),
                                   mix(s[k].colour.blue, s[k + 1].colour.blue)};
    }
    return palette;
}

std::uint8_t ToIndex(double v)
{
    return static_cast<std::uint8_t>(std::clamp(std::lround(v * 255.0), 0L, 255L));
}

TField WhiteNoise(int width, int height, TRandom& random)
{
    TField field(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            field.At(x, y) = random.Unit() - 0.5;
    return field;
}

// Short straight strokes added into the field, wrapping at the edges.
void Strokes(TField& field, TRandom& random, int count, int minLength, int maxLength, double strength,
             std::initializer_list<std::array<double, 2>> directions)
{
    const std::vector<std::array<double, 2>> dirs(directions);
    for (int n = 0; n < count; ++n) {
        const double x0 = random.Unit() * field.Width();
        const double y0 = random.Unit() * field.Height();
        const auto& d = dirs[std::size_t(random.Below(int(dirs.size())))];
        const double norm = std::sqrt(d[0] * d[0] + d[1] * d[1]);
        const int length = minLength + random.Below(maxLength - minLength + 1);
        const double amount = strength * (random.Unit() < 0.5 ? -1.0 : 1.0) * (0.5 + 0.5 * random.Unit());
        for (int k = 0; k < length; ++k) {
            // Softer at the ends, so that a stroke fades in and out.
            const double along = (k + 0.5) / length;
            const double taper = 1.0 - std::abs(2.0 * along - 1.0) * 0.6;
            const int x = static_cast<int>(std::floor(x0 + d[0] / norm * k));
            const int y = static_cast<int>(std::floor(y0 + d[1] / norm * k));
            field.At(x, y) += amount * taper;
        }
    }
}

double Bump(double f, double centre, double width)
{
    const double d = (f - centre) / width;
    return d * d >= 1.0 ? 0.0 : (1.0 - d * d) * (1.0 - d * d);
}

double Smooth(double edge0, double edge1, double v)
{
    const double t = std::clamp((v - edge0) / (edge1 - edge0), 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

double Fract(double v) { return v - std::floor(v); }

TIndexedImage FromField(const TField& field, std::vector<TColour> palette)
{
    TIndexedImage image(field.Width(), field.Height(), 8);
    image.palette = std::move(palette);
    for (int y = 0; y < field.Height(); ++y)
        for (int x = 0; x < field.Width(); ++x)
            image.At(x, y) = ToIndex(field.At(x, y));
    return image;
}

struct TWoodStyle {
    std::uint32_t seed;
    int rings;              // growth rings across the height
    double ringWarp;        // how far the rings wander, in ring widths
    double earlyLate;       // contrast between the light and the dark part of a ring
    double lineDepth;       // the dark band of late wood at the end of each ring
    double fineLines;       // faint lines that follow the rings
    double streaks;         // fine fibre streaks along the grain
    double figure;          // broad light and dark bands (ribbon figure)
    int pores;              // dark pore dashes
    double poreDepth;
    double poreInEarlyWood; // 0: anywhere; 1: only in the early wood
    int flecks;             // light ray flecks across the grain
    int warpCellsY;         // 1: all rings wander alike; more: each its own way
};

TField DrawWoodField(const TWoodStyle& style, int width, int height)
{
    TTileNoise noise(style.seed, width, height);
    TRandom random(style.seed);
    TField field(width, height);
    TField phase(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            // Only a fine wander, too small to repeat visibly from tile to tile.
            const double warp = noise.Fractal(x, y, 8, style.warpCellsY, 2, 0.45, 1) - 0.5;
            // Half a ring on, so that the tile's edge falls inside a ring, not on the dark
            // line that ends one.
            const double t = (y + 0.5) * style.rings / height + 0.5 + style.ringWarp * warp;
            const double f = Fract(t);
            phase.At(x, y) = f;
            // Light early wood darkening into the late wood at the end of the ring.
            const double ring = style.earlyLate * (0.5 - Smooth(0.35, 1.0, f)) - style.lineDepth * Bump(f, 0.93, 0.09);
            const double fine = style.fineLines * (Bump(Fract(t * 7.0), 0.5, 0.25) - 0.3);
            const double streak = style.streaks * (noise.Fractal(x, y, 6, 50, 2, 0.6, 20) - 0.5);
            const double figure = style.figure * (noise.Fractal(x, y, 2, 6, 2, 0.5, 30) - 0.5);
            field.At(x, y) = 0.5 + ring + fine + streak + figure;
        }
    }
    // Pores: short dark dashes along the grain, most of them in the early wood.
    TField pores(width, height);
    for (int n = 0; n < style.pores; ++n) {
        const int x0 = random.Below(width);
        const int y0 = random.Below(height);
        const double keep = 1.0 - style.poreInEarlyWood * phase.At(x0, y0);
        const int length = 2 + random.Below(7);
        const double depth = style.poreDepth * (0.5 + 0.5 * random.Unit());
        if (random.Unit() > keep)
            continue;
        for (int k = 0; k < length; ++k)
            pores.At(x0 + k, y0) -= depth * (k == 0 || k == length - 1 ? 0.5 : 1.0);
    }
    TField flecks(width, height);
    Strokes(flecks, random, style.flecks, 2, 4, 0.08, {{1, 0}, {4, 1}, {4, -1}});
    const TField grain = WhiteNoise(width, height, random).Blurred(2, 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            field.At(x, y) += pores.At(x, y) + std::abs(flecks.At(x, y)) + 0.12 * grain.At(x, y);
    return field;
}

}  // namespace

TIndexedImage DrawGreenCloth()
{
    // Felt: a fine, even nap of short crossing fibres, barely mottled.
    constexpr int kSize = 100;
    TTileNoise noise(0x6A1CEu, kSize, kSize);
    TRandom random(0xBA12Eu);
    const TField felt = WhiteNoise(kSize, kSize, random);
    const TField nap = felt.Blurred(1, 1);
    TField fibres(kSize, kSize);
    Strokes(fibres, random, 1400, 3, 6, 0.07, {{1, 0}, {0, 1}, {1, 1}, {1, -1}, {2, 1}, {1, 2}, {2, -1}, {1, -2}});
    TField field(kSize, kSize);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            const double mottle = noise.Fractal(x, y, 4, 4, 3, 0.6) - 0.5;
            field.At(x, y) = 0.5 + 0.025 * mottle + 0.08 * felt.At(x, y) + 0.25 * nap.At(x, y) + fibres.At(x, y);
        }
    return FromField(field, Gradient({{0.0, {4, 40, 18}},
                                      {0.5, {20, 104, 48}},
                                      {1.0, {80, 168, 104}}}));
}

TIndexedImage DrawMahogany()
{
    // Straight, close grain with long dark pores and a soft ribbon figure.
    const TWoodStyle style{0x3A60u, 10, 0.15, 0.05, 0.06, 0.03, 0.16, 0.0, 420, 0.14, 0.0, 0, 5};
    return FromField(DrawWoodField(style, 124, 125), Gradient({{0.0, {30, 8, 4}},
                                                               {0.35, {74, 22, 12}},
                                                               {0.65, {112, 40, 22}},
                                                               {1.0, {160, 76, 46}}}));
}

TIndexedImage DrawOak()
{
    // Wide rings with a dark band of late wood, open pores in the early wood and light ray flecks.
    const TWoodStyle style{0x0A4Bu, 8, 0.06, 0.22, 0.07, 0.04, 0.20, 0.0, 700, 0.12, 0.9, 90, 8};
    // Pale oak, so that the seat names' mid grey stands out against it.
    return FromField(DrawWoodField(style, 124, 125), Gradient({{0.0, {134, 92, 34}},
                                                               {0.35, {206, 156, 70}},
                                                               {0.70, {232, 190, 102}},
                                                               {1.0, {248, 218, 140}}}));
}

TIndexedImage DrawGranite()
{
    // Crystals: the cells around points jittered on a 3-pixel grid, each one mineral.
    constexpr int kWidth = 90;
    constexpr int kHeight = 81;
    constexpr int kGrid = 3;
    constexpr int kCellsX = kWidth / kGrid;
    constexpr int kCellsY = kHeight / kGrid;
    TRandom random(0x570EEu);

    struct TCrystal {
        double x, y, tone;
    };
    // Dark mica and light quartz are scattered evenly through the grey feldspar,
    // never two alike side by side: a clump of either would mark each tile's
    // place on the table.
    // Every block of 3 x 3 crystals holds two of dark mica and one of light
    // quartz at random places, the rest grey feldspar: the minerals lie evenly
    // over the stone, since a clump of either would mark each tile's place on
    // the table.
    enum class TMineral { Feldspar, Mica, Quartz };
    std::vector<TMineral> minerals(std::size_t(kCellsX * kCellsY), TMineral::Feldspar);
    for (int by = 0; by < kCellsY; by += 3)
        for (int bx = 0; bx < kCellsX; bx += 3) {
            std::array<int, 9> order = {0, 1, 2, 3, 4, 5, 6, 7, 8};
            for (int i = 8; i > 0; --i)
                std::swap(order[std::size_t(i)], order[std::size_t(random.Below(i + 1))]);
            const auto at = [&](int k) {
                const int slot = order[std::size_t(k)];
                return std::size_t((by + slot / 3) * kCellsX + bx + slot % 3);
            };
            minerals[at(0)] = TMineral::Mica;
            minerals[at(1)] = TMineral::Mica;
            minerals[at(2)] = TMineral::Quartz;
        }
    std::vector<TCrystal> crystals;
    for (int cy = 0; cy < kCellsY; ++cy)
        for (int cx = 0; cx < kCellsX; ++cx) {
            const double x = (cx + 0.15 + 0.7 * random.Unit()) * kGrid;
            const double y = (cy + 0.15 + 0.7 * random.Unit()) * kGrid;
            const TMineral mineral = minerals[std::size_t(cy * kCellsX + cx)];
            double tone = 0.47 + 0.08 * random.Unit();
            if (mineral == TMineral::Mica)
                tone = 0.30 + 0.06 * random.Unit();
            else if (mineral == TMineral::Quartz)
                tone = 0.62 + 0.04 * random.Unit();
            crystals.push_back({x, y, tone});
        }

    const TField fine = WhiteNoise(kWidth, kHeight, random);
    TField field(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const double px = x + 0.5;
            const double py = y + 0.5;
            const int gx = x / kGrid;
            const int gy = y / kGrid;
            double best = 1e9;
            double tone = 0.5;
            // The nearest crystal lies within two grid cells; distances wrap at the edges.
            for (int oy = -2; oy <= 2; ++oy)
                for (int ox = -2; ox <= 2; ++ox) {
                    const int cx = ((gx + ox) % kCellsX + kCellsX) % kCellsX;
                    const int cy = ((gy + oy) % kCellsY + kCellsY) % kCellsY;
                    const TCrystal& c = crystals[std::size_t(cy * kCellsX + cx)];
                    double dx = std::abs(px - c.x);
                    double dy = std::abs(py - c.y);
                    dx = std::min(dx, kWidth - dx);
                    dy = std::min(dy, kHeight - dy);
                    const double d = dx * dx + dy * dy;
                    if (d < best) {
                        best = d;
                        tone = c.tone;
                    }
                }
            field.At(x, y) = tone + 0.04 * fine.At(x, y);
        }
    // Dark granite: the seat names' mid grey would vanish on a mid-grey stone.
    return FromField(field, Gradient({{0.0, {8, 8, 10}},
                                      {0.5, {72, 71, 73}},
                                      {1.0, {200, 198, 194}}}));
}

TIndexedImage DrawInterrupt()
{
    constexpr int kSize = 32;
    // The sixteen standard colours; the background is the classic button face.
    enum : std::uint8_t { kMaroon = 1, kSilver = 7, kGrey = 8, kRed = 9, kWhite = 15 };
    TIndexedImage image(kSize, kSize, 4);
    image.palette = {{0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
                     {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
                     {128, 128, 128}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
                     {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};

    // A regular octagon with flat sides up, down, left and right.
    const auto inside = [](double dx, double dy, double apothem) {
        constexpr double kSqrt2 = 1.4142135623730951;
        return std::abs(dx) <= apothem && std::abs(dy) <= apothem && std::abs(dx) + std::abs(dy) <= apothem * kSqrt2;
    };
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            const double dx = x + 0.5 - 15.5;
            const double dy = y + 0.5 - 15.5;
            std::uint8_t c = kSilver;
            if (inside(dx - 1, dy - 1, 14.6))
                c = kGrey;  // shadow, down and to the right
            if (inside(dx, dy, 14.6))
                c = kMaroon;
            if (inside(dx, dy, 13.6))
                c = kWhite;
            if (inside(dx, dy, 12.2))
                c = kRed;
            image.At(x, y) = c;
        }

    // "STOP" in a hand-drawn five-by-seven face, white on the red.
    static constexpr std::array<std::array<const char*, 7>, 4> kLetters{{
        {".###", "#...", "#...", ".##.", "...#", "...#", "###."},
        {"####", ".##.", ".##.", ".##.", ".##.", ".##.", ".##."},
        {".##.", "#..#", "#..#", "#..#", "#..#", "#..#", ".##."},
        {"###.", "#..#", "#..#", "###.", "#...", "#...", "#..."},
    }};
    constexpr int kLeft = 6;
    constexpr int kTop = 12;
    for (std::size_t letter = 0; letter < kLetters.size(); ++letter)
        for (int row = 0; row < 7; ++row)
            for (int col = 0; col < 4; ++col)
                if (kLetters[letter][std::size_t(row)][col] == '#')
                    image.At(kLeft + int(letter) * 5 + col, kTop + row) = kWhite;
    return image;
}

std::vector<TNamedImage> DrawAll()
{
    std::vector<TNamedImage> all;
    all.push_back({"IDB_GREENCLOTH", DrawGreenCloth()});
    all.push_back({"IDB_MAHOGANY", DrawMahogany()});
    all.push_back({"IDB_OAK", DrawOak()});
    all.push_back({"IDB_GRANITE", DrawGranite()});
    all.push_back({"IDB_INTERRUPT", DrawInterrupt()});
    return all;
}

}  // namespace spades::surfaces
