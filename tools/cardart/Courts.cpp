// The Jacks, Queens and Kings, and the joker. A court card is a framed panel with
// a bust in its upper half, repeated upside down in the lower half, as on the
// cards people know; the headwear and what the figure holds tell the rank, the
// pips in the panel and the robe's emblem tell the suit.
#include "CardArt.h"
#include "Glyphs.h"

#include <QPainter>
#include <QPainterPath>

namespace spades::cardart {

namespace {

constexpr QRectF Panel(13.5, 8.5, 44.0, 79.0);
constexpr double MidX = CardWidth / 2.0;
constexpr double MidY = CardHeight / 2.0;

const QColor Ink(0x18, 0x18, 0x18);
const QColor Skin(0xf7, 0xd9, 0xb5);
const QColor Gold(0xf0, 0xb8, 0x10);
const QColor GoldDark(0xa8, 0x78, 0x00);
const QColor Jewel(0xd0, 0x10, 0x18);

// Robe and trim colours per suit, so that the court cards of one rank differ.
struct TRobe {
    QColor Main;
    QColor Trim;
};

TRobe RobeFor(int suit)
{
    switch (suit) {
    case 1: return {QColor(0x1c, 0x3a, 0x9c), Gold};             // spades: royal blue
    case 2: return {QColor(0xc8, 0x14, 0x1e), Gold};             // hearts: crimson
    case 3: return {QColor(0x18, 0x70, 0x30), Gold};             // clubs: green
    default: return {QColor(0x8a, 0x20, 0x8a), Gold};            // diamonds: purple
    }
}

QPainterPath Polygon(std::initializer_list<QPointF> points)
{
    QPainterPath p = Line(points);
    p.closeSubpath();
    return p;
}

void Fill(QPainter& painter, const QPainterPath& path, const QColor& fill,
          double outline = 0.6)
{
    painter.setBrush(fill);
    painter.setPen(outline > 0 ? QPen(Ink, outline, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin)
                               : QPen(Qt::NoPen));
    painter.drawPath(path);
}

void Stroke(QPainter& painter, const QPainterPath& path, const QColor& colour, double width)
{
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(path);
}

void DrawRobe(QPainter& painter, int suit)
{
    const TRobe robe = RobeFor(suit);
    QPainterPath body;
    body.moveTo(15.5, MidY + 1);
    body.cubicTo(15.5, 38.0, 20.0, 34.0, 29.0, 32.5);
    body.lineTo(42.0, 32.5);
    body.cubicTo(51.0, 34.0, 55.5, 38.0, 55.5, MidY + 1);
    body.closeSubpath();
    Fill(painter, body, robe.Main);
    // Collar and the emblem of the suit on the chest.
    Stroke(painter, Polygon({{28.5, 32.8}, {MidX, 40.0}, {42.5, 32.8}}), robe.Trim, 2.0);
    painter.setPen(QPen(Ink, 0.5));
    painter.setBrush(Qt::white);
    painter.drawEllipse(QPointF(MidX, 43.6), 3.6, 3.6);
    DrawSuit(painter, static_cast<TSuitShape>(suit), {MidX, 43.6}, 5.0, false,
             SuitColour(static_cast<TSuitShape>(suit)));
    // Gold bands down the robe's front edges.
    Stroke(painter, Polygon({{22.0, 36.0}, {23.0, MidY + 1}}), robe.Trim, 1.2);
    Stroke(painter, Polygon({{49.0, 36.0}, {48.0, MidY + 1}}), robe.Trim, 1.2);
}

void DrawFace(QPainter& painter, bool red_lips)
{
    painter.setPen(QPen(Ink, 0.5));
    painter.setBrush(Skin);
    painter.drawRect(QRectF(32.5, 28.0, 6.0, 5.0));
    painter.drawEllipse(QPointF(MidX, 24.0), 5.6, 6.8);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Ink);
    painter.drawEllipse(QPointF(33.4, 23.2), 0.65, 0.65);
    painter.drawEllipse(QPointF(37.6, 23.2), 0.65, 0.65);
    Stroke(painter, Polygon({{32.4, 21.6}, {34.3, 21.3}}), Ink, 0.45);
    Stroke(painter, Polygon({{36.7, 21.3}, {38.6, 21.6}}), Ink, 0.45);
    QPainterPath nose;
    nose.moveTo(MidX, 23.6);
    nose.lineTo(MidX - 0.7, 26.0);
    nose.lineTo(MidX + 0.3, 26.2);
    Stroke(painter, nose, Ink, 0.4);
    QPainterPath mouth;
    mouth.moveTo(34.1, 27.9);
    mouth.quadTo(MidX, 28.9, 36.9, 27.9);
    Stroke(painter, mouth, red_lips ? Jewel : Ink, red_lips ? 0.9 : 0.5);
}

void DrawKing(QPainter& painter, int suit)
{
    DrawRobe(painter, suit);
    // Sceptre with an orb and a cross, on the figure's left (our right).
    Stroke(painter, Polygon({{50.0, 16.0}, {50.0, MidY + 1}}), GoldDark, 2.2);
    Stroke(painter, Polygon({{50.0, 16.0}, {50.0, MidY + 1}}), Gold, 1.2);
    painter.setPen(QPen(Ink, 0.5));
    painter.setBrush(Gold);
    painter.drawEllipse(QPointF(50.0, 14.0), 2.6, 2.6);
    Stroke(painter, Polygon({{50.0, 8.9}, {50.0, 11.6}}), Ink, 0.8);
    Stroke(painter, Polygon({{48.8, 10.0}, {51.2, 10.0}}), Ink, 0.8);
    DrawFace(painter, false);
    // Full beard and moustache.
    QPainterPath beard;
    beard.moveTo(30.0, 24.5);
    beard.cubicTo(29.6, 31.5, 33.0, 35.5, MidX, 36.0);
    beard.cubicTo(38.0, 35.5, 41.4, 31.5, 41.0, 24.5);
    beard.cubicTo(40.0, 27.5, 38.5, 27.0, MidX, 26.6);
    beard.cubicTo(32.5, 27.0, 31.0, 27.5, 30.0, 24.5);
    beard.closeSubpath();
    Fill(painter, beard, QColor(0x8a, 0x5a, 0x28), 0.5);
    Stroke(painter, Polygon({{34.0, 29.2}, {37.0, 29.2}}), Ink, 0.6);
    // A tall crown with five points and a jewelled band.
    const QPainterPath crown = Polygon({{29.0, 18.0}, {28.5, 9.5}, {31.5, 13.5}, {33.5, 8.0},
                                        {MidX, 12.5}, {37.5, 8.0}, {39.5, 13.5},
                                        {42.5, 9.5}, {42.0, 18.0}});
    Fill(painter, crown, Gold);
    Fill(painter, Polygon({{29.0, 15.2}, {42.0, 15.2}, {42.0, 18.2}, {29.0, 18.2}}),
         GoldDark, 0.5);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Jewel);
    painter.drawEllipse(QPointF(MidX, 16.7), 1.1, 1.1);
    painter.setBrush(QColor(0x20, 0x50, 0xd0));
    painter.drawEllipse(QPointF(32.0, 16.7), 0.8, 0.8);
    painter.drawEllipse(QPointF(39.0, 16.7), 0.8, 0.8);
    painter.setBrush(Gold);
    painter.setPen(QPen(Ink, 0.4));
    for (const QPointF tip : {QPointF(28.5, 9.3), QPointF(33.5, 7.8), QPointF(37.5, 7.8),
                              QPointF(42.5, 9.3)})
        painter.drawEllipse(tip, 0.9, 0.9);
}

