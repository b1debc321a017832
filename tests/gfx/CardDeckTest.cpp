#include "CardDeck.h"
#include "GfxTestSupport.h"
#include "PlayerU.h"
#include "Tilemap.h"

#include <gmock/gmock.h>

#include <QCryptographicHash>
#include <QSignalSpy>

#include <set>

namespace spades {
namespace {

using test::RenderOver;
using test::ShowAndExpose;
using test::TPaintCounter;

const QColor Ground(0xff, 0x00, 0xff);

std::array<QPoint, 12> Corners(int w, int h)
{
    return {QPoint(0, 0),         QPoint(1, 0),         QPoint(0, 1),
            QPoint(w - 1, 0),     QPoint(w - 2, 0),     QPoint(w - 1, 1),
            QPoint(w - 1, h - 1), QPoint(w - 2, h - 1), QPoint(w - 1, h - 2),
            QPoint(0, h - 1),     QPoint(1, h - 1),     QPoint(0, h - 2)};
}

bool AllPixels(const QImage& image, QColor colour)
{
    return test::CountOf(image, colour.rgb()) == image.width() * image.height();
}

// ---- A new control ----------------------------------------------------------

TEST(CardDeckDefaults, NewCardIsABackOfNaturalSizeNotStretchedAndHidden)
{
    TCardDeck card;
    EXPECT_EQ(card.size(), QSize(71, 96));
    EXPECT_EQ(card.Value(), 54);
    EXPECT_FALSE(card.Stretch());
    EXPECT_FALSE(card.Visible());
    EXPECT_FALSE(card.HasClickHandler());
}

TEST(CardDeckDefaults, NewCardShowsBackOneOnceMadeVisible)
{
    TCardDeck card;
    EXPECT_TRUE(AllPixels(RenderOver(card, Ground), Ground));
    card.SetVisible(true);
    const QImage shown = RenderOver(card, Ground);
    const QImage back = CardImage(54, 1).convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(shown.pixel(35, 48), back.pixel(35, 48));
    EXPECT_EQ(shown.pixel(10, 20), back.pixel(10, 20));
}

TEST(CardDeckDefaults, ControlOnAFormIsShownWithIt)
{
    QWidget form;
    TCardDeck card(&form);
    EXPECT_FALSE(card.isHidden());
}

// ---- Images -------------------------------------------------------------------

class CardImageForValue : public ::testing::TestWithParam<int> {};

TEST_P(CardImageForValue, HasAnImageAtBothScales)
{
    const auto value = static_cast<uint8_t>(GetParam());
    const QImage image = CardImage(value, 1);
    const QImage large = CardImage(value, 2);
    ASSERT_FALSE(image.isNull()) << CardResourcePath(value, 1).toStdString();
    ASSERT_FALSE(large.isNull()) << CardResourcePath(value, 2).toStdString();
    EXPECT_EQ(image.size(), QSize(71, 96));
    EXPECT_EQ(large.size(), QSize(142, 192));
    // A white card with a border: the edge is dark, the middle of the top edge
    // region inside the border is not.
    EXPECT_LT(qGray(image.pixel(35, 0)), 64);
    EXPECT_LT(qGray(image.pixel(0, 48)), 64);
}

TEST_P(CardImageForValue, RoundedPixmapCutsTheTwelveCornerPixels)
{
    const auto value = static_cast<uint8_t>(GetParam());
    for (int scale : {1, 2}) {
        const QPixmap pixmap = CardPixmap(value, scale, true);
        ASSERT_FALSE(pixmap.isNull());
        EXPECT_EQ(pixmap.devicePixelRatio(), scale);
        const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
        for (const QPoint& p : Corners(71, 96))
            for (int d = 0; d < scale * scale; ++d)
                EXPECT_EQ(qAlpha(image.pixel(p.x() * scale + d % scale, p.y() * scale + d / scale)), 0)
                    << "value " << int(value) << " scale " << scale << " at " << p.x() << "," << p.y();
        EXPECT_EQ(qAlpha(image.pixel(2 * scale, 0)), 255);
        EXPECT_EQ(qAlpha(image.pixel(scale, scale)), 255);
        const QImage square = CardPixmap(value, scale, false).toImage();
        EXPECT_EQ(qAlpha(square.pixel(0, 0)), 255);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryValue, CardImageForValue, ::testing::Range(1, 63));

TEST(CardImages, ResourceNamesAreTheImageNamesInUpperCase)
{
    EXPECT_EQ(CardResourcePath(1, 1), ":/cards/CDACEOFSPADES.png");
    EXPECT_EQ(CardResourcePath(1, 2), ":/cards/CDACEOFSPADES@2x.png");
    EXPECT_EQ(CardResourcePath(53, 1), ":/cards/CDJOKER.png");
    EXPECT_EQ(CardResourcePath(62, 1), ":/cards/CDCARDBACK9.png");
}

TEST(CardImages, EveryValueHasArtOfItsOwn)
{
    std::set<QByteArray> seen;
    for (int value = 1; value <= 62; ++value) {
        const QImage image = CardImage(static_cast<uint8_t>(value), 1);
        seen.insert(QCryptographicHash::hash(
            QByteArrayView(image.constBits(), image.sizeInBytes()), QCryptographicHash::Sha1));
    }
    EXPECT_EQ(seen.size(), 62u);
}

TEST(CardImages, ValuesWithoutAnEntryHaveNoImage)
{
    for (int value : {0, 63, 100, 255}) {
        EXPECT_TRUE(CardImage(static_cast<uint8_t>(value), 1).isNull()) << value;
        EXPECT_TRUE(CardImage(static_cast<uint8_t>(value), 2).isNull()) << value;
        EXPECT_TRUE(CardPixmap(static_cast<uint8_t>(value), 1, true).isNull()) << value;
    }
}

TEST(CardImages, TheDrawingIsTheSameEveryTime)
{
    const QImage first = CardImage(13, 2);
    const QImage again = CardImage(13, 2);
    EXPECT_EQ(first, again);
}

// ---- Painting -------------------------------------------------------------------

class CardPaintsNothing : public ::testing::TestWithParam<int> {};

TEST_P(CardPaintsNothing, ForAValueWithoutImage)
{
    TCardDeck card;
    card.SetVisible(true);
    card.SetValue(static_cast<uint8_t>(GetParam()));
    EXPECT_TRUE(AllPixels(RenderOver(card, Ground), Ground));
    card.SetStretch(true);
    EXPECT_TRUE(AllPixels(RenderOver(card, Ground), Ground));
}

INSTANTIATE_TEST_SUITE_P(Values, CardPaintsNothing, ::testing::Values(0, 63, 200, 255));

TEST(CardPainting, JokerAndLastBackShowTheirImages)
{
    for (int value : {53, 62}) {
        TCardDeck card;
        card.SetVisible(true);
        card.SetValue(static_cast<uint8_t>(value));
        const QImage shown = RenderOver(card, Ground);
        const QImage art = CardImage(static_cast<uint8_t>(value), 1).convertToFormat(QImage::Format_ARGB32);
        int same = 0;
        for (int y = 2; y < 94; ++y)
            for (int x = 2; x < 69; ++x)
                same += shown.pixel(x, y) == art.pixel(x, y);
        EXPECT_EQ(same, 67 * 92) << value;
    }
}

TEST(CardPainting, CornerPixelsShowAFlatSurfaceBeneath)
{
    const QColor cloth(0x20, 0x80, 0x30);
    QWidget table;
    table.resize(120, 140);
    table.setAutoFillBackground(true);
    QPalette palette = table.palette();
    palette.setColor(QPalette::Window, cloth);
    table.setPalette(palette);
    auto* card = new TCardDeck(&table);
    card->move(10, 20);
    card->SetValue(1);
    card->SetVisible(true);
    const QImage image = table.grab().toImage();
    for (const QPoint& p : Corners(71, 96))
        EXPECT_EQ(QColor(image.pixel(p + QPoint(10, 20))), cloth) << p.x() << "," << p.y();
    // Next to the cut corners the border and the rounding pixel are drawn.
    for (const QPoint& p : {QPoint(2, 0), QPoint(0, 2), QPoint(1, 1), QPoint(68, 95), QPoint(69, 94)})
        EXPECT_LT(qGray(image.pixel(p + QPoint(10, 20))), 64) << p.x() << "," << p.y();
}

TEST(CardPainting, CornerPixelsShowWhateverLiesBeneathOnAPattern)
{
    QWidget table;
    table.resize(100, 120);
    auto* surface = new TTiledBitmap(&table);
    surface->SetFillsParent(true);
    QImage stripes(3, 1, QImage::Format_RGB32);
    stripes.setPixel(0, 0, qRgb(255, 0, 0));
    stripes.setPixel(1, 0, qRgb(0, 255, 0));
    stripes.setPixel(2, 0, qRgb(0, 0, 255));
    surface->SetBitMap(stripes);
    auto* card = new TCardDeck(&table);
    card->move(5, 7);
    card->SetVisible(true);
    const QImage image = table.grab().toImage();
    for (const QPoint& p : Corners(71, 96)) {
        const QPoint at = p + QPoint(5, 7);
        EXPECT_EQ(image.pixel(at), stripes.pixel(at.x() % 3, 0)) << p.x() << "," << p.y();
    }
}

TEST(CardPainting, HiddenCardLetsTheSurfaceShowThrough)
{
    const QColor cloth(0x20, 0x80, 0x30);
    QWidget table;
    table.resize(100, 120);
    table.setAutoFillBackground(true);
    QPalette palette = table.palette();
    palette.setColor(QPalette::Window, cloth);
    table.setPalette(palette);
    auto* card = new TCardDeck(&table);
    card->SetValue(5);
    const QImage image = table.grab().toImage().copy(card->geometry());
    EXPECT_TRUE(AllPixels(image, cloth));
}

TEST(CardStretch, StretchedCardFillsItsRectangleWithSquareCorners)
{
    TCardDeck card;
    card.SetVisible(true);
    card.SetStretch(true);
    card.resize(51, 76);
    const QImage image = RenderOver(card, Ground);
    for (const QPoint& p : Corners(51, 76))
        EXPECT_NE(QColor(image.pixel(p)), Ground) << p.x() << "," << p.y();
    EXPECT_NE(QColor(image.pixel(25, 38)), Ground);
}

TEST(CardStretch, SwitchingOffRestoresTheNaturalSizeAndOnKeepsTheSize)
{
    TCardDeck card;
    card.resize(30, 40);
    card.SetStretch(true);
    EXPECT_EQ(card.size(), QSize(30, 40));
    card.resize(51, 76);
    card.SetStretch(false);
    EXPECT_FALSE(card.Stretch());
    EXPECT_EQ(card.size(), QSize(71, 96));
}

TEST(CardStretch, SwitchingOffWhenAlreadyOffKeepsAnOddSize)
{
    TCardDeck card;
    card.resize(30, 40);
    card.SetStretch(false);
    EXPECT_EQ(card.size(), QSize(30, 40));
}

// ---- Repainting ------------------------------------------------------------------

class CardRepaint : public ::testing::Test {
protected:
    void SetUp() override
    {
        FTable.resize(200, 200);
        FCard = new TCardDeck(&FTable);
        FCard->SetVisible(true);
        ASSERT_TRUE(ShowAndExpose(FTable));
        FPaints = new TPaintCounter(*FCard);
    }
    int Settled()
    {
        QCoreApplication::processEvents();
        return FPaints->Count;
    }
    QWidget FTable;
    TCardDeck* FCard = nullptr;
    TPaintCounter* FPaints = nullptr;
};

TEST_F(CardRepaint, SameValueDoesNotRepaint)
{
    const int before = Settled();
    FCard->SetValue(FCard->Value());
    EXPECT_EQ(Settled(), before);
}

TEST_F(CardRepaint, NewValueRepaintsAtOnce)
{
    const int before = Settled();
    FCard->SetValue(7);
    EXPECT_EQ(FPaints->Count, before + 1);
    EXPECT_EQ(FCard->Value(), 7);
}

TEST_F(CardRepaint, SameVisibilityDoesNotRepaintAndAChangeRepaintsAtOnce)
{
    const int before = Settled();
    FCard->SetVisible(true);
    EXPECT_EQ(Settled(), before);
    FCard->SetVisible(false);
    EXPECT_EQ(FPaints->Count, before + 1);
}

TEST_F(CardRepaint, StretchRepaintsLater)
{
    const int before = Settled();
    FCard->SetStretch(true);
    EXPECT_EQ(FPaints->Count, before);
    EXPECT_GT(Settled(), before);
    const int after = FPaints->Count;
    FCard->SetStretch(true);
    EXPECT_EQ(Settled(), after);
}

// ---- Clicks ------------------------------------------------------------------------

TEST(CardClick, HiddenCardStillRaisesItsClick)
{
    QWidget table;
    table.resize(200, 200);
    auto* card = new TCardDeck(&table);
    ASSERT_TRUE(ShowAndExpose(table));
    QSignalSpy clicks(card, &TCardDeck::clicked);
    int handled = 0;
    card->SetClickHandler([&](TCardDeck& clicked) {
        EXPECT_EQ(&clicked, card);
        ++handled;
    });
    ASSERT_FALSE(card->Visible());
    QTest::mouseClick(card, Qt::LeftButton, {}, QPoint(30, 40));
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(handled, 1);
}

TEST(CardClick, ClearedHandlerIsNotCalledButTheSignalStillIs)
{
    TCardDeck card;
    QSignalSpy clicks(&card, &TCardDeck::clicked);
    int handled = 0;
    card.SetClickHandler([&](TCardDeck&) { ++handled; });
    card.ClearClickHandler();
    EXPECT_FALSE(card.HasClickHandler());
    QTest::mouseClick(&card, Qt::LeftButton);
    EXPECT_EQ(handled, 0);
    EXPECT_EQ(clicks.count(), 1);
}

TEST(CardClick, HandlerMayDisarmItselfDuringTheClick)
{
    TCardDeck card;
    int handled = 0;
    card.SetClickHandler([&](TCardDeck& self) {
        ++handled;
        self.ClearClickHandler();
    });
    QTest::mouseClick(&card, Qt::LeftButton);
    QTest::mouseClick(&card, Qt::LeftButton);
    EXPECT_EQ(handled, 1);
}

TEST(CardClick, OnlyALeftPressAndReleaseOnTheCardIsAClick)
{
    TCardDeck card;
    QSignalSpy clicks(&card, &TCardDeck::clicked);
    QTest::mouseClick(&card, Qt::RightButton);
    EXPECT_EQ(clicks.count(), 0);
    QTest::mousePress(&card, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseRelease(&card, Qt::LeftButton, {}, QPoint(200, 10));
    EXPECT_EQ(clicks.count(), 0);
    QTest::mouseRelease(&card, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(clicks.count(), 0);
}

TEST(CardClick, DoubleClickRaisesItsOwnSignal)
{
    TCardDeck card;
    QSignalSpy doubles(&card, &TCardDeck::doubleClicked);
    QTest::mouseDClick(&card, Qt::LeftButton);
    EXPECT_EQ(doubles.count(), 1);
}

}  // namespace
}  // namespace spades
