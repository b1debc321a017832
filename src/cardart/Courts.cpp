// The Jacks, Queens and Kings, and the joker. A court card shows one figure to
// the waist in the upper half of a framed panel, turned about the card's centre
// for the lower half, as on the cards people know. Each of the twelve has its
// own colours, hair and attribute: Kings wear a spiked crown and a beard and
// hold a sceptre or a sword, Queens wear long hair and a rounded crown and hold
// a flower, Jacks wear a cap and hold a halberd or a spear. The suit sign stands
// beside the figure's head.
#include "CourtParts.h"

#include <QPainter>
#include <QPainterPath>

#include <array>
#include <cmath>

namespace spades::cardart {

using namespace court;

namespace {

// The robe's colours follow the suit: blue and black for spades, red and gold
// for hearts, black and green for clubs, gold and red for diamonds.
struct TRobe {
    QColor Main;
    QColor Trim;
    QColor Band;
};

TRobe RobeFor(int suit)
{
    switch (suit) {
    case 1: return {QColor(0x1c, 0x3c, 0xa8), QColor(0x20, 0x20, 0x28), Gold};
    case 2: return {QColor(0xcc, 0x16, 0x20), Gold, QColor(0x20, 0x20, 0x28)};
    case 3: return {QColor(0x26, 0x28, 0x30), QColor(0x18, 0x88, 0x3c), Gold};
    default: return {QColor(0xf0, 0xb0, 0x18), QColor(0xcc, 0x16, 0x20), QColor(0x1c, 0x3c, 0xa8)};
    }
}

enum class TBeard { None, Full, Forked, Pointed, Moustache };

// What makes each of the twelve figures its own.
struct TLook {
    THeld Held;
    TBeard Beard;
    QColor Hair;
    bool Mirrored;  // holds its attribute on our left
};

const QColor Black(0x30, 0x22, 0x18), Brown(0x7a, 0x48, 0x1c), Auburn(0xa8, 0x40, 0x18),
    Grey(0xc8, 0xc8, 0xc0), Blond(0xf0, 0xc8, 0x40), Chestnut(0x98, 0x5a, 0x28);

// By suit (spades, hearts, clubs, diamonds), then Jack, Queen, King.
const std::array<std::array<TLook, 3>, 4> Looks = {{
    {{{THeld::Halberd, TBeard::None, Black, false},
      {THeld::Tulip, TBeard::None, Black, false},
      {THeld::Sceptre, TBeard::Full, Brown, false}}},
    {{{THeld::Axe, TBeard::None, Chestnut, false},
      {THeld::Rose, TBeard::None, Blond, false},
      {THeld::Sword, TBeard::Forked, Auburn, false}}},
    {{{THeld::Spear, TBeard::Moustache, Blond, true},
      {THeld::Lily, TBeard::None, Auburn, true},
      {THeld::OrbSceptre, TBeard::Full, Grey, true}}},
    {{{THeld::Pike, TBeard::None, Auburn, true},
      {THeld::Sprig, TBeard::None, Chestnut, true},
      {THeld::Broadsword, TBeard::Pointed, Black, true}}},
}};

void DrawRobe(QPainter& painter, int suit, int rank)
{
    const TRobe robe = RobeFor(suit);
    QPainterPath body;
    body.moveTo(16.5, MidY + 1);
    body.cubicTo(16.5, 37.0, 20.0, 32.5, 27.0, 31.0);
    body.lineTo(39.0, 31.0);
    body.cubicTo(46.0, 32.5, 50.0, 37.0, 50.0, MidY + 1);
    body.closeSubpath();
    Fill(painter, body, robe.Main);
    // Each suit's robe has its own cut, in its second colour.
    switch (suit) {
    case 1:
        // A front panel with a band across it.
        Fill(painter, Polygon({{29.5, 31.5}, {36.5, 31.5}, {38.0, MidY + 1}, {28.0, MidY + 1}}),
             robe.Trim, 0.5);
        Fill(painter, Polygon({{28.6, 40.0}, {37.4, 40.0}, {37.6, 42.4}, {28.4, 42.4}}),
             robe.Band, 0.4);
        break;
    case 2:
        // A sash from the shoulder to the hip.
        Fill(painter, Polygon({{20.0, 36.0}, {24.0, 32.5}, {47.0, MidY + 1}, {40.0, MidY + 1}}),
             robe.Trim, 0.5);
        Stroke(painter, Line({{22.5, 35.0}, {43.5, MidY + 0.5}}), robe.Band, 0.8);
        break;
    case 3:
        // Chevrons down the chest.
        for (int k = 0; k < 3; ++k) {
            const double y = 36.0 + k * 4.2;
            Fill(painter, Polygon({{23.0, y}, {HeadX, y + 3.0}, {43.0, y}, {43.0, y + 2.0},
                                   {HeadX, y + 5.0}, {23.0, y + 2.0}}),
                 robe.Trim, 0.4);
        }
        break;
    default:
        // Lozenges in a row across the chest and a hem below them.
        for (int k = 0; k < 4; ++k) {
            const double x = 24.0 + k * 6.0;
            Fill(painter, Polygon({{x, 37.0}, {x + 3.0, 33.5}, {x + 6.0, 37.0}, {x + 3.0, 40.5}}),
                 robe.Trim, 0.4);
        }
        Fill(painter, Polygon({{18.0, 43.0}, {48.5, 43.0}, {49.0, 45.2}, {17.5, 45.2}}),
             robe.Band, 0.4);
        break;
    }
    // Sleeves' cuffs at the shoulder seams.
    Stroke(painter, Line({{21.0, 35.0}, {19.5, MidY + 1}}), robe.Band, 1.2);
    Stroke(painter, Line({{45.0, 35.0}, {46.5, MidY + 1}}), robe.Band, 1.2);
    // The collar tells the rank: ermine for a King, lace for a Queen, a plain
    // turned-down collar for a Jack.
    if (rank == 13) {
        const QPainterPath collar = Polygon({{24.0, 31.5}, {42.0, 31.5}, {40.0, 35.5},
                                             {HeadX, 37.0}, {26.0, 35.5}});
        Fill(painter, collar, Qt::white, 0.5);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Ink);
        for (const QPointF spot : {QPointF(27.0, 33.5), QPointF(31.0, 34.8), QPointF(35.0, 34.8),
                                   QPointF(39.0, 33.5)})
            painter.drawRect(QRectF(spot, QSizeF(0.9, 1.2)));
    } else if (rank == 12) {
        QPainterPath lace;
        lace.moveTo(25.0, 31.5);
        for (int k = 0; k <= 6; ++k)
            lace.quadTo(25.0 + k * 2.7 + 1.35, 35.5, 25.0 + (k + 1) * 2.7 - 0.1, 31.5);
        Fill(painter, lace, Qt::white, 0.5);
    } else {
        Fill(painter, Polygon({{27.0, 30.8}, {39.0, 30.8}, {37.0, 34.0}, {HeadX, 32.8},
                               {29.0, 34.0}}), Qt::white, 0.5);
    }
}

void DrawFace(QPainter& painter, bool queen)
{
    Fill(painter, Polygon({{HeadX - 2.2, 26.0}, {HeadX + 2.2, 26.0}, {HeadX + 2.2, 31.5},
                           {HeadX - 2.2, 31.5}}), Skin, 0.5);
    Fill(painter, Ellipse({HeadX, HeadY}, 5.0, 6.2), Skin, 0.55);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Ink);
    painter.drawEllipse(QPointF(HeadX - 2.0, HeadY - 0.6), 0.65, 0.7);
    painter.drawEllipse(QPointF(HeadX + 2.0, HeadY - 0.6), 0.65, 0.7);
    Stroke(painter, Line({{HeadX - 3.0, HeadY - 2.2}, {HeadX - 1.1, HeadY - 2.5}}), Ink, 0.45);
    Stroke(painter, Line({{HeadX + 1.1, HeadY - 2.5}, {HeadX + 3.0, HeadY - 2.2}}), Ink, 0.45);
    Stroke(painter, Line({{HeadX + 0.1, HeadY - 0.4}, {HeadX - 0.6, HeadY + 1.9},
                          {HeadX + 0.4, HeadY + 2.1}}), Ink, 0.4);
    QPainterPath mouth;
    mouth.moveTo(HeadX - 1.5, HeadY + 3.6);
    mouth.quadTo(HeadX, HeadY + 4.4, HeadX + 1.5, HeadY + 3.6);
    Stroke(painter, mouth, queen ? Jewel : Ink, queen ? 0.9 : 0.5);
    if (queen) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0xf0, 0x90, 0x90, 150));
        painter.drawEllipse(QPointF(HeadX - 3.0, HeadY + 1.8), 1.0, 0.7);
        painter.drawEllipse(QPointF(HeadX + 3.0, HeadY + 1.8), 1.0, 0.7);
    }
}