void DrawQueen(QPainter& painter, int suit)
{
    // Long hair falling behind the shoulders.
    QPainterPath hair;
    hair.moveTo(MidX, 15.5);
    hair.cubicTo(27.0, 15.5, 27.5, 24.0, 26.5, 36.0);
    hair.lineTo(31.0, 36.0);
    hair.lineTo(31.5, 24.0);
    hair.lineTo(39.5, 24.0);
    hair.lineTo(40.0, 36.0);
    hair.lineTo(44.5, 36.0);
    hair.cubicTo(43.5, 24.0, 44.0, 15.5, MidX, 15.5);
    hair.closeSubpath();
    Fill(painter, hair, QColor(0xe8, 0xa8, 0x30), 0.5);
    DrawRobe(painter, suit);
    // A tulip held up on the figure's left (our right).
    Stroke(painter, Polygon({{50.5, 20.0}, {50.0, MidY + 1}}), QColor(0x20, 0x80, 0x20), 1.1);
    QPainterPath leaf;
    leaf.moveTo(50.2, 30.0);
    leaf.quadTo(54.5, 27.0, 55.0, 23.5);
    leaf.quadTo(51.0, 25.5, 50.2, 30.0);
    Fill(painter, leaf, QColor(0x30, 0xa0, 0x30), 0.4);
    QPainterPath bloom;
    bloom.moveTo(47.3, 14.0);
    bloom.lineTo(48.8, 16.2);
    bloom.lineTo(50.5, 13.0);
    bloom.lineTo(52.2, 16.2);
    bloom.lineTo(53.7, 14.0);
    bloom.cubicTo(54.0, 19.5, 52.5, 21.0, 50.5, 21.0);
    bloom.cubicTo(48.5, 21.0, 47.0, 19.5, 47.3, 14.0);
    bloom.closeSubpath();
    Fill(painter, bloom, Jewel, 0.5);
    DrawFace(painter, true);
    // Fringe, then a low tiara of rounded arches with a jewel at its peak.
    QPainterPath fringe;
    fringe.moveTo(30.2, 21.0);
    fringe.cubicTo(30.5, 17.0, 33.0, 17.2, MidX, 17.2);
    fringe.cubicTo(38.0, 17.2, 40.5, 17.0, 40.8, 21.0);
    fringe.cubicTo(38.5, 19.2, 32.5, 19.2, 30.2, 21.0);
    Fill(painter, fringe, QColor(0xe8, 0xa8, 0x30), 0.4);
    QPainterPath tiara;
    tiara.moveTo(30.0, 17.8);
    tiara.cubicTo(29.5, 14.0, 32.5, 13.2, 32.8, 15.6);
    tiara.cubicTo(33.0, 11.0, 38.0, 11.0, 38.2, 15.6);
    tiara.cubicTo(38.5, 13.2, 41.5, 14.0, 41.0, 17.8);
    tiara.closeSubpath();
    Fill(painter, tiara, Gold, 0.5);
    painter.setPen(QPen(Ink, 0.4));
    painter.setBrush(Jewel);
    painter.drawEllipse(QPointF(MidX, 14.8), 1.2, 1.2);
    painter.setBrush(Qt::white);
    painter.drawEllipse(QPointF(31.3, 16.3), 0.6, 0.6);
    painter.drawEllipse(QPointF(39.7, 16.3), 0.6, 0.6);
}

