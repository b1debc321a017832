#include "GfxTestSupport.h"
#include "Tilemap.h"

#include <gmock/gmock.h>

namespace spades {
namespace {

using test::RenderOver;
using test::ShowAndExpose;
using test::TPaintCounter;

const QColor Ground(0xff, 0x00, 0xff);

// A tile whose every pixel tells where in the tile it is.
QImage CoordinateTile(int w, int h)
{
    QImage tile(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            tile.setPixel(x, y, qRgb(x % 256, y % 256, 128));
    return tile;
}

TEST(TiledBitmapDefaults, NewSurfaceIs65SquareAndEmpty)
{
    TTiledBitmap surface;
    EXPECT_EQ(surface.size(), QSize(65, 65));
    EXPECT_TRUE(surface.BitMap().isNull());
    EXPECT_TRUE(surface.GetPalette().isEmpty());
}

TEST(TiledBitmapDefaults, EmptySurfacePaintsNothingAtAll)
{
    TTiledBitmap surface;
    surface.resize(300, 200);
    const QImage image = RenderOver(surface, Ground);
    EXPECT_EQ(test::CountOf(image, Ground.rgb()), 300 * 200);
    EXPECT_EQ(surface.TilesDrawn(), 0);
}

struct TTileCase {
    QSize Tile;
    QSize Area;
    int Tiles;
};

class TileCount : public ::testing::TestWithParam<TTileCase> {};

TEST_P(TileCount, DrawsColumnsAndRowsUpToTheQuotientInclusive)
{
    const TTileCase c = GetParam();
    TTiledBitmap surface;
    surface.resize(c.Area);
    surface.SetBitMap(CoordinateTile(c.Tile.width(), c.Tile.height()));
    RenderOver(surface, Ground);
    EXPECT_EQ(surface.TilesDrawn(), c.Tiles);
}

INSTANTIATE_TEST_SUITE_P(
    Areas, TileCount,
    ::testing::Values(TTileCase{{100, 100}, {769, 461}, 40},   // 8 x 5, the last partly clipped
                      TTileCase{{100, 100}, {200, 200}, 9},    // third column and row outside
                      TTileCase{{100, 100}, {99, 99}, 1},
                      TTileCase{{65, 65}, {65, 65}, 4},
                      TTileCase{{30, 50}, {100, 100}, 12},
                      TTileCase{{769, 461}, {769, 461}, 4},
                      TTileCase{{1000, 1000}, {769, 461}, 1}),
    [](const auto& info) {
        const TTileCase& c = info.param;
        return QStringLiteral("Tile%1x%2On%3x%4")
            .arg(c.Tile.width()).arg(c.Tile.height()).arg(c.Area.width()).arg(c.Area.height())
            .toStdString();
    });

TEST(TiledBitmapPainting, TilesAreAnchoredAtTheTopLeftAndClippedAtTheEdges)
{
    TTiledBitmap surface;
    surface.resize(769, 461);
    const QImage tile = CoordinateTile(100, 100);
    surface.SetBitMap(tile);
    const QImage image = RenderOver(surface, Ground);
    ASSERT_EQ(image.size(), QSize(769, 461));
    for (const QPoint p : {QPoint(0, 0), QPoint(99, 99), QPoint(100, 0), QPoint(350, 275),
                           QPoint(700, 400), QPoint(768, 460), QPoint(768, 0), QPoint(0, 460)})
        EXPECT_EQ(image.pixel(p), tile.pixel(p.x() % 100, p.y() % 100)) << p.x() << "," << p.y();
    EXPECT_EQ(test::CountOf(image, Ground.rgb()), 0);
}

TEST(TiledBitmapPainting, GrowingTheAreaExtendsThePatternWithoutShiftingIt)
{
    TTiledBitmap surface;
    const QImage tile = CoordinateTile(64, 48);
    surface.SetBitMap(tile);
    surface.resize(200, 100);
    const QImage small = RenderOver(surface, Ground);
    surface.resize(500, 300);
    const QImage large = RenderOver(surface, Ground);
    EXPECT_EQ(large.copy(0, 0, 200, 100), small);
}

TEST(TiledBitmapBitmap, AssigningItsOwnBitmapNeitherCopiesNorRepaints)
{
    QWidget table;
    table.resize(200, 200);
    auto* surface = new TTiledBitmap(&table);
    surface->SetBitMap(CoordinateTile(10, 10));
    ASSERT_TRUE(ShowAndExpose(table));
    TPaintCounter paints(*surface);
    const qint64 key = surface->BitMap().cacheKey();
    surface->SetBitMap(surface->BitMap());
    QCoreApplication::processEvents();
    EXPECT_EQ(paints.Count, 0);
    EXPECT_EQ(surface->BitMap().cacheKey(), key);
    surface->SetBitMap(CoordinateTile(20, 20));
    EXPECT_EQ(paints.Count, 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(paints.Count, 1);
}

TEST(TiledBitmapBitmap, AssignedBitmapIsACopy)
{
    TTiledBitmap surface;
    QImage tile = CoordinateTile(8, 8);
    surface.SetBitMap(tile);
    tile.fill(Qt::black);
    EXPECT_EQ(surface.BitMap(), CoordinateTile(8, 8));
}

TEST(TiledBitmapBitmap, ImageLoadedStraightIntoTheBitmapIsPaintedAfterAnUpdate)
{
    TTiledBitmap surface;
    surface.resize(40, 40);
    surface.SetBitMap(CoordinateTile(10, 10));
    RenderOver(surface, Ground);
    surface.BitMap().fill(qRgb(1, 2, 3));
    surface.update();
    const QImage image = RenderOver(surface, Ground);
    EXPECT_EQ(test::CountOf(image, qRgb(1, 2, 3)), 40 * 40);
}

TEST(TiledBitmapPalette, GivesTheColourTableOfAPalettedTile)
{
    TTiledBitmap surface;
    QImage indexed(4, 4, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(10, 20, 30), qRgb(40, 50, 60), qRgb(70, 80, 90)});
    indexed.fill(1);
    surface.SetBitMap(indexed);
    EXPECT_THAT(surface.GetPalette(),
                ::testing::ElementsAre(qRgb(10, 20, 30), qRgb(40, 50, 60), qRgb(70, 80, 90)));
    surface.SetBitMap(CoordinateTile(4, 4));
    EXPECT_TRUE(surface.GetPalette().isEmpty());
}

TEST(TiledBitmapLayout, FillsItsParentAndFollowsItsSize)
{
    QWidget table;
    table.resize(300, 200);
    auto* surface = new TTiledBitmap(&table);
    surface->SetFillsParent(true);
    EXPECT_EQ(surface->geometry(), QRect(0, 0, 300, 200));
    ASSERT_TRUE(ShowAndExpose(table));
    table.resize(769, 461);
    EXPECT_EQ(surface->geometry(), QRect(0, 0, 769, 461));
    surface->SetFillsParent(false);
    table.resize(100, 100);
    EXPECT_EQ(surface->size(), QSize(769, 461));
}

}  // namespace
}  // namespace spades