void DrawBeard(QPainter& painter, TBeard beard, const QColor& hair)
{
    QPainterPath p;
    switch (beard) {
    case TBeard::None:
        return;
    case TBeard::Full:
        p.moveTo(HeadX - 5.0, HeadY);
        p.cubicTo(HeadX - 5.6, HeadY + 9.0, HeadX - 2.5, HeadY + 11.5, HeadX, HeadY + 12.0);
        p.cubicTo(HeadX + 2.5, HeadY + 11.5, HeadX + 5.6, HeadY + 9.0, HeadX + 5.0, HeadY);
        break;
    case TBeard::Forked:
        p.moveTo(HeadX - 5.0, HeadY);
        p.cubicTo(HeadX - 5.4, HeadY + 8.0, HeadX - 3.5, HeadY + 11.5, HeadX - 1.5, HeadY + 12.5);
        p.lineTo(HeadX, HeadY + 9.5);
        p.lineTo(HeadX + 1.5, HeadY + 12.5);
        p.cubicTo(HeadX + 3.5, HeadY + 11.5, HeadX + 5.4, HeadY + 8.0, HeadX + 5.0, HeadY);
        break;
    case TBeard::Pointed:
        p.moveTo(HeadX - 4.6, HeadY + 1.5);
        p.cubicTo(HeadX - 4.0, HeadY + 7.0, HeadX - 1.0, HeadY + 9.0, HeadX, HeadY + 13.0);
        p.cubicTo(HeadX + 1.0, HeadY + 9.0, HeadX + 4.0, HeadY + 7.0, HeadX + 4.6, HeadY + 1.5);
        break;
    case TBeard::Moustache:
        break;
    }
    if (!p.isEmpty()) {
        // The beard leaves the mouth free.
        p.cubicTo(HeadX + 3.5, HeadY + 4.5, HeadX + 2.0, HeadY + 5.2, HeadX, HeadY + 5.2);
        p.cubicTo(HeadX - 2.0, HeadY + 5.2, HeadX - 3.5, HeadY + 4.5, HeadX - 5.0, HeadY);
        p.closeSubpath();
        Fill(painter, p, hair, 0.5);
        Stroke(painter, Line({{HeadX - 1.4, HeadY + 4.2}, {HeadX + 1.4, HeadY + 4.2}}), Jewel, 0.6);
    }
    // A moustache over the mouth.
    QPainterPath m;
    m.moveTo(HeadX, HeadY + 2.6);
    m.quadTo(HeadX - 2.5, HeadY + 2.4, HeadX - 3.6, HeadY + 4.2);
    m.quadTo(HeadX - 1.8, HeadY + 3.4, HeadX, HeadY + 3.4);
    m.quadTo(HeadX + 1.8, HeadY + 3.4, HeadX + 3.6, HeadY + 4.2);
    m.quadTo(HeadX + 2.5, HeadY + 2.4, HeadX, HeadY + 2.6);
    Fill(painter, m, hair.darker(130), 0.3);
}