void DrawJack(QPainter& painter, int suit)
{
    const TRobe robe = RobeFor(suit);
    DrawRobe(painter, suit);
    // A halberd on the figure's left (our right).
    Stroke(painter, Polygon({{50.5, 12.0}, {50.5, MidY + 1}}), QColor(0x7a, 0x4a, 0x18), 1.3);
    const QPainterPath blade = Polygon({{50.5, 14.0}, {55.5, 12.5}, {56.0, 18.5},
                                        {50.5, 17.5}});
    Fill(painter, blade, QColor(0xc8, 0xcc, 0xd8), 0.5);
    Fill(painter, Polygon({{50.5, 9.5}, {51.8, 13.0}, {49.2, 13.0}}),
         QColor(0xc8, 0xcc, 0xd8), 0.4);
    // Short curled hair at the sides, below the cap.
    painter.setPen(QPen(Ink, 0.4));
    painter.setBrush(QColor(0x70, 0x40, 0x18));
    painter.drawEllipse(QPointF(29.8, 23.8), 2.0, 3.4);
    painter.drawEllipse(QPointF(41.2, 23.8), 2.0, 3.4);
    DrawFace(painter, false);
    // A flat cap with a band and a long feather sweeping to the side.
    QPainterPath feather;
    feather.moveTo(40.0, 15.0);
    feather.cubicTo(43.0, 9.0, 45.0, 8.5, 47.0, 6.0);
    feather.cubicTo(47.5, 9.5, 45.0, 13.5, 40.5, 16.5);
    feather.closeSubpath();
    const bool redSuit = suit == 2 || suit == 4;
    Fill(painter, feather, redSuit ? QColor(0x20, 0x60, 0xd0) : Jewel, 0.5);
    Stroke(painter, Polygon({{40.5, 15.6}, {46.6, 6.6}}), Ink, 0.35);
    QPainterPath cap;
    cap.moveTo(27.0, 18.8);
    cap.cubicTo(26.5, 12.5, 33.0, 11.0, MidX, 11.0);
    cap.cubicTo(40.0, 11.0, 44.0, 13.0, 44.0, 18.8);
    cap.closeSubpath();
    Fill(painter, cap, robe.Main, 0.5);
    Fill(painter, Polygon({{27.2, 16.8}, {43.9, 16.8}, {43.9, 19.0}, {27.2, 19.0}}), Gold, 0.5);
}

