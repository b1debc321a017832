#include "CardArt.h"

#include "Glyphs.h"

#include <QPainter>

#include <array>

namespace spades::cardart {

const std::array<const char*, 14> RankTexts = {
    "", "A", "2", "3", "4", "5", "6", "7", "8", "9", "10", "J", "Q", "K"};

namespace {

constexpr QColor BorderColour(0x20, 0x20, 0x20);
// The index fills the strip a fanned card leaves in view (14 units wide).
constexpr double IndexCentreX = 7.4;
constexpr double IndexTop = 3.0;
constexpr double IndexRankHeight = 11.0;
constexpr double IndexPen = 1.7;
constexpr double IndexSuitHeight = 7.6;
constexpr double IndexSuitCentreY = 19.6;

constexpr double PipHeight = 13.0;
constexpr double ColumnLeft = 21.5, ColumnCentre = 35.5, ColumnRight = 49.5;
constexpr double RowTop = 15.5, RowBottom = CardHeight - RowTop;


// Pip places for 2..10 as (column, row) with row 0 at the top and 1 at the bottom.
struct TPip {
    double Column;
    double Row;
};

std::vector<TPip> PipLayout(int rank)
{
    const double L = ColumnLeft, C = ColumnCentre, R = ColumnRight;
    const std::vector<TPip> four = {{L, 0}, {R, 0}, {L, 1}, {R, 1}};
    const std::vector<TPip> six = {{L, 0}, {R, 0}, {L, 0.5}, {R, 0.5}, {L, 1}, {R, 1}};
    const std::vector<TPip> eight = {{L, 0}, {R, 0}, {L, 1.0 / 3}, {R, 1.0 / 3},
                                     {L, 2.0 / 3}, {R, 2.0 / 3}, {L, 1}, {R, 1}};
    auto with = [](std::vector<TPip> base, std::initializer_list<TPip> more) {
        base.insert(base.end(), more);
        return base;
    };
    switch (rank) {
    case 2: return {{C, 0}, {C, 1}};
    case 3: return {{C, 0}, {C, 0.5}, {C, 1}};
    case 4: return four;
    case 5: return with(four, {{C, 0.5}});
    case 6: return six;
    case 7: return with(six, {{C, 0.25}});
    case 8: return with(six, {{C, 0.25}, {C, 0.75}});
    case 9: return with(eight, {{C, 0.5}});
    case 10: return with(eight, {{C, 1.0 / 6}, {C, 5.0 / 6}});
    default: return {};
    }
}

void DrawAceOfSpades(QPainter& painter)
{
    const QPointF centre(CardWidth / 2.0, CardHeight / 2.0);
    const QColor black = SuitColour(TSuitShape::Spade);
    // A ring of small beads around the big spade.
    painter.setPen(QPen(black, 0.8));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(centre, 23.0, 27.0);
    for (int i = 0; i < 24; ++i) {
        const double a = i * 3.14159265358979 / 12;
        const QPointF bead(centre.x() + 25.2 * std::cos(a), centre.y() + 29.2 * std::sin(a));
        painter.setPen(Qt::NoPen);
        painter.setBrush(black);
        painter.drawEllipse(bead, 0.9, 0.9);
    }
    DrawSuit(painter, TSuitShape::Spade, centre, 40.0, false, black);
    // A white inlay inside the spade and a small red heart of a jewel at its heart.
    QTransform inlay;
    inlay.translate(centre.x(), centre.y() - 2.0);
    inlay.scale(27.0, 27.0);
    QPainterPath body = inlay.map(SuitPath(TSuitShape::Spade));
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::white, 1.1));
    painter.drawPath(body);
    DrawSuit(painter, TSuitShape::Diamond, {centre.x(), centre.y() - 1.0}, 9.0, false,
             QColor(0xd0, 0x10, 0x18));
    painter.setPen(QPen(Qt::white, 0.7));
    painter.drawPath([&] {
        QPainterPath d;
        QTransform t;
        t.translate(centre.x(), centre.y() - 1.0);
        t.scale(9.0, 9.0);
        d = t.map(SuitPath(TSuitShape::Diamond));
        return d;
    }());
}

}  // namespace

// Rank and suit in the top-left corner, and the same turned about the centre.
void DrawIndex(QPainter& painter, const QString& rank, int suitNumber)
{
    const auto suit = static_cast<TSuitShape>(suitNumber);
    const QColor colour = SuitColour(suit);
    const TGlyph glyph = GlyphFor(rank);
    for (int turn = 0; turn < 2; ++turn) {
        painter.save();
        if (turn == 1) {
            painter.translate(CardWidth, CardHeight);
            painter.rotate(180);
        }
        const double width = GlyphInkWidth(glyph, IndexRankHeight, IndexPen);
        DrawGlyph(painter, glyph, {IndexCentreX - width / 2, IndexTop}, IndexRankHeight,
                  IndexPen, colour);
        DrawSuit(painter, suit, {IndexCentreX, IndexSuitCentreY}, IndexSuitHeight, false,
                 colour);
        painter.restore();
    }
}

void DrawBlankCard(QPainter& painter)
{
    painter.fillRect(QRectF(0, 0, CardWidth, CardHeight), BorderColour);
    painter.fillRect(QRectF(1, 1, CardWidth - 2, CardHeight - 2), Qt::white);
    // The diagonal pixel inside each corner rounds the border once the
    // control cuts the three outer pixels away.
    for (const QPointF corner : {QPointF(1, 1), QPointF(CardWidth - 2, 1),
                                 QPointF(1, CardHeight - 2),
                                 QPointF(CardWidth - 2, CardHeight - 2)})
        painter.fillRect(QRectF(corner, QSizeF(1, 1)), BorderColour);
}

void DrawPipCard(QPainter& painter, int suit, int rank)
{
    const auto shape = static_cast<TSuitShape>(suit);
    const QColor colour = SuitColour(shape);
    DrawIndex(painter, RankTexts[static_cast<size_t>(rank)], suit);
    if (rank == 1) {
        if (shape == TSuitShape::Spade)
            DrawAceOfSpades(painter);
        else
            DrawSuit(painter, shape, {CardWidth / 2.0, CardHeight / 2.0}, 28.0, false, colour);
        return;
    }
    for (const TPip& pip : PipLayout(rank)) {
        const double y = RowTop + pip.Row * (RowBottom - RowTop);
        DrawSuit(painter, shape, {pip.Column, y}, PipHeight, pip.Row > 0.5, colour);
    }
}

void DrawCardFace(QPainter& painter, int value)
{
    DrawBlankCard(painter);
    if (value <= 52) {
        const int suit = (value - 1) / 13 + 1;
        const int rank = (value - 1) % 13 + 1;
        if (rank >= 11)
            DrawCourtCard(painter, suit, rank);
        else
            DrawPipCard(painter, suit, rank);
    } else if (value == 53) {
        DrawJoker(painter);
    } else {
        DrawBack(painter, value - 53);
    }
}

QImage DrawCard(int value, int scale)
{
    if (value < 1 || value > 62 || scale < 1)
        return {};
    QImage image(CardWidth * scale, CardHeight * scale, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    image.setDotsPerMeterX(3780 * scale);
    image.setDotsPerMeterY(3780 * scale);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(scale, scale);
    DrawCardFace(painter, value);
    painter.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

}  // namespace spades::cardart
