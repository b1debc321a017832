// The card art generator: twelve court figures of their own, double-ended
// cards, backs laid in whole repeats with equal margins, and indexes that stay
// apart from the card's edge and from each other.
#include "CardArt.h"
#include "PlayerU.h"

#include <gtest/gtest.h>

#include <QImage>

#include <algorithm>
#include <cstdlib>
#include <string>

namespace spades {
namespace {

using cardart::CardHeight;
using cardart::CardWidth;
using cardart::DrawCard;

// Two pixels count as different when any channel differs by more than a
// little anti-aliasing would.
bool Differs(QRgb a, QRgb b)
{
    return std::abs(qRed(a) - qRed(b)) > 24 || std::abs(qGreen(a) - qGreen(b)) > 24 ||
           std::abs(qBlue(a) - qBlue(b)) > 24;
}

// Share of the pixels of `area` that differ between the two images, with `b`
// read through `map` (identity, mirror or half turn).
template <typename Map>
double DifferentShare(const QImage& a, const QImage& b, const QRect& area, Map map)
{
    int different = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QPoint p = map(x, y);
            different += Differs(a.pixel(x, y), b.pixel(p.x(), p.y()));
        }
    return double(different) / (area.width() * area.height());
}

QPoint Same(int x, int y) { return {x, y}; }

std::string CourtName(int value)
{
    return CardImageName(static_cast<uint8_t>(value)).substr(2);
}

// ---- Courts ---------------------------------------------------------------------

struct TCourtCase {
    int Value;
    int Scale;
};

class CourtFigure : public testing::TestWithParam<TCourtCase> {};

std::vector<TCourtCase> Courts()
{
    std::vector<TCourtCase> cases;
    for (int scale : {1, 2})
        for (int suit = 1; suit <= 4; ++suit)
            for (int rank = 11; rank <= 13; ++rank)
                cases.push_back({CardValue(suit, rank), scale});
    return cases;
}

// The picture, without the indexes in the corners.
QRect Picture(int scale)
{
    return QRect(15 * scale, 6 * scale, 42 * scale, 84 * scale);
}

// Where the picture's outlines run: pixels whose colour jumps from the next one
// to the right or below. A figure only recoloured keeps all of them.
std::vector<bool> Outlines(const QImage& card, const QRect& area)
{
    std::vector<bool> edges;
    const auto jump = [](QRgb a, QRgb b) {
        return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                   std::abs(qBlue(a) - qBlue(b)) > 120;
    };
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            edges.push_back(jump(card.pixel(x, y), card.pixel(x + 1, y)) ||
                            jump(card.pixel(x, y), card.pixel(x, y + 1)));
    return edges;
}

// Share of the outline pixels of either picture that the other lacks.
double OutlineDistance(const std::vector<bool>& a, const std::vector<bool>& b)
{
    int either = 0, one = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        either += a[i] || b[i];
        one += a[i] != b[i];
    }
    return either == 0 ? 0.0 : double(one) / either;
}

TEST_P(CourtFigure, DiffersFromTheOtherElevenCourts)
{
    const auto [value, scale] = GetParam();
    const QImage mine = DrawCard(value, scale);
    const std::vector<bool> myOutlines = Outlines(mine, Picture(scale));
    for (int suit = 1; suit <= 4; ++suit)
        for (int rank = 11; rank <= 13; ++rank) {
            const int other = CardValue(suit, rank);
            if (other == value)
                continue;
            const QImage theirs = DrawCard(other, scale);
            EXPECT_GT(DifferentShare(mine, theirs, Picture(scale), Same), 0.10)
                << CourtName(value) << " against " << CourtName(other);
            // Not the same drawing in other colours: the shapes differ too.
            EXPECT_GT(OutlineDistance(myOutlines, Outlines(theirs, Picture(scale))), 0.2)
                << CourtName(value) << " against " << CourtName(other);
        }
}

TEST_P(CourtFigure, IsTheSameUpsideDown)
{
    const auto [value, scale] = GetParam();
    const QImage card = DrawCard(value, scale);
    const int w = card.width(), h = card.height();
    EXPECT_LT(DifferentShare(card, card, card.rect(),
                             [&](int x, int y) { return QPoint(w - 1 - x, h - 1 - y); }),
              0.03);
}

TEST_P(CourtFigure, FillsMostOfItsHalfOfThePicture)
{
    const auto [value, scale] = GetParam();
    const QImage card = DrawCard(value, scale);
    const QRect top(16 * scale, 7 * scale, 40 * scale, 41 * scale);
    int inked = 0;
    for (int y = top.top(); y <= top.bottom(); ++y)
        for (int x = top.left(); x <= top.right(); ++x)
            inked += qGray(card.pixel(x, y)) < 235;
    EXPECT_GT(double(inked) / (top.width() * top.height()), 0.35);
}

INSTANTIATE_TEST_SUITE_P(Generator, CourtFigure, testing::ValuesIn(Courts()),
                         [](const testing::TestParamInfo<TCourtCase>& info) {
                             return CourtName(info.param.Value) + "_x" +
                                    std::to_string(info.param.Scale);
                         });

// ---- Backs ----------------------------------------------------------------------

struct TBackCase {
    int Back;
    int Scale;
};

class BackPattern : public testing::TestWithParam<TBackCase> {};
// The backs symmetric top to bottom as well as left to right.
class UpDownBackPattern : public BackPattern {};

std::vector<TBackCase> Backs(bool upDownOnly = false)
{
    std::vector<TBackCase> cases;
    for (int scale : {1, 2})
        for (int back = 1; back <= 9; ++back) {
            // Scales overlap downward; stars and the sunburst's spade point up.
            const bool upDown = back != 5 && back != 7 && back != 9;
            if (upDown || !upDownOnly)
                cases.push_back({back, scale});
        }
    return cases;
}