void DrawKingsCrown(QPainter& painter)
{
    const QPainterPath crown = Polygon({{HeadX - 6.0, 17.0}, {HeadX - 6.8, 8.0}, {HeadX - 3.6, 12.0},
                                        {HeadX - 1.6, 6.2}, {HeadX, 11.0}, {HeadX + 1.6, 6.2},
                                        {HeadX + 3.6, 12.0}, {HeadX + 6.8, 8.0}, {HeadX + 6.0, 17.0}});
    Fill(painter, crown, Gold);
    Fill(painter, Polygon({{HeadX - 6.2, 14.2}, {HeadX + 6.2, 14.2}, {HeadX + 6.0, 17.2},
                           {HeadX - 6.0, 17.2}}), GoldDark, 0.5);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Jewel);
    painter.drawEllipse(QPointF(HeadX, 15.7), 1.1, 1.1);
    painter.setBrush(QColor(0x20, 0x50, 0xd0));
    painter.drawEllipse(QPointF(HeadX - 3.6, 15.7), 0.8, 0.8);
    painter.drawEllipse(QPointF(HeadX + 3.6, 15.7), 0.8, 0.8);
    painter.setPen(QPen(Ink, 0.4));
    painter.setBrush(Gold);
    for (const QPointF tip : {QPointF(HeadX - 6.8, 7.8), QPointF(HeadX - 1.6, 6.0),
                              QPointF(HeadX + 1.6, 6.0), QPointF(HeadX + 6.8, 7.8)})
        painter.drawEllipse(tip, 0.9, 0.9);
}

