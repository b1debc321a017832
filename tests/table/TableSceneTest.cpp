// The table's layout: exact at its natural size, and scaled as one piece at any
// other window size and device ratio, with clicks landing on the card beneath.
#include <gmock/gmock.h>

#include <QMenuBar>
#include <QToolButton>
#include <cmath>

#include "CardRender.h"
#include "Cmpint32.h"
#include "ExtListView.h"
#include "LblEffct.h"
#include "Shape.h"
#include "StopPicture.h"
#include "TableHarness.h"
#include "TableScene.h"
#include "Tilemap.h"

using namespace spades;
using namespace spades::testing;

namespace {

struct TPlaceCase {
    const char* Name;
    QRect Place;
};

// Every control where the table's design puts it.
const std::vector<TPlaceCase> Places = {
    {"shpPlay", {246, 166, 269, 133}},       {"lblPlayer1", {352, 6, 169, 33}},
    {"lblPlayer2", {609, 142, 97, 33}},      {"lblPlayer3", {352, 318, 137, 33}},
    {"lblPlayer4", {88, 142, 97, 33}},       {"lblWaitFor", {8, 8, 257, 33}},
    {"lblWhoWon", {584, 6, 175, 33}},        {"LabelEffect1", {296, 414, 449, 33}},
    {"lvwBids", {4, 367, 200, 90}},          {"btnInterrupt", {716, 408, 50, 50}},
    {"crdStack1", {204, 40, 43, 58}},        {"crdStack2", {712, 112, 43, 58}},
    {"crdStack3", {214, 391, 43, 58}},       {"crdStack4", {12, 112, 43, 58}},
};

class TableLayout : public ::testing::TestWithParam<TPlaceCase> {};

TEST_P(TableLayout, NaturalSizeIsTheDesign)
{
    TTableHarness table;
    TfrmMain& window = table.Open();
    EXPECT_EQ(window.centralWidget()->size(), QSize(769, 461));
    auto* control = window.centralWidget()->findChild<QWidget*>(GetParam().Name);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->geometry(), GetParam().Place);
    EXPECT_EQ(window.Scene().TableRect(*control), GetParam().Place);
    EXPECT_EQ(window.Scene().Scale(), 1.0);
}

INSTANTIATE_TEST_SUITE_P(Controls, TableLayout, ::testing::ValuesIn(Places),
                         [](const ::testing::TestParamInfo<TPlaceCase>& info) { return std::string(info.param.Name); });

TEST(TableLayoutLimits, TheWindowCannotShrinkBelowTheTable)
{
    TTableHarness table;
    TfrmMain& window = table.Open();
    window.resize(300, 200);
    QCoreApplication::processEvents();
    EXPECT_GE(window.centralWidget()->width(), 769);
    EXPECT_GE(window.centralWidget()->height(), 461);
}

// ---- Scaled -------------------------------------------------------------------------------------------

struct TScaleCase {
    const char* Name;
    QSize Client;  // the table area of the window
};

class TableSceneScaled : public ::testing::TestWithParam<TScaleCase> {
protected:
    void SetUp() override
    {
        // The same cases run again under other device ratios (QT_SCALE_FACTOR).
        const QByteArray factor = qgetenv("QT_SCALE_FACTOR");
        window = &table.Open(777, 1);
        if (!factor.isEmpty()) {
            ASSERT_DOUBLE_EQ(window->devicePixelRatioF(), factor.toDouble());
        }
        const QSize client = GetParam().Client;
        window->resize(client.width(), client.height() + window->menuBar()->height());
        ASSERT_TRUE(QTest::qWaitFor([&] { return window->centralWidget()->size() == client; }));
    }

    TTableScene& Scene() { return window->Scene(); }
    QWidget& Surface() { return *window->centralWidget(); }

    TTableHarness table;  // South is a person
    TfrmMain* window = nullptr;
};

TEST_P(TableSceneScaled, OneScaleCentredAndTheSurfaceFillsTheWindow)
{
    const QSize client = GetParam().Client;
    const qreal scale = std::min(client.width() / 769.0, client.height() / 461.0);
    EXPECT_DOUBLE_EQ(Scene().Scale(), scale);
    EXPECT_NEAR(Scene().Origin().x(), (client.width() - 769 * scale) / 2, 1e-9);
    EXPECT_NEAR(Scene().Origin().y(), (client.height() - 461 * scale) / 2, 1e-9);
    EXPECT_EQ(Surface().geometry(), QRect(QPoint(0, Surface().y()), client)) << "the surface tiles it all";
    EXPECT_EQ(static_cast<TTiledBitmap&>(Surface()).TileScale(), scale);
    for (const TPlaceCase& place : Places) {
        auto* control = Surface().findChild<QWidget*>(place.Name);
        const QRectF expected(Scene().Origin() + QPointF(place.Place.topLeft()) * scale,
                              QSizeF(place.Place.size()) * scale);
        EXPECT_NEAR(control->x(), expected.x(), 1.0) << place.Name;
        EXPECT_NEAR(control->y(), expected.y(), 1.0) << place.Name;
        EXPECT_NEAR(control->width(), expected.width(), 1.0) << place.Name;
        EXPECT_NEAR(control->height(), expected.height(), 1.0) << place.Name;
    }
    // The stop button's picture grows with the table, made for the device's pixels.
    auto* stop = Surface().findChild<QToolButton*>("btnInterrupt");
    const int icon = static_cast<int>(std::lround(32 * scale));
    EXPECT_EQ(stop->iconSize(), QSize(icon, icon));
    const QPixmap picture = stop->icon().pixmap(QSize(icon, icon), stop->devicePixelRatioF());
    EXPECT_NEAR(picture.width(), icon * stop->devicePixelRatioF(), 1.0);
    if (picture.width() != 32) {
        EXPECT_EQ(picture.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied),
                  StopPicture(picture.width()))
            << "drawn afresh, never a grown bitmap";
    }
    // The text grows with the table.
    EXPECT_EQ(Surface().findChild<TLabelEffect*>("lblPlayer1")->font().pixelSize(), std::lround(27 * scale));
}