// The panel's frame, its white field and the two suit pips in its corners.
void DrawPanel(QPainter& painter, int suit)
{
    const QColor colour = SuitColour(static_cast<TSuitShape>(suit));
    painter.setPen(QPen(colour, 0.8));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(Panel);
    for (int turn = 0; turn < 2; ++turn) {
        painter.save();
        if (turn == 1) {
            painter.translate(CardWidth, CardHeight);
            painter.rotate(180);
        }
        DrawSuit(painter, static_cast<TSuitShape>(suit), {18.8, 14.2}, 7.0, false, colour);
        painter.restore();
    }
}

// The joker's letters run down the corner; the last is 'R'.
void DrawJokerIndex(QPainter& painter)
{
    const QColor colour(0xd0, 0x10, 0x18);
    for (int turn = 0; turn < 2; ++turn) {
        painter.save();
        if (turn == 1) {
            painter.translate(CardWidth, CardHeight);
            painter.rotate(180);
        }
        double y = 3.5;
        for (const char* letter : {"J", "O", "K", "E", "R"}) {
            const TGlyph glyph = GlyphFor(letter);
            const double width = GlyphInkWidth(glyph, 6.5, 1.2);
            DrawGlyph(painter, glyph, {6.5 - width / 2, y}, 6.5, 1.2, colour);
            y += 8.0;
        }
        painter.restore();
    }
}

}  // namespace

void DrawCourtCard(QPainter& painter, int suit, int rank)
{
    DrawIndex(painter, RankTexts[static_cast<size_t>(rank)], suit);
    for (int turn = 0; turn < 2; ++turn) {
        painter.save();
        if (turn == 1) {
            painter.translate(CardWidth, CardHeight);
            painter.rotate(180);
        }
        painter.setClipRect(QRectF(Panel.left(), Panel.top(), Panel.width(),
                                   MidY - Panel.top()));
        switch (rank) {
        case 11: DrawJack(painter, suit); break;
        case 12: DrawQueen(painter, suit); break;
        default: DrawKing(painter, suit); break;
        }
        painter.restore();
    }
    DrawPanel(painter, suit);
    painter.setPen(QPen(SuitColour(static_cast<TSuitShape>(suit)), 0.6));
    painter.drawLine(QPointF(Panel.left(), MidY), QPointF(Panel.right(), MidY));
}