void DrawQueensCrown(QPainter& painter)
{
    QPainterPath crown;
    crown.moveTo(HeadX - 5.6, 16.8);
    crown.cubicTo(HeadX - 6.5, 12.5, HeadX - 3.5, 11.5, HeadX - 2.6, 13.8);
    crown.cubicTo(HeadX - 2.4, 9.0, HeadX + 2.4, 9.0, HeadX + 2.6, 13.8);
    crown.cubicTo(HeadX + 3.5, 11.5, HeadX + 6.5, 12.5, HeadX + 5.6, 16.8);
    crown.closeSubpath();
    Fill(painter, crown, Gold, 0.5);
    painter.setPen(QPen(Ink, 0.4));
    painter.setBrush(Jewel);
    painter.drawEllipse(QPointF(HeadX, 13.2), 1.2, 1.2);
    painter.setBrush(Qt::white);
    for (const QPointF pearl : {QPointF(HeadX, 9.0), QPointF(HeadX - 4.2, 12.4),
                                QPointF(HeadX + 4.2, 12.4)})
        painter.drawEllipse(pearl, 0.9, 0.9);
}

void DrawJacksCap(QPainter& painter, int suit, bool feather)
{
    const TRobe robe = RobeFor(suit);
    if (feather) {
        QPainterPath plume;
        plume.moveTo(HeadX + 3.0, 13.5);
        plume.cubicTo(HeadX + 5.0, 8.0, HeadX + 8.0, 6.5, HeadX + 10.0, 4.5);
        plume.cubicTo(HeadX + 10.5, 8.5, HeadX + 7.5, 12.5, HeadX + 3.5, 15.5);
        plume.closeSubpath();
        Fill(painter, plume, Qt::white, 0.5);
        Stroke(painter, Line({{HeadX + 3.6, 14.6}, {HeadX + 9.6, 5.2}}), Ink, 0.35);
    }
    QPainterPath cap;
    cap.moveTo(HeadX - 7.0, 17.4);
    cap.cubicTo(HeadX - 7.5, 11.0, HeadX - 2.0, 9.5, HeadX + 1.0, 9.5);
    cap.cubicTo(HeadX + 5.5, 9.5, HeadX + 7.5, 12.5, HeadX + 6.5, 17.4);
    cap.closeSubpath();
    Fill(painter, cap, robe.Trim == Gold ? robe.Main : robe.Trim, 0.5);
    Fill(painter, Polygon({{HeadX - 6.8, 15.4}, {HeadX + 6.6, 15.4}, {HeadX + 6.5, 17.6},
                           {HeadX - 7.0, 17.6}}), robe.Band, 0.5);
}