std::string BackName(const testing::TestParamInfo<TBackCase>& info)
{
    return "Back" + std::to_string(info.param.Back) + "_x" + std::to_string(info.param.Scale);
}

// The patterned field inside the white margin.
QRect Field(int scale)
{
    return QRect(4 * scale, 4 * scale, 63 * scale, 88 * scale);
}

// The mirror image of the field against the field, allowing the one-pixel
// shift that rasterising a line on a pixel boundary may bring.
double MirrorDifference(const QImage& card, const QRect& field, bool leftRight)
{
    const int w = card.width(), h = card.height();
    double best = 1.0;
    for (int shift = -1; shift <= 1; ++shift) {
        const QRect inner = field.adjusted(1, 1, -1, -1);
        best = std::min(best, DifferentShare(card, card, inner, [&](int x, int y) {
                            return leftRight ? QPoint(w - 1 - x + shift, y)
                                             : QPoint(x, h - 1 - y + shift);
                        }));
    }
    return best;
}

TEST_P(BackPattern, IsCutAlikeAtTheLeftAndRightEdges)
{
    const auto [back, scale] = GetParam();
    const QImage card = DrawCard(FirstBackValue + back - 1, scale);
    EXPECT_LT(MirrorDifference(card, Field(scale), true), 0.02);
}

TEST_P(UpDownBackPattern, IsCutAlikeAtTheTopAndBottomEdges)
{
    const auto [back, scale] = GetParam();
    const QImage card = DrawCard(FirstBackValue + back - 1, scale);
    EXPECT_LT(MirrorDifference(card, Field(scale), false), 0.02);
}

TEST_P(BackPattern, LeavesAnEqualWhiteMarginOnEverySide)
{
    const auto [back, scale] = GetParam();
    const QImage card = DrawCard(FirstBackValue + back - 1, scale);
    const QRect field = Field(scale);
    const auto white = [](QRgb p) { return qGray(p) > 245; };
    // Between the border and the field, on each of the four sides, all white;
    // the first row and column of the field, along the middle, not.
    const int midX = card.width() / 2, midY = card.height() / 2;
    for (int k = scale; k < field.left() - 1; ++k) {
        EXPECT_TRUE(white(card.pixel(k, midY))) << "left " << k;
        EXPECT_TRUE(white(card.pixel(card.width() - 1 - k, midY))) << "right " << k;
        EXPECT_TRUE(white(card.pixel(midX, k))) << "top " << k;
        EXPECT_TRUE(white(card.pixel(midX, card.height() - 1 - k))) << "bottom " << k;
    }
    int unpainted = 0;
    for (int k = field.top() + 4 * scale; k < field.bottom() - 4 * scale; ++k)
        unpainted += white(card.pixel(field.left(), k)) && white(card.pixel(field.right(), k));
    EXPECT_LT(unpainted, field.height() / 4);
}

INSTANTIATE_TEST_SUITE_P(Generator, BackPattern, testing::ValuesIn(Backs()), BackName);
INSTANTIATE_TEST_SUITE_P(Generator, UpDownBackPattern, testing::ValuesIn(Backs(true)), BackName);

// ---- Indexes --------------------------------------------------------------------

struct TIndexCase {
    int Rank;
    int Suit;
};

class RankIndex : public testing::TestWithParam<TIndexCase> {};
class TenIndex : public RankIndex {};

// Columns of the rank's corner area (above the suit sign) that hold ink.
std::vector<bool> InkedColumns(const QImage& card)
{
    std::vector<bool> inked(14, false);
    for (int x = 1; x < 14; ++x)
        for (int y = 2; y < 15; ++y)
            if (qGray(card.pixel(x, y)) < 200)
                inked[static_cast<size_t>(x)] = true;
    return inked;
}

TEST_P(RankIndex, StandsClearOfTheBorderAndTheNextCardsEdge)
{
    const auto [rank, suit] = GetParam();
    const std::vector<bool> inked = InkedColumns(DrawCard(CardValue(suit, rank), 1));
    // Column 1 is just inside the border; a fanned hand shows 14 columns.
    EXPECT_FALSE(inked[1]);
    EXPECT_FALSE(inked[13]);
    int columns = 0;
    for (bool i : inked)
        columns += i;
    EXPECT_GE(columns, rank == 1 ? 6 : 4);
}

TEST_P(TenIndex, KeepsAGapBetweenItsDigits)
{
    const auto [rank, suit] = GetParam();
    const std::vector<bool> inked = InkedColumns(DrawCard(CardValue(suit, rank), 1));
    // Ink, then at least one clear column, then ink again.
    int runs = 0;
    for (size_t x = 1; x < inked.size(); ++x)
        runs += inked[x] && !inked[x - 1];
    EXPECT_EQ(runs, 2);
}

std::vector<TIndexCase> Indexes(int firstRank = 1, int lastRank = 13)
{
    std::vector<TIndexCase> cases;
    for (int suit = 1; suit <= 4; ++suit)
        for (int rank = firstRank; rank <= lastRank; ++rank)
            cases.push_back({rank, suit});
    return cases;
}

std::string IndexName(const testing::TestParamInfo<TIndexCase>& info)
{
    return CourtName(CardValue(info.param.Suit, info.param.Rank));
}

INSTANTIATE_TEST_SUITE_P(Generator, RankIndex, testing::ValuesIn(Indexes()), IndexName);
INSTANTIATE_TEST_SUITE_P(Generator, TenIndex, testing::ValuesIn(Indexes(10, 10)), IndexName);

}  // namespace
}  // namespace spades
