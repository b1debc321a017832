// The surface's tile at other scales and device ratios: made for the device's
// pixels, and meeting its neighbours as the pattern itself would.
#include "Tilemap.h"

#include "GfxTestSupport.h"

#include <gmock/gmock.h>

#include <QPainter>

#include <cmath>

namespace spades {
namespace {

// A tile whose edges differ sharply from their neighbours across the seam.
QImage Pattern()
{
    QImage tile(8, 6, QImage::Format_RGB32);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x)
            tile.setPixel(x, y, qRgb(x * 32, 255 - y * 40, (x * y * 13) % 256));
    return tile;
}

struct TTileCase {
    const char* Name;
    qreal Scale;
    qreal Ratio;
};

class TileAtScale : public ::testing::TestWithParam<TTileCase> {};

TEST_P(TileAtScale, SeamlessAtDeviceSize)
{
    TTiledBitmap surface;
    surface.SetBitMap(Pattern());
    surface.SetTileScale(GetParam().Scale);
    const qreal factor = GetParam().Scale * GetParam().Ratio;
    const QPixmap tile = surface.DeviceTile(GetParam().Ratio);
    const QSize device(std::lround(8 * factor), std::lround(6 * factor));
    ASSERT_EQ(tile.size(), device) << "made for the device's pixels";
    EXPECT_EQ(tile.devicePixelRatio(), GetParam().Ratio);

    // The pattern laid out wide and scaled as one piece: any 2 x 2 block of tiles
    // in its middle is what the scaled tiles must show, seams included.
    QImage wide(8 * 5, 6 * 5, QImage::Format_RGB32);
    {
        QPainter painter(&wide);
        painter.drawTiledPixmap(wide.rect(), QPixmap::fromImage(Pattern()));
    }
    const QImage reference = wide.scaled(device * 5, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                                 .copy(QRect(QPoint(device.width() * 2, device.height() * 2), device * 2));
    QImage tiled(device * 2, QImage::Format_RGB32);
    {
        QPainter painter(&tiled);
        QPixmap plain = tile;
        plain.setDevicePixelRatio(1);
        painter.drawTiledPixmap(tiled.rect(), plain);
    }
    EXPECT_LE(test::WorstDifference(tiled, reference), 2);
}

INSTANTIATE_TEST_SUITE_P(Factors, TileAtScale,
                         ::testing::Values(TTileCase{"TableScaleOneAndAHalf", 1.5, 1.0},
                                           TTileCase{"RatioTwo", 1.0, 2.0},
                                           TTileCase{"TwiceAtRatioOneAndAHalf", 2.0, 1.5},
                                           TTileCase{"RatioThree", 1.0, 3.0}),
                         [](const ::testing::TestParamInfo<TTileCase>& info) { return std::string(info.param.Name); });

}  // namespace
}  // namespace spades
