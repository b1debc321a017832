// Cards at any scale are drawn from the artwork's paths for the device pixels at
// hand: never a bitmap blown up or doubled.
#include "CardArt.h"
#include "CardDeck.h"
#include "CardRender.h"

#include <gmock/gmock.h>

#include <QPainter>

#include <cmath>

namespace spades {
namespace {

// The card drawn straight from the artwork into `size` device pixels.
QImage Reference(int value, QSize size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size.width() / 71.0, size.height() / 96.0);
    cardart::DrawCardFace(painter, value);
    return image;
}

// Pixels that differ by more than a rounding step, away from the cut corners.
int Differences(const QImage& a, const QImage& b)
{
    int count = 0;
    const int margin = 4;
    for (int y = margin; y < a.height() - margin; ++y)
        for (int x = margin; x < a.width() - margin; ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            if (std::abs(qRed(p) - qRed(q)) > 2 || std::abs(qGreen(p) - qGreen(q)) > 2 ||
                std::abs(qBlue(p) - qBlue(q)) > 2)
                ++count;
        }
    return count;
}

// The mean difference of all channels over the whole card.
double MeanDifference(const QImage& a, const QImage& b)
{
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    return sum / (3.0 * a.width() * a.height());
}

// The card control painted into an image of the given device ratio.
QImage Painted(int value, QSize logical, qreal ratio, bool stretch)
{
    TCardDeck card;
    card.SetValue(static_cast<uint8_t>(value));
    card.SetVisible(true);
    card.SetStretch(stretch);
    card.resize(logical);
    QImage image(QSize(std::lround(logical.width() * ratio), std::lround(logical.height() * ratio)),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    card.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);  // no window background
    image.setDevicePixelRatio(1);
    return image;
}

struct TScaleCase {
    const char* Name;
    int Value;
    QSize Logical;
    qreal Ratio;
    bool Stretch;
};

class CardAtScale : public ::testing::TestWithParam<TScaleCase> {};

TEST_P(CardAtScale, MatchesTheArtworkDrawnForItsPixels)
{
    const TScaleCase& c = GetParam();
    const QImage painted = Painted(c.Value, c.Logical, c.Ratio, c.Stretch);
    const QImage reference = Reference(c.Value, painted.size());
    EXPECT_EQ(Differences(painted, reference), 0);

    // The faults this guards against would show: a natural-size bitmap enlarged,
    // smoothly or by doubling its pixels, is far from the artwork at these pixels.
    const QImage bitmap = CardImage(static_cast<uint8_t>(c.Value), 1);
    const QImage doubled = bitmap.scaled(painted.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation)
                               .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage smoothed = bitmap.scaled(painted.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                                .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    EXPECT_GT(Differences(doubled, reference), 50);
    EXPECT_GT(Differences(smoothed, reference), 50);
}

INSTANTIATE_TEST_SUITE_P(
    Cards, CardAtScale,
    ::testing::Values(TScaleCase{"AceOfSpadesAt1_5", 1, {71, 96}, 1.5, false},
                      TScaleCase{"QueenOfHeartsAt1_5", 25, {71, 96}, 1.5, false},
                      TScaleCase{"TenOfDiamondsAt1_25", 49, {71, 96}, 1.25, false},
                      TScaleCase{"JokerAt1_75", 53, {71, 96}, 1.75, false},
                      TScaleCase{"BackAt3", 54, {71, 96}, 3.0, false},
                      TScaleCase{"KingOfClubsTwiceTheSize", 39, {142, 192}, 1.0, false},
                      TScaleCase{"SevenOfClubsAt1_5Scaled", 33, {107, 144}, 1.5, false},
                      TScaleCase{"StretchedPileAt2", 55, {86, 116}, 2.0, true}),
    [](const ::testing::TestParamInfo<TScaleCase>& info) { return std::string(info.param.Name); });

// A card shown at its natural size keeps its rounded corners at any scale.
TEST(CardAtScaleCorners, OuterCornerPixelsStayClear)
{
    for (qreal ratio : {1.25, 1.5, 1.75, 3.0}) {
        const QImage painted = Painted(12, {71, 96}, ratio, false);
        const int w = painted.width(), h = painted.height();
        for (const QPoint p : {QPoint(0, 0), QPoint(w - 1, 0), QPoint(0, h - 1), QPoint(w - 1, h - 1)})
            EXPECT_EQ(qAlpha(painted.pixel(p)), 0) << ratio << " at " << p.x() << "," << p.y();
        EXPECT_EQ(qAlpha(painted.pixel(w / 2, h / 2)), 255);
    }
}

// Rendered once per size; the cache keeps to its limit, dropping the oldest.
TEST(CardCache, KeepsToItsLimit)
{
    ClearRenderedCards();
    const std::size_t limit = RenderedCardLimit();
    SetRenderedCardLimit(3u * 100 * 136 * 4);
    const QPixmap first = RenderedCardPixmap(1, {100, 136}, 1.0, true);
    EXPECT_EQ(RenderedCardPixmap(1, {100, 136}, 1.0, true).cacheKey(), first.cacheKey()) << "rendered once";
    for (int value = 2; value <= 6; ++value)
        RenderedCardPixmap(static_cast<uint8_t>(value), {100, 136}, 1.0, true);
    EXPECT_LE(RenderedCardBytes(), RenderedCardLimit());
    EXPECT_NE(RenderedCardPixmap(1, {100, 136}, 1.0, true).cacheKey(), first.cacheKey()) << "the oldest went";
    SetRenderedCardLimit(limit);
    ClearRenderedCards();
}

// While the window is being resized, a card drawn before stands in for the new
// size; once the resizing rests the card is drawn for its pixels again.
TEST(CardLiveResize, StandsInWithTheNearestSizeThenDrawsExactly)
{
    ClearRenderedCards();
    (void)Painted(7, {100, 135}, 1.0, false);  // drawn once at the old size
    const std::size_t before = RenderedCardBytes();
    SetLiveResize(true);
    const QImage quick = Painted(7, {104, 140}, 1.0, false);
    EXPECT_EQ(RenderedCardBytes(), before) << "nothing new is rendered while resizing";
    EXPECT_GT(Differences(quick, Reference(7, {104, 140})), 0);
    // Yet the same card at the same place: only its resampling differs.
    const double same = MeanDifference(quick, Reference(7, {104, 140}));
    const double other = MeanDifference(Painted(20, {104, 140}, 1.0, false), Reference(7, {104, 140}));
    EXPECT_LT(same * 4, other) << same << " against another card's " << other;
    SetLiveResize(false);
    const QImage sharp = Painted(7, {104, 140}, 1.0, false);
    EXPECT_GT(RenderedCardBytes(), before);
    EXPECT_EQ(Differences(sharp, Reference(7, {104, 140})), 0);
    ClearRenderedCards();
}

}  // namespace
}  // namespace spades