void DrawJoker(QPainter& painter)
{
    DrawJokerIndex(painter);
    const QColor red(0xd0, 0x10, 0x18), green(0x18, 0x90, 0x38), blue(0x1c, 0x3a, 0x9c);
    // Body in a harlequin pattern.
    painter.save();
    QPainterPath body;
    body.moveTo(17.0, 88.0);
    body.cubicTo(17.0, 66.0, 24.0, 60.0, MidX, 59.0);
    body.cubicTo(47.0, 60.0, 54.0, 66.0, 54.0, 88.0);
    body.closeSubpath();
    Fill(painter, body, Gold);
    painter.setClipPath(body);
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 6; ++col) {
            if ((row + col) % 2 != 0)
                continue;
            const double x = 14.0 + col * 8.0, y = 58.0 + row * 8.0;
            Fill(painter, Polygon({{x + 4, y}, {x + 8, y + 4}, {x + 4, y + 8}, {x, y + 4}}),
                 (row % 2 == 0) ? red : blue, 0);
        }
    painter.restore();
    Stroke(painter, body, Ink, 0.6);
    // A ruff of points around the neck.
    QPainterPath ruff;
    const int points = 9;
    for (int i = 0; i <= points * 2; ++i) {
        const double a = 3.14159265358979 * i / (points * 2);
        const double r = (i % 2 == 0) ? 13.0 : 8.5;
        const QPointF p(MidX - r * std::cos(a), 56.0 + r * 0.55 * std::sin(a));
        if (i == 0)
            ruff.moveTo(p);
        else
            ruff.lineTo(p);
    }
    ruff.closeSubpath();
    Fill(painter, ruff, Qt::white, 0.5);
    // The face.
    painter.setPen(QPen(Ink, 0.5));
    painter.setBrush(Skin);
    painter.drawEllipse(QPointF(MidX, 46.0), 7.5, 8.5);
    painter.setBrush(Ink);
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QPointF(32.8, 44.0), 0.9, 1.1);
    painter.drawEllipse(QPointF(38.2, 44.0), 0.9, 1.1);
    painter.setBrush(red);
    painter.drawEllipse(QPointF(MidX, 47.5), 1.5, 1.5);
    painter.drawEllipse(QPointF(31.0, 49.0), 1.4, 1.0);
    painter.drawEllipse(QPointF(40.0, 49.0), 1.4, 1.0);
    QPainterPath grin;
    grin.moveTo(31.5, 50.5);
    grin.quadTo(MidX, 55.5, 39.5, 50.5);
    Stroke(painter, grin, Ink, 0.8);
    // A hat of three drooping points, each with a bell.
    QPainterPath band = Polygon({{27.5, 40.5}, {43.5, 40.5}, {43.0, 37.0}, {28.0, 37.0}});
    const QPainterPath left = [] {
        QPainterPath p;
        p.moveTo(28.5, 37.5);
        p.cubicTo(24.0, 30.0, 18.0, 26.0, 14.5, 31.0);
        p.cubicTo(19.5, 30.0, 24.0, 34.0, 30.5, 37.5);
        p.closeSubpath();
        return p;
    }();
    const QPainterPath middle = [] {
        QPainterPath p;
        p.moveTo(31.0, 37.5);
        p.cubicTo(31.0, 28.0, 33.0, 20.0, MidX, 15.5);
        p.cubicTo(38.0, 20.0, 40.0, 28.0, 40.0, 37.5);
        p.closeSubpath();
        return p;
    }();
    const QPainterPath right = QTransform(-1, 0, 0, 1, CardWidth, 0).map(left);
    Fill(painter, left, red);
    Fill(painter, right, green);
    Fill(painter, middle, blue);
    Fill(painter, band, Gold, 0.5);
    painter.setPen(QPen(Ink, 0.5));
    painter.setBrush(Gold);
    for (const QPointF bell : {QPointF(14.2, 32.0), QPointF(MidX, 14.5),
                               QPointF(CardWidth - 14.2, 32.0)})
        painter.drawEllipse(bell, 2.0, 2.0);
}

}  // namespace spades::cardart
