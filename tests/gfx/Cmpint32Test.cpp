#include "Cmpint32.h"
#include "ResourceTestSupport.h"

#include <QBuffer>
#include <QColor>
#include <QFile>
#include <QImage>

#include <gmock/gmock.h>

#include <algorithm>
#include <cmath>
#include <vector>
#include <string>

namespace spades {
namespace {

using test::Header;
using test::Sum;

std::uint32_t UInt32At(const QByteArray& bytes, qsizetype offset)
{
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<std::uint8_t>(bytes[offset + i]);
    return v;
}

std::uint16_t UInt16At(const QByteArray& bytes, qsizetype offset)
{
    return static_cast<std::uint16_t>(static_cast<std::uint8_t>(bytes[offset]) |
                                      static_cast<std::uint8_t>(bytes[offset + 1]) << 8);
}

QByteArray ReadResource(const char* name)
{
    QFile file(QString(":/CMPBMP/") + name);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

struct TResourceCase {
    const char* name;
    int width;
    int height;
    int bitsPerPixel;
};

void PrintTo(const TResourceCase& c, std::ostream* os) { *os << c.name; }

class BuiltInResource : public ::testing::TestWithParam<TResourceCase> {};

TEST_P(BuiltInResource, IsAnLzhStreamOfAnUncompressedBmp)
{
    const TResourceCase& c = GetParam();
    const QByteArray stream = ReadResource(c.name);
    ASSERT_GT(stream.size(), 21) << c.name << " is not built in";
    ASSERT_EQ(stream.left(8), QByteArray("SPIS\x1ALZH", 8));
    EXPECT_EQ(stream[12], '\0');                  // single stream
    EXPECT_EQ(UInt32At(stream, 17), 0u);          // not locked

    const QByteArray bmp = test::Expand(stream);
    EXPECT_EQ(std::uint32_t(bmp.size()), UInt32At(stream, 8));
    EXPECT_EQ(Sum(bmp), UInt32At(stream, 13));
    EXPECT_LT(stream.size(), bmp.size());

    ASSERT_GE(bmp.size(), 54);
    EXPECT_EQ(bmp.left(2), "BM");
    EXPECT_EQ(UInt32At(bmp, 2), std::uint32_t(bmp.size()));
    EXPECT_EQ(UInt32At(bmp, 14), 40u);  // BITMAPINFOHEADER
    EXPECT_EQ(int(UInt32At(bmp, 18)), c.width);
    EXPECT_EQ(int(UInt32At(bmp, 22)), c.height);  // positive: bottom-up rows
    EXPECT_EQ(UInt16At(bmp, 26), 1);
    EXPECT_EQ(UInt16At(bmp, 28), c.bitsPerPixel);
    EXPECT_EQ(UInt32At(bmp, 30), 0u);  // uncompressed
    const std::uint32_t colours = 1u << c.bitsPerPixel;
    const std::uint32_t rowBytes = ((std::uint32_t(c.width) * std::uint32_t(c.bitsPerPixel) + 31) / 32) * 4;
    EXPECT_EQ(UInt32At(bmp, 10), 54u + colours * 4);
    EXPECT_EQ(std::uint32_t(bmp.size()), 54u + colours * 4 + rowBytes * std::uint32_t(c.height));
}

TEST_P(BuiltInResource, LoadsToItsSizeAndPalette)
{
    const TResourceCase& c = GetParam();
    QImage image;
    EXPECT_TRUE(LoadCompressedBitmap(c.name, image));
    EXPECT_EQ(image.width(), c.width);
    EXPECT_EQ(image.height(), c.height);
    EXPECT_EQ(image.format(), QImage::Format_Indexed8);
    EXPECT_EQ(image.colorCount(), 1 << c.bitsPerPixel);
}

INSTANTIATE_TEST_SUITE_P(All, BuiltInResource,
                         ::testing::Values(TResourceCase{"IDB_GREENCLOTH", 100, 100, 8},
                                           TResourceCase{"IDB_MAHOGANY", 124, 125, 8},
                                           TResourceCase{"IDB_OAK", 124, 125, 8},
                                           TResourceCase{"IDB_GRANITE", 90, 81, 8},
                                           TResourceCase{"IDB_INTERRUPT", 32, 32, 4}),
                         [](const auto& info) { return std::string(info.param.name); });

// --- The surfaces look like what they are named, and tile without a seam ----

double Luma(QRgb c) { return 0.299 * qRed(c) + 0.587 * qGreen(c) + 0.114 * qBlue(c); }

QImage LoadSurface(const char* name)
{
    QImage image;
    LoadCompressedBitmap(name, image);
    return image.convertToFormat(QImage::Format_RGB32);
}

// Mean difference between one column (or row) and the next, for every pair
// inside the image; and for the pair that meets across the wrap.
struct TSteps {
    double acrossWrap = 0;
    std::vector<double> inside;
};

TSteps Steps(const QImage& image, bool columns)
{
    const int length = columns ? image.width() : image.height();
    const int span = columns ? image.height() : image.width();
    const auto at = [&](int along, int across) { return columns ? image.pixel(along, across) : image.pixel(across, along); };
    const auto step = [&](int a, int b) {
        double sum = 0;
        for (int k = 0; k < span; ++k)
            sum += std::abs(Luma(at(a, k)) - Luma(at(b, k)));
        return sum / span;
    };
    TSteps steps;
    steps.acrossWrap = step(length - 1, 0);
    for (int a = 0; a + 1 < length; ++a)
        steps.inside.push_back(step(a, a + 1));
    return steps;
}

// A seam is a step across the wrap that no pair of neighbours inside comes near.
::testing::AssertionResult TilesSeamlessly(const QImage& image)
{
    for (const bool columns : {true, false}) {
        const TSteps steps = Steps(image, columns);
        double mean = 0;
        for (const double s : steps.inside)
            mean += s / double(steps.inside.size());
        const double largest = *std::max_element(steps.inside.begin(), steps.inside.end());
        if (steps.acrossWrap > largest || steps.acrossWrap > mean * 2.0)
            return ::testing::AssertionFailure() << (columns ? "left/right" : "top/bottom") << " step "
                                                 << steps.acrossWrap << ", inside mean " << mean << ", largest " << largest;
    }
    return ::testing::AssertionSuccess();
}

TEST(SeamCheck, SeesTheSeamOfAnImageThatDoesNotWrap)
{
    QImage ramp(60, 40, QImage::Format_RGB32);
    for (int y = 0; y < ramp.height(); ++y)
        for (int x = 0; x < ramp.width(); ++x)
            ramp.setPixel(x, y, qRgb(2 * x + (x * 7 + y * 13) % 9, 100, 60));
    EXPECT_FALSE(TilesSeamlessly(ramp));
}

class Surface : public ::testing::TestWithParam<const char*> {};

TEST_P(Surface, TilesWithoutASeam)
{
    const QImage image = LoadSurface(GetParam());
    ASSERT_FALSE(image.isNull());
    EXPECT_TRUE(TilesSeamlessly(image));
}

INSTANTIATE_TEST_SUITE_P(Four, Surface, ::testing::Values("IDB_GREENCLOTH", "IDB_MAHOGANY", "IDB_OAK", "IDB_GRANITE"));

struct TMeanColour {
    double red = 0, green = 0, blue = 0;
};

TMeanColour MeanColour(const QImage& image)
{
    TMeanColour m;
    const double n = double(image.width()) * image.height();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            m.red += qRed(c) / n;
            m.green += qGreen(c) / n;
            m.blue += qBlue(c) / n;
        }
    return m;
}

TEST(Surfaces, HaveTheColoursOfTheirNames)
{
    const TMeanColour cloth = MeanColour(LoadSurface("IDB_GREENCLOTH"));
    EXPECT_GT(cloth.green, cloth.red * 2);
    EXPECT_GT(cloth.green, cloth.blue * 1.5);

    const TMeanColour mahogany = MeanColour(LoadSurface("IDB_MAHOGANY"));
    const TMeanColour oak = MeanColour(LoadSurface("IDB_OAK"));
    EXPECT_GT(mahogany.red, mahogany.green * 2);  // dark and reddish
    EXPECT_LT(mahogany.red + mahogany.green + mahogany.blue, oak.red + oak.green + oak.blue);
    EXPECT_GT(oak.red, oak.blue * 2);            // golden
    EXPECT_GT(oak.green, oak.blue * 1.5);
    EXPECT_GT(oak.green / oak.red, mahogany.green / mahogany.red + 0.2);

    const TMeanColour granite = MeanColour(LoadSurface("IDB_GRANITE"));
    EXPECT_NEAR(granite.red, granite.blue, 10);  // grey
    EXPECT_NEAR(granite.green, granite.blue, 10);
}

TEST(Surfaces, InterruptGlyphIsRedOnButtonGrey)
{
    const QImage glyph = LoadSurface("IDB_INTERRUPT");
    EXPECT_EQ(glyph.pixel(0, 0), qRgb(192, 192, 192));
    EXPECT_EQ(glyph.pixel(0, 31), qRgb(192, 192, 192));
    int red = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            red += glyph.pixel(x, y) == qRgb(255, 0, 0);
    EXPECT_GT(red, 250);
}

// --- Lookup by name ------------------------------------------------------------

TEST(LoadCompressedBitmap, FindsNamesWithoutRegardToCase)
{
    QImage upper;
    LoadCompressedBitmap("IDB_OAK", upper);
    for (const char* name : {"idb_oak", "Idb_Oak", "iDB_oAK"}) {
        QImage image;
        EXPECT_TRUE(LoadCompressedBitmap(name, image)) << name;
        EXPECT_EQ(image, upper) << name;
    }
}

TEST(LoadCompressedBitmap, NamesAMissingResource)
{
    for (const char* name : {"IDB_FELT", "", "../CMPBMP/IDB_OAK", "IDB_OAK/", ".", "IDB_OAK.bmp"}) {
        QImage image;
        try {
            LoadCompressedBitmap(name, image);
            ADD_FAILURE() << "found " << name;
        } catch (const EResourceNotFound& e) {
            EXPECT_EQ(std::string(e.what()), std::string("Resource ") + name + " not found");
        }
    }
    EXPECT_TRUE((std::is_base_of_v<EResourceError, EResourceNotFound>));
}

TEST(CompressedBitmapPath, KeepsResourcesOfOneTypeTogether)
{
    EXPECT_EQ(CompressedBitmapPath("idb_oak"), ":/CMPBMP/IDB_OAK");
    EXPECT_TRUE(CompressedBitmapPath("a/b").isEmpty());
    EXPECT_TRUE(CompressedBitmapPath("..").isEmpty());
    EXPECT_TRUE(CompressedBitmapPath("a\\b").isEmpty());
}

// --- The bitmap changes only on success -----------------------------------------

QImage Sentinel()
{
    QImage image(5, 3, QImage::Format_RGB32);
    image.fill(qRgb(1, 2, 3));
    return image;
}

struct TBadStream {
    const char* name;
    QByteArray stream;
};

void PrintTo(const TBadStream& c, std::ostream* os) { *os << c.name; }

class FailedLoad : public ::testing::TestWithParam<TBadStream> {};

TEST_P(FailedLoad, LeavesTheBitmapAsItWas)
{
    QImage image = Sentinel();
    QBuffer source;
    source.setData(GetParam().stream);
    source.open(QIODevice::ReadOnly);
    EXPECT_THROW(LoadBitmapFromCompressedStream(source, image), EResourceError);
    EXPECT_EQ(image, Sentinel());
}

QByteArray DamagedOak()
{
    QByteArray stream = ReadResource("IDB_OAK");
    stream[stream.size() / 2] = char(stream[stream.size() / 2] ^ 0x10);
    return stream;
}

INSTANTIATE_TEST_SUITE_P(
    Bad, FailedLoad,
    ::testing::Values(TBadStream{"BadChecksum", DamagedOak()},
                      TBadStream{"NotABitmap", Header("NON", 5, 0) + "hello"},
                      TBadStream{"RawNonsense", QByteArray("this is not a bitmap, only text")},
                      TBadStream{"Empty", QByteArray()},
                      TBadStream{"Locked", Header("NON", 5, 0, 1) + "hello"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LoadCompressedBitmap, LeavesTheBitmapAloneWhenTheResourceIsMissing)
{
    QImage image = Sentinel();
    EXPECT_THROW(LoadCompressedBitmap("IDB_NOWHERE", image), EResourceNotFound);
    EXPECT_EQ(image, Sentinel());
}

TEST(LoadBitmapFromCompressedStream, ReportsBytesThatAreNoBmp)
{
    QImage image;
    QBuffer source;
    source.setData(Header("NON", 5, 0) + "hello");
    source.open(QIODevice::ReadOnly);
    try {
        LoadBitmapFromCompressedStream(source, image);
        ADD_FAILURE();
    } catch (const EInvalidBitmap& e) {
        EXPECT_STREQ(e.what(), "Compressed bitmap does not hold a valid BMP image");
    }
}

TEST(LoadBitmapFromCompressedStream, AcceptsAnUncompressedBmp)
{
    const QByteArray bmp = test::Expand(ReadResource("IDB_GRANITE"));
    QBuffer source;
    source.setData(bmp);
    source.open(QIODevice::ReadOnly);
    QImage image;
    EXPECT_TRUE(LoadBitmapFromCompressedStream(source, image));
    EXPECT_EQ(image.size(), QSize(90, 81));
}

}  // namespace
}  // namespace spades
