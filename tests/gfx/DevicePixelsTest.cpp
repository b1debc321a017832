// Pictures made for the device's pixels reach it pixel for pixel, at any device
// ratio and offset, and the controls that paint through them still look the
// same: the play area's shape, the cards and their marks, the bids list.
#include "CardDeck.h"
#include "CardFaces.h"
#include "DeckTestSupport.h"
#include "DevicePixels.h"
#include "ExtListView.h"
#include "Shape.h"
#include "Tilemap.h"

#include <QHeaderView>
#include <QPainter>
#include "GfxTestSupport.h"

#include <gmock/gmock.h>

namespace spades {
namespace {

// A picture every pixel of which differs from its neighbours, so that any
// resampling or shift shows.
QPixmap Noise(QSize device, qreal ratio)
{
    QImage image(device, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < device.height(); ++y)
        for (int x = 0; x < device.width(); ++x)
            image.setPixel(x, y, qRgb((x * 37 + y * 11) % 256, (x * 5 + y * 53) % 256, (x * y) % 256));
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

QImage Canvas(QSize device, qreal ratio)
{
    QImage canvas(device, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::black);
    canvas.setDevicePixelRatio(ratio);
    return canvas;
}

struct TPlaceCase {
    const char* Name;
    qreal Ratio;
    QPoint Translate;  // logical, set on the painter first
    QPoint At;         // logical, where the picture goes
};

class DevicePixelsDraw : public ::testing::TestWithParam<TPlaceCase> {};

TEST_P(DevicePixelsDraw, CopiesThePicturePixelForPixelAtItsPlace)
{
    const TPlaceCase& c = GetParam();
    const QPixmap picture = Noise({30, 21}, c.Ratio);
    QImage canvas = Canvas({120, 90}, c.Ratio);
    {
        QPainter painter(&canvas);
        painter.translate(c.Translate);
        const QTransform before = painter.worldTransform();
        {
            TDevicePixels device(painter);
            ASSERT_TRUE(device.Draw(c.At, picture));
        }
        EXPECT_EQ(painter.worldTransform(), before) << "the painter is given back as it was";
    }
    const QImage source = picture.toImage();
    const QPoint origin(qRound((c.Translate.x() + c.At.x()) * c.Ratio), qRound((c.Translate.y() + c.At.y()) * c.Ratio));
    int wrong = 0;
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x) {
            const QPoint s(x - origin.x(), y - origin.y());
            const QRgb want = source.rect().contains(s) ? source.pixel(s) : qRgb(0, 0, 0);
            wrong += canvas.pixel(x, y) != want;
        }
    EXPECT_EQ(wrong, 0);
}

INSTANTIATE_TEST_SUITE_P(Ratios, DevicePixelsDraw,
                         ::testing::Values(TPlaceCase{"One", 1.0, {0, 0}, {5, 7}},
                                           TPlaceCase{"OneAndAHalf", 1.5, {0, 0}, {4, 6}},
                                           TPlaceCase{"OneAndAHalfOddPlace", 1.5, {3, 1}, {5, 3}},
                                           TPlaceCase{"Two", 2.0, {2, 3}, {10, 4}},
                                           TPlaceCase{"Three", 3.0, {1, 1}, {0, 0}}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(DevicePixels, DrawsOnlyTheListedPartsOfAPicture)
{
    const QPixmap picture = Noise({40, 40}, 2.0);
    QImage canvas = Canvas({60, 60}, 2.0);
    {
        QPainter painter(&canvas);
        QRegion parts(QRect(2, 3, 4, 5));
        parts += QRect(10, 10, 3, 3);
        ASSERT_TRUE(TDevicePixels(painter).Draw(QPoint(1, 1), picture, parts));
    }
    const QImage source = picture.toImage();
    // Logical (2,3) under a picture placed at (1,1) is the picture's device (2,4).
    EXPECT_EQ(canvas.pixel(4, 6), source.pixel(2, 4));
    EXPECT_EQ(canvas.pixel(11, 15), source.pixel(9, 13));   // last pixel of the first part
    EXPECT_EQ(canvas.pixel(20, 20), source.pixel(18, 18));  // inside the second
    EXPECT_EQ(canvas.pixel(12, 6), qRgb(0, 0, 0)) << "right of the first part";
    EXPECT_EQ(canvas.pixel(4, 16), qRgb(0, 0, 0)) << "below the first part";
    EXPECT_EQ(canvas.pixel(30, 30), qRgb(0, 0, 0)) << "under the picture, in no part";
}

TEST(DevicePixels, SeveralDrawsThroughOneKeepTheirPlaces)
{
    const QPixmap picture = Noise({12, 9}, 1.5);
    QImage canvas = Canvas({90, 60}, 1.5);
    {
        QPainter painter(&canvas);
        TDevicePixels device(painter);
        ASSERT_TRUE(device.Draw(QPoint(2, 2), picture));
        ASSERT_TRUE(device.Draw(QPoint(30, 20), picture));
    }
    const QImage source = picture.toImage();
    EXPECT_EQ(canvas.pixel(3, 3), source.pixel(0, 0));
    EXPECT_EQ(canvas.pixel(45, 30), source.pixel(0, 0)) << "the second picture at its own place";
    EXPECT_EQ(canvas.pixel(45 + 11, 30 + 8), source.pixel(11, 8));
}

struct TInexactCase {
    const char* Name;
    qreal PictureRatio;
    qreal Rotate;
    qreal Scale;
};

class DevicePixelsInexact : public ::testing::TestWithParam<TInexactCase> {};

TEST_P(DevicePixelsInexact, LeavesThePainterToDrawItAsUsual)
{
    const QPixmap picture = Noise({20, 20}, GetParam().PictureRatio);
    QImage canvas = Canvas({80, 80}, 2.0);
    QPainter painter(&canvas);
    painter.rotate(GetParam().Rotate);
    painter.scale(GetParam().Scale, GetParam().Scale);
    const QTransform before = painter.worldTransform();
    TDevicePixels device(painter);
    EXPECT_FALSE(device.Draw({}, picture));
    EXPECT_FALSE(device.Tile(QRect(0, 0, 20, 20), picture, QRect(0, 0, 20, 20)));
    EXPECT_EQ(painter.worldTransform(), before);
    painter.end();
    EXPECT_EQ(canvas.pixel(10, 10), qRgb(0, 0, 0)) << "nothing drawn";
}

INSTANTIATE_TEST_SUITE_P(Cases, DevicePixelsInexact,
                         ::testing::Values(TInexactCase{"PictureForAnotherRatio", 1.0, 0, 1},
                                           TInexactCase{"Turned", 2.0, 10, 1},
                                           TInexactCase{"Scaled", 2.0, 0, 1.25}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(DevicePixels, TilesAnAreaFromItsTopLeftAndNoFurther)
{
    const qreal ratio = 1.5;
    const QPixmap tile = Noise({9, 7}, ratio);  // 6 x 4.67 logical: the seams fall between logical pixels
    QImage canvas = Canvas({90, 75}, ratio);
    const QRect area(4, 2, 40, 30);
    {
        QPainter painter(&canvas);
        ASSERT_TRUE(TDevicePixels(painter).Tile(area, tile, area));
    }
    const QImage source = tile.toImage();
    const QRect device(6, 3, 60, 45);
    int wrong = 0;
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x) {
            const QRgb want = device.contains(x, y)
                                  ? source.pixel((x - device.x()) % source.width(), (y - device.y()) % source.height())
                                  : qRgb(0, 0, 0);
            wrong += canvas.pixel(x, y) != want;
        }
    EXPECT_EQ(wrong, 0);
}

// ---- The controls that paint through it --------------------------------------------------

QImage RenderAt(QWidget& widget, qreal ratio, QColor under = Qt::black)
{
    QImage image(widget.size() * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(under);
    widget.render(&image, {}, {}, QWidget::DrawChildren);
    return image;
}

TEST(ShapePicture, FollowsEveryChangeOfColourSizeAndRatio)
{
    TShape shape;
    shape.resize(60, 40);
    shape.SetShape(TShape::TKind::RoundRect);
    shape.SetPen(Qt::white, 2);
    shape.SetBrush(QColor(0, 128, 0));
    EXPECT_EQ(RenderAt(shape, 2.0).pixelColor(60, 40), QColor(0, 128, 0));
    shape.SetBrush(QColor(200, 0, 0));
    EXPECT_EQ(RenderAt(shape, 2.0).pixelColor(60, 40), QColor(200, 0, 0));
    shape.SetPen(Qt::blue, 4);
    EXPECT_EQ(RenderAt(shape, 2.0).pixelColor(60, 3), QColor(Qt::blue));
    shape.SetBrush(std::nullopt);
    EXPECT_EQ(RenderAt(shape, 2.0, Qt::yellow).pixelColor(60, 40), QColor(Qt::yellow)) << "clear inside";
    shape.SetShape(TShape::TKind::Rectangle);
    EXPECT_EQ(RenderAt(shape, 2.0, Qt::yellow).pixelColor(1, 1), QColor(Qt::blue)) << "square corners";
    shape.resize(100, 50);
    const QImage bigger = RenderAt(shape, 1.5, Qt::yellow);
    EXPECT_EQ(bigger.pixelColor(148, 73), QColor(Qt::blue)) << "the pen along the new far corner";
    EXPECT_EQ(bigger.pixelColor(75, 37), QColor(Qt::yellow));
}

TEST(ShapePicture, MatchesTheShapeDrawnStraightOntoTheDevice)
{
    TShape shape;
    shape.resize(63, 31);
    shape.SetShape(TShape::TKind::RoundRect);
    shape.SetPen(Qt::black, 1);
    shape.SetBrush(QColor(0, 128, 0));
    const qreal ratio = 1.5;
    const QImage drawn = RenderAt(shape, ratio, Qt::darkGreen);
    QImage direct(shape.size() * ratio, QImage::Format_ARGB32_Premultiplied);
    direct.setDevicePixelRatio(ratio);
    direct.fill(Qt::darkGreen);
    {
        QPainter painter(&direct);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(Qt::black, 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        painter.setBrush(QColor(0, 128, 0));
        painter.drawRoundedRect(QRectF(0.5, 0.5, 62, 30), 31 / 8.0, 31 / 8.0);
    }
    EXPECT_LE(test::WorstDifference(drawn, direct), 2) << "edges may round differently, nothing more";
}

TEST(ListBackground, CellsAndHeaderStillShowTheirOwnColoursOverTheTable)
{
    QWidget table;
    table.resize(240, 120);
    TExtListView list(&table);
    ConfigureBidsTable(list);
    list.move(10, 10);
    list.AddRow("North");
    QPalette colours = list.palette();
    colours.setColor(QPalette::Base, QColor(250, 250, 240));
    list.setPalette(colours);
    table.show();  // lays the viewport and header out
    const QImage image = RenderAt(table, 2.0, Qt::red);
    // Below the last row, inside the frame: the list's own base, not the table.
    const QRect inside = list.viewport()->geometry().translated(list.pos());
    EXPECT_EQ(image.pixelColor(2 * (inside.left() + 10), 2 * (inside.bottom() - 4)), QColor(250, 250, 240));
    // Right of the last column in the header row.
    const QRect header = list.horizontalHeader()->geometry().translated(list.pos());
    EXPECT_NE(image.pixelColor(2 * (header.right() - 1), 2 * (header.top() + 4)), QColor(Qt::red));
}

TEST(CardMarksOnADeck, AnInstalledDeckCardIsShadedAndOutlinedToo)
{
    test::TDeckFolders folders;
    folders.AddShared("svg-good", "Good", "good.svg", test::DeckSvg(TDeckFormat::Shared));
    auto faces = std::make_shared<TCardFaces>();
    ASSERT_EQ(faces->Choose("carddecks/svg-good", folders.Roots()), "");
    TCardDeck card;
    card.SetFaces(faces);
    card.SetValue(20);
    card.SetVisible(true);
    const QImage plain = RenderAt(card, 2.0);
    card.SetShaded(true);
    const QImage shaded = RenderAt(card, 2.0);
    const QPoint centre(card.width(), card.height());
    EXPECT_LT(qGray(shaded.pixel(centre)), qGray(plain.pixel(centre)));
    card.SetShaded(false);
    card.SetOutlined(true);
    const QColor edge = RenderAt(card, 2.0).pixelColor(2, card.height());
    EXPECT_GT(edge.red(), 200);
    EXPECT_GT(edge.green(), 150);
    EXPECT_LT(edge.blue(), 80);
}


// Cards at logical places that fall between device pixels: each paints exactly the
// device pixels its logical area covers, whether drawn whole or only from where a
// card that passed over it has gone; else a column of that card (its black edge)
// is left behind, which neither the fan nor the surface beneath paints again.
class FanAtAFractionalRatio : public ::testing::TestWithParam<qreal> {};

TEST_P(FanAtAFractionalRatio, PaintsEveryDevicePixelOfItsPartAndNoMore)
{
    const qreal ratio = GetParam();
    for (int left = 0; left < 4; ++left) {
        QWidget holder;
        holder.resize(120, 100);
        for (int i = 0; i < 2; ++i) {  // a fan's two top cards, the upper one whole
            auto* card = new TCardDeck(&holder);
            card->move(left + 14 * i, 0);
            card->SetValue(static_cast<uint8_t>(5 + i));
            card->SetVisible(true);
        }
        for (int from = left; from < left + 14; ++from) {
            QImage image(QSize(std::lround(120 * ratio), std::lround(100 * ratio)), QImage::Format_ARGB32_Premultiplied);
            image.setDevicePixelRatio(ratio);
            image.fill(Qt::magenta);
            const QRect repainted(from, 0, 120 - from, 100);
            holder.render(&image, repainted.topLeft(), repainted, QWidget::DrawChildren);
            const int row = qRound(48 * ratio);
            const int first = qRound(from * ratio), end = qRound((left + 14 + 71) * ratio);
            int wrong = 0;
            for (int x = 0; x < image.width(); ++x)
                wrong += (image.pixelColor(x, row) != QColor(Qt::magenta)) != (x >= first && x < end);
            EXPECT_EQ(wrong, 0) << "ratio " << ratio << ", fan at " << left << ", repainted from " << from;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Ratios, FanAtAFractionalRatio, ::testing::Values(1.25, 1.5, 1.75),
                         [](const auto& info) { return "Ratio" + std::to_string(std::lround(info.param * 100)); });

// ---- The surface beneath the controls -------------------------------------------------------

QImage SurfacePattern()
{
    QImage tile(8, 6, QImage::Format_RGB32);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x)
            tile.setPixel(x, y, qRgb(20 + x * 10, 90 + y * 20, 40));
    return tile;
}

class SurfaceCover : public ::testing::TestWithParam<qreal> {
protected:
    SurfaceCover()
    {
        surface.resize(220, 160);
        surface.SetBitMap(SurfacePattern());
        shape = new TShape(&surface);
        shape->setGeometry(50, 40, 63, 41);
        shape->SetShape(TShape::TKind::RoundRect);
        shape->SetBrush(QColor(0, 128, 0));
        for (int i = 0; i < 3; ++i) {  // a little fan, the middle card hidden
            auto* card = new TCardDeck(&surface);
            card->move(10 + 15 * i, 60);
            card->SetValue(static_cast<uint8_t>(5 + i));
            card->SetVisible(i != 1);
            fan.push_back(card);
        }
        surface.setAttribute(Qt::WA_DontShowOnScreen);
        surface.show();
    }

    QImage Render(QWidget::RenderFlags flags) const
    {
        const qreal ratio = GetParam();
        QImage image(QSize(std::lround(220 * ratio), std::lround(160 * ratio)), QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(ratio);
        image.fill(Qt::magenta);
        const_cast<TTiledBitmap&>(surface).render(&image, {}, {}, flags);
        return image;
    }

    static bool Magenta(const QImage& image, QPointF logical)
    {
        const qreal r = image.devicePixelRatio();
        return image.pixelColor(QPoint(qFloor(logical.x() * r), qFloor(logical.y() * r))) == QColor(Qt::magenta);
    }

    TTiledBitmap surface;
    TShape* shape = nullptr;
    std::vector<TCardDeck*> fan;
};

TEST_P(SurfaceCover, LeavesOutOnlyWhatTheControlsPaintOpaque)
{
    const QImage alone = Render(QWidget::DrawWindowBackground);
    EXPECT_TRUE(Magenta(alone, {81, 60})) << "inside the play area";
    EXPECT_FALSE(Magenta(alone, {50.5, 40.5})) << "a rounded corner of the play area";
    EXPECT_TRUE(Magenta(alone, {95, 110})) << "the face of the top card";
    EXPECT_FALSE(Magenta(alone, {10.5, 60.5})) << "the cut corner of the bottom card";
    EXPECT_FALSE(Magenta(alone, {150, 20})) << "open table";
    fan[2]->SetVisible(false);
    EXPECT_FALSE(Magenta(Render(QWidget::DrawWindowBackground), {95, 110})) << "a hidden card covers nothing";
}

TEST_P(SurfaceCover, EveryPixelIsPaintedWithTheControlsOnIt)
{
    const QImage whole = Render(QWidget::DrawWindowBackground | QWidget::DrawChildren);
    int unpainted = 0;
    for (int y = 0; y < whole.height(); ++y)
        for (int x = 0; x < whole.width(); ++x)
            unpainted += whole.pixelColor(x, y) == QColor(Qt::magenta);
    EXPECT_EQ(unpainted, 0);
}

TEST_P(SurfaceCover, IsTiledUnderACardOfAnInstalledDeck)
{
    test::TDeckFolders folders;
    folders.AddShared("svg-good", "Good", "good.svg", test::DeckSvg(TDeckFormat::Shared));
    auto faces = std::make_shared<TCardFaces>();
    ASSERT_EQ(faces->Choose("carddecks/svg-good", folders.Roots()), "");
    fan[2]->SetFaces(faces);
    EXPECT_FALSE(Magenta(Render(QWidget::DrawWindowBackground), {95, 110})) << "its drawing may leave gaps";
    EXPECT_TRUE(Magenta(Render(QWidget::DrawWindowBackground), {81, 60})) << "ours still covers";
}

INSTANTIATE_TEST_SUITE_P(Ratios, SurfaceCover, ::testing::Values(1.0, 1.25, 1.5, 2.0, 3.0),
                         [](const auto& info) { return "Ratio" + std::to_string(std::lround(info.param * 100)); });

}  // namespace
}  // namespace spades
