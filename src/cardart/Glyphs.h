// Vector shapes for the card art: suit symbols and the letters and digits of the
// indexes. Everything is a path of our own, so the art never depends on the
// fonts of the machine that builds it.
#pragma once

#include <QColor>
#include <initializer_list>
#include <QPainterPath>
#include <QRectF>

class QPainter;

namespace spades::cardart {

// An open path through the points in order.
QPainterPath Line(std::initializer_list<QPointF> points);

enum class TSuitShape { Spade = 1, Heart = 2, Club = 3, Diamond = 4 };

// A filled suit symbol one unit high, centred on the origin.
QPainterPath SuitPath(TSuitShape suit);

// Width of the suit symbol relative to its height.
double SuitAspect(TSuitShape suit);

// Standard suit colours: red hearts and diamonds, black spades and clubs.
QColor SuitColour(TSuitShape suit);

// Fills the suit symbol centred at `centre`, `height` units tall; `flipped`
// turns it upside down, as on the lower half of a card.
void DrawSuit(QPainter& painter, TSuitShape suit, QPointF centre, double height,
              bool flipped, const QColor& colour);

// A stroked glyph: the centre line of a letter or number inside a box one unit
// high and Width() wide, drawn with a pen a fraction of its height.
struct TGlyph {
    QPainterPath Strokes;
    double Width = 0.6;
};

// Glyphs for "A", "2".."10", "J", "Q", "K" and the letters of "JOKER".
// Unknown text gives an empty glyph.
TGlyph GlyphFor(const QString& text);

// Draws the glyph so that its ink, pen included, fills `height` units from
// `topLeft` downward; returns the ink's width. `pen` is the stroke width.
double DrawGlyph(QPainter& painter, const TGlyph& glyph, QPointF topLeft, double height,
                 double pen, const QColor& colour);

// Ink width of a glyph drawn `height` tall with stroke `pen`.
double GlyphInkWidth(const TGlyph& glyph, double height, double pen);

}  // namespace spades::cardart