void DrawFigure(QPainter& painter, int suit, int rank)
{
    const TLook& look = Looks[static_cast<size_t>(suit - 1)][static_cast<size_t>(rank - 11)];
    painter.save();
    if (look.Mirrored)
        painter.setTransform(QTransform(-1, 0, 0, 1, CardWidth, 0), true);
    // The suit's sign beside the head, away from the attribute.
    DrawSuit(painter, static_cast<TSuitShape>(suit), {20.5, 12.5}, 6.5, false,
             SuitColour(static_cast<TSuitShape>(suit)));
    if (rank == 12) {
        // Long hair falls behind the shoulders.
        QPainterPath hair;
        hair.moveTo(HeadX, 13.5);
        hair.cubicTo(HeadX - 7.5, 13.5, HeadX - 7.0, 26.0, HeadX - 8.5, 35.0);
        hair.lineTo(HeadX - 3.0, 33.0);
        hair.lineTo(HeadX + 3.0, 33.0);
        hair.lineTo(HeadX + 8.5, 35.0);
        hair.cubicTo(HeadX + 7.0, 26.0, HeadX + 7.5, 13.5, HeadX, 13.5);
        hair.closeSubpath();
        Fill(painter, hair, look.Hair, 0.5);
    }
    DrawRobe(painter, suit, rank);
    // The arm reaches from the shoulder to what the figure holds.
    const TRobe robe = RobeFor(suit);
    QPainterPath arm;
    arm.moveTo(40.5, 32.0);
    arm.quadTo(47.0, 32.5, HoldX - 0.5, 37.5);
    Stroke(painter, arm, Ink, 4.4);
    Stroke(painter, arm, robe.Main, 3.2);
    Stroke(painter, Line({{HoldX - 2.6, 35.6}, {HoldX + 0.8, 36.6}}), robe.Band, 1.2);
    DrawHeld(painter, look.Held);
    // The hand closes over what it holds.
    Fill(painter, Ellipse({HoldX, 38.5}, 2.0, 1.7), Skin, 0.5);
    if (rank != 12) {
        // Short hair shows below the headwear at the sides.
        Fill(painter, Ellipse({HeadX - 4.6, HeadY - 0.5}, 1.8, 3.8), look.Hair, 0.4);
        Fill(painter, Ellipse({HeadX + 4.6, HeadY - 0.5}, 1.8, 3.8), look.Hair, 0.4);
    }
    DrawFace(painter, rank == 12);
    switch (rank) {
    case 13:
        DrawBeard(painter, look.Beard, look.Hair);
        DrawKingsCrown(painter);
        break;
    case 12: {
        QPainterPath fringe;
        fringe.moveTo(HeadX - 5.0, HeadY - 0.5);
        fringe.cubicTo(HeadX - 5.0, HeadY - 5.5, HeadX - 2.0, HeadY - 6.0, HeadX, HeadY - 6.0);
        fringe.cubicTo(HeadX + 2.0, HeadY - 6.0, HeadX + 5.0, HeadY - 5.5, HeadX + 5.0, HeadY - 0.5);
        fringe.cubicTo(HeadX + 3.0, HeadY - 3.5, HeadX - 3.0, HeadY - 3.5, HeadX - 5.0, HeadY - 0.5);
        Fill(painter, fringe, look.Hair, 0.4);
        DrawQueensCrown(painter);
        break;
    }
    default:
        if (look.Beard == TBeard::Moustache)
            DrawBeard(painter, look.Beard, look.Hair);
        DrawJacksCap(painter, suit, suit % 2 == 1);
        break;
    }
    painter.restore();
}

// The panel's frame in the suit's colour.
void DrawPanel(QPainter& painter, int suit)
{
    const QColor colour = SuitColour(static_cast<TSuitShape>(suit));
    painter.setPen(QPen(colour, 0.8));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(Panel);
    painter.setPen(QPen(colour, 0.6));
    painter.drawLine(QPointF(Panel.left(), MidY), QPointF(Panel.right(), MidY));
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
        DrawFigure(painter, suit, rank);
        painter.restore();
    }
    DrawPanel(painter, suit);
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
