#include "Glyphs.h"

#include <QPainter>
#include <QPen>
#include <QTransform>

namespace spades::cardart {

namespace {

QPainterPath HeartPath()
{
    QPainterPath p;
    p.moveTo(0, 0.5);
    p.cubicTo(-0.16, 0.3, -0.5, 0.08, -0.5, -0.2);
    p.cubicTo(-0.5, -0.4, -0.37, -0.5, -0.25, -0.5);
    p.cubicTo(-0.12, -0.5, -0.03, -0.42, 0, -0.3);
    p.cubicTo(0.03, -0.42, 0.12, -0.5, 0.25, -0.5);
    p.cubicTo(0.37, -0.5, 0.5, -0.4, 0.5, -0.2);
    p.cubicTo(0.5, 0.08, 0.16, 0.3, 0, 0.5);
    p.closeSubpath();
    return p;
}

QPainterPath DiamondPath()
{
    QPainterPath p;
    p.moveTo(0, -0.5);
    p.quadTo(0.14, -0.22, 0.37, 0);
    p.quadTo(0.14, 0.22, 0, 0.5);
    p.quadTo(-0.14, 0.22, -0.37, 0);
    p.quadTo(-0.14, -0.22, 0, -0.5);
    p.closeSubpath();
    return p;
}

// Stem with a flared foot, shared by the spade and the club.
QPainterPath StemPath(double top, double halfTop)
{
    QPainterPath p;
    p.moveTo(-halfTop, top);
    p.quadTo(-0.02, 0.38, -0.24, 0.5);
    p.lineTo(0.24, 0.5);
    p.quadTo(0.02, 0.38, halfTop, top);
    p.closeSubpath();
    return p;
}

QPainterPath SpadePath()
{
    QPainterPath body;
    body.moveTo(0, -0.5);
    body.cubicTo(-0.12, -0.3, -0.5, -0.12, -0.5, 0.1);
    body.cubicTo(-0.5, 0.27, -0.38, 0.35, -0.26, 0.35);
    body.cubicTo(-0.14, 0.35, -0.05, 0.28, 0, 0.2);
    body.cubicTo(0.05, 0.28, 0.14, 0.35, 0.26, 0.35);
    body.cubicTo(0.38, 0.35, 0.5, 0.27, 0.5, 0.1);
    body.cubicTo(0.5, -0.12, 0.12, -0.3, 0, -0.5);
    body.closeSubpath();
    QPainterPath p = body.united(StemPath(0.15, 0.05));
    p.setFillRule(Qt::WindingFill);
    return p;
}

QPainterPath ClubPath()
{
    constexpr double r = 0.225;
    QPainterPath p;
    for (const QPointF centre : {QPointF(0, -0.27), QPointF(-0.265, 0.07), QPointF(0.265, 0.07)}) {
        QPainterPath lobe;
        lobe.addEllipse(centre, r, r);
        p = p.united(lobe);
    }
    QPainterPath core;
    core.moveTo(0, -0.2);
    core.lineTo(-0.2, 0.1);
    core.lineTo(0.2, 0.1);
    core.closeSubpath();
    p = p.united(core).united(StemPath(0.0, 0.06));
    p.setFillRule(Qt::WindingFill);
    return p;
}


QPainterPath Oval(double left, double top, double right, double bottom)
{
    QPainterPath p;
    p.addEllipse(QRectF(QPointF(left, top), QPointF(right, bottom)));
    return p;
}

TGlyph Six()
{
    TGlyph g;
    g.Width = 0.6;
    g.Strokes.moveTo(0.53, 0.07);
    g.Strokes.cubicTo(0.26, -0.08, 0.02, 0.12, 0.03, 0.66);
    g.Strokes.addPath(Oval(0.03, 0.4, 0.57, 1.0));
    return g;
}

}  // namespace

QPainterPath Line(std::initializer_list<QPointF> points)
{
    QPainterPath p;
    bool first = true;
    for (const QPointF& point : points) {
        if (first)
            p.moveTo(point);
        else
            p.lineTo(point);
        first = false;
    }
    return p;
}

QPainterPath SuitPath(TSuitShape suit)
{
    switch (suit) {
    case TSuitShape::Spade: return SpadePath();
    case TSuitShape::Heart: return HeartPath();
    case TSuitShape::Club: return ClubPath();
    case TSuitShape::Diamond: return DiamondPath();
    }
    return {};
}

double SuitAspect(TSuitShape suit)
{
    return suit == TSuitShape::Diamond ? 0.74 : 1.0;
}

QColor SuitColour(TSuitShape suit)
{
    const bool red = suit == TSuitShape::Heart || suit == TSuitShape::Diamond;
    return red ? QColor(0xd0, 0x10, 0x18) : QColor(0x10, 0x10, 0x10);
}

void DrawSuit(QPainter& painter, TSuitShape suit, QPointF centre, double height,
              bool flipped, const QColor& colour)
{
    QTransform t;
    t.translate(centre.x(), centre.y());
    if (flipped)
        t.rotate(180);
    t.scale(height, height);
    painter.fillPath(t.map(SuitPath(suit)), colour);
}

TGlyph GlyphFor(const QString& text)
{
    TGlyph g;
    QPainterPath& s = g.Strokes;
    if (text == "A") {
        g.Width = 0.66;
        s = Line({{0, 1}, {0.33, 0}, {0.66, 1}});
        s.addPath(Line({{0.13, 0.64}, {0.53, 0.64}}));
    } else if (text == "2") {
        s.moveTo(0.04, 0.25);
        s.cubicTo(0.07, 0.02, 0.55, -0.04, 0.56, 0.27);
        s.cubicTo(0.56, 0.5, 0.12, 0.72, 0.02, 1.0);
        s.lineTo(0.58, 1.0);
    } else if (text == "3") {
        s.moveTo(0.04, 0.22);
        s.cubicTo(0.08, 0.0, 0.5, -0.06, 0.53, 0.2);
        s.cubicTo(0.55, 0.38, 0.44, 0.46, 0.3, 0.47);
        s.cubicTo(0.5, 0.48, 0.6, 0.6, 0.59, 0.74);
        s.cubicTo(0.57, 1.02, 0.13, 1.05, 0.02, 0.82);
    } else if (text == "4") {
        s = Line({{0.46, 1.0}, {0.46, 0.0}, {0.0, 0.7}, {0.62, 0.7}});
    } else if (text == "5") {
        s = Line({{0.55, 0.0}, {0.12, 0.0}, {0.07, 0.44}});
        s.cubicTo(0.3, 0.32, 0.6, 0.38, 0.59, 0.67);
        s.cubicTo(0.58, 1.02, 0.15, 1.06, 0.02, 0.86);
    } else if (text == "6") {
        return Six();
    } else if (text == "7") {
        s = Line({{0.0, 0.0}, {0.6, 0.0}, {0.2, 1.0}});
    } else if (text == "8") {
        s = Oval(0.07, 0.0, 0.53, 0.46);
        s.addPath(Oval(0.02, 0.46, 0.58, 1.0));
    } else if (text == "9") {
        g = Six();
        g.Strokes = QTransform(-1, 0, 0, -1, g.Width, 1).map(g.Strokes);
    } else if (text == "10") {
        // A narrow one and a narrow nought, with a clear gap between them.
        g.Width = 0.92;
        s = Line({{0.0, 0.16}, {0.12, 0.0}, {0.12, 1.0}});
        s.addPath(Oval(0.5, 0.0, 0.92, 1.0));
    } else if (text == "J") {
        g.Width = 0.56;
        s = Line({{0.16, 0.0}, {0.56, 0.0}});
        s.moveTo(0.42, 0.0);
        s.lineTo(0.42, 0.7);
        s.cubicTo(0.42, 1.04, 0.02, 1.04, 0.0, 0.72);
    } else if (text == "Q") {
        g.Width = 0.7;
        s = Oval(0.0, 0.0, 0.64, 0.94);
        s.addPath(Line({{0.36, 0.68}, {0.7, 1.0}}));
    } else if (text == "K") {
        g.Width = 0.62;
        s = Line({{0.0, 0.0}, {0.0, 1.0}});
        s.addPath(Line({{0.6, 0.0}, {0.02, 0.6}}));
        s.addPath(Line({{0.2, 0.4}, {0.62, 1.0}}));
    } else if (text == "O") {
        g.Width = 0.66;
        s = Oval(0.0, 0.0, 0.66, 1.0);
    } else if (text == "E") {
        g.Width = 0.52;
        s = Line({{0.52, 0.0}, {0.0, 0.0}, {0.0, 1.0}, {0.52, 1.0}});
        s.addPath(Line({{0.0, 0.48}, {0.42, 0.48}}));
    } else if (text == "R") {
        g.Width = 0.6;
        s = Line({{0.0, 1.0}, {0.0, 0.0}, {0.3, 0.0}});
        s.cubicTo(0.6, 0.0, 0.6, 0.5, 0.3, 0.5);
        s.lineTo(0.0, 0.5);
        s.addPath(Line({{0.28, 0.5}, {0.6, 1.0}}));
    } else {
        g.Width = 0;
    }
    return g;
}

double GlyphInkWidth(const TGlyph& glyph, double height, double pen)
{
    return glyph.Width * (height - pen) + pen;
}

double DrawGlyph(QPainter& painter, const TGlyph& glyph, QPointF topLeft, double height,
                 double pen, const QColor& colour)
{
    const double k = height - pen;
    QTransform t;
    t.translate(topLeft.x() + pen / 2, topLeft.y() + pen / 2);
    t.scale(k, k);
    QPen stroke(colour, pen, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    stroke.setMiterLimit(2.0);
    painter.strokePath(t.map(glyph.Strokes), stroke);
    return GlyphInkWidth(glyph, height, pen);
}

}  // namespace spades::cardart