TEST_P(TableSceneScaled, ClicksOnEveryVisibleStripOfTheFanPlayThatCard)
{
    window->Steps().Request(TTableRequest::NewGame);
    int played = 0;
    while (played < 13) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return table.WaitingSeat() == South; }, 10000)) << "after " << played;
        TSpadesGame& game = window->Game();
        const TPlayer& south = game.Table.Player(South);
        // The fan, left to right: each card shows from its left edge to the next card's.
        std::vector<std::pair<int, QRect>> fan;
        for (int slot = 1; slot <= 13; ++slot)
            if (south.FHand[static_cast<size_t>(slot)] != NoCard)
                fan.push_back({slot, Scene().TableRect(table.Card(South, slot))});
        std::sort(fan.begin(), fan.end(), [](const auto& a, const auto& b) { return a.second.left() < b.second.left(); });
        int legalSlot = 0;
        QPointF legalPoint;
        for (size_t i = 0; i < fan.size(); ++i) {
            const QRect& r = fan[i].second;
            const int right = i + 1 < fan.size() ? fan[i + 1].second.left() : r.right() + 1;
            const QPointF centre((r.left() + right) / 2.0, r.top() + r.height() / 2.0);
            TCardDeck& card = table.Card(South, fan[i].first);
            EXPECT_EQ(Scene().HitTest(centre), &card) << "slot " << fan[i].first;
            EXPECT_EQ(Surface().childAt(Scene().ToWindow(centre).toPoint()), &card) << "slot " << fan[i].first;
            if (!legalSlot && game.CheckPersonCard(South, fan[i].first) == TPlayVerdict::Legal) {
                legalSlot = fan[i].first;
                legalPoint = centre;
            }
        }
        ASSERT_NE(legalSlot, 0);
        const int value = south.FHand[static_cast<size_t>(legalSlot)];
        TCardDeck& card = table.Card(South, legalSlot);
        const QPoint at = Scene().ToWindow(legalPoint).toPoint();
        QTest::mouseClick(&card, Qt::LeftButton, {}, card.mapFrom(&Surface(), at));
        ++played;
        EXPECT_TRUE(game.Table.CardsPlayed[static_cast<size_t>(value)]) << "the click did not play the card";
        // The card lies on its trick place, scaled with the rest of the table.
        for (int place = 1; place <= 4; ++place) {
            const TPlayStack& stack = game.Table.Place(place);
            if (stack.FValue != value)
                continue;
            const QRect onTable(stack.FBounds.Left, stack.FBounds.Top, stack.FBounds.Width, stack.FBounds.Height);
            EXPECT_EQ(Scene().TableRect(card), onTable);
            EXPECT_EQ(card.geometry(), Scene().ToWindow(onTable));
        }
    }
}

TEST_P(TableSceneScaled, QuickFramesWhileResizingSharpOnceItRests)
{
    window->resize(window->size() + QSize(37, 23));
    QCoreApplication::sendPostedEvents();
    EXPECT_TRUE(LiveResize());
    EXPECT_TRUE(QTest::qWaitFor([] { return !LiveResize(); }, 2000)) << "the resizing never rested";
}

INSTANTIATE_TEST_SUITE_P(Sizes, TableSceneScaled,
                         ::testing::Values(TScaleCase{"Natural", {769, 461}}, TScaleCase{"Twice", {1538, 922}},
                                           TScaleCase{"WideWindow", {1600, 800}},
                                           TScaleCase{"TallWindow", {1000, 1000}}),
                         [](const ::testing::TestParamInfo<TScaleCase>& info) { return std::string(info.param.Name); });

}  // namespace

namespace {

// The drawn picture is the built-in one: sampled at the centres of the bitmap's
// pixels, a large drawing gives the bitmap's colours.
TEST(StopPictureArt, AgreesWithTheBuiltInBitmap)
{
    QImage bitmap;
    LoadCompressedBitmap("IDB_INTERRUPT", bitmap);
    ASSERT_EQ(bitmap.size(), QSize(32, 32));
    bitmap = ClearGround(bitmap);
    ASSERT_EQ(bitmap.pixelColor(0, 0).alpha(), 0) << "the grey ground shows the button's face";
    constexpr int Zoom = 10;
    const QImage drawn = StopPicture(32 * Zoom);
    int differ = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const QColor a = drawn.pixelColor(x * Zoom + Zoom / 2, y * Zoom + Zoom / 2), b = bitmap.pixelColor(x, y);
            if (std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue()) +
                    std::abs(a.alpha() - b.alpha()) > 24)
                ++differ;
        }
    EXPECT_LE(differ, 8) << "pixels of another colour";
}

}  // namespace
