// Nine card backs, each with its own colour and its own pattern inside a white
// margin, so that a player tells them apart at a glance in the preferences.
#include "CardArt.h"
#include "Glyphs.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace spades::cardart {

namespace {

constexpr QRectF Field(4.0, 4.0, CardWidth - 8.0, CardHeight - 8.0);
constexpr double Pi = 3.14159265358979;

// Diagonal lattice of thin lines, the classic back.
void Lattice(QPainter& painter, const QColor& ground, const QColor& line, double step)
{
    painter.fillRect(Field, ground);
    painter.setPen(QPen(line, 0.8));
    for (double d = -CardHeight; d < CardWidth + CardHeight; d += step) {
        painter.drawLine(QPointF(d, 0), QPointF(d + CardHeight, CardHeight));
        painter.drawLine(QPointF(d, CardHeight), QPointF(d + CardHeight, 0));
    }
}

void LatticeWithDots(QPainter& painter)
{
    const QColor ground(0xb0, 0x12, 0x1a), light(0xf4, 0xc0, 0xc0);
    Lattice(painter, ground, light, 6.0);
    // A dot in the middle of every cell of the lattice.
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    for (int y = 0; y <= CardHeight; y += 3)
        for (int x = 0; x <= CardWidth; x += 3)
            if ((x + y) / 3 % 2 == 1)
                painter.drawEllipse(QPointF(x, y), 0.9, 0.9);
}

// Tartan: broad and narrow bands crossing on a green ground.
void Plaid(QPainter& painter)
{
    painter.fillRect(Field, QColor(0x10, 0x6a, 0x2a));
    const QColor dark(0x08, 0x38, 0x18, 170), yellow(0xf0, 0xd0, 0x30, 200);
    for (double x = 2; x < CardWidth; x += 14) {
        painter.fillRect(QRectF(x, 0, 6, CardHeight), dark);
        painter.fillRect(QRectF(x + 9.5, 0, 1, CardHeight), yellow);
    }
    for (double y = 2; y < CardHeight; y += 14) {
        painter.fillRect(QRectF(0, y, CardWidth, 6), dark);
        painter.fillRect(QRectF(0, y + 9.5, CardWidth, 1), yellow);
    }
}

// Concentric diamonds from the centre outward.
void ConcentricDiamonds(QPainter& painter)
{
    painter.fillRect(Field, QColor(0x5a, 0x1c, 0x8c));
    const QPointF c = Field.center();
    for (int i = 18; i >= 1; --i) {
        const double r = i * 4.0;
        QPainterPath d;
        d.moveTo(c.x(), c.y() - r * 1.35);
        d.lineTo(c.x() + r, c.y());
        d.lineTo(c.x(), c.y() + r * 1.35);
        d.lineTo(c.x() - r, c.y());
        d.closeSubpath();
        painter.fillPath(d, (i % 2 == 0) ? QColor(0x5a, 0x1c, 0x8c) : QColor(0xc8, 0xa0, 0xf0));
    }
}

// Overlapping fish scales in orange, laid from the bottom row up so that each
// row covers the tops of the row below.
void Scales(QPainter& painter)
{
    painter.fillRect(Field, QColor(0xe8, 0x78, 0x10));
    painter.setPen(QPen(QColor(0x80, 0x30, 0x00), 0.9));
    painter.setBrush(QColor(0xf8, 0xa8, 0x40));
    for (int row = 24; row >= 0; --row) {
        const double y = row * 4.0;
        const double shift = (row % 2) * 4.5;
        for (double x = -9 + shift; x < CardWidth + 9; x += 9.0)
            painter.drawEllipse(QPointF(x, y), 4.5, 4.5);
    }
}

// White polka dots on teal, in offset rows.
void Dots(QPainter& painter)
{
    painter.fillRect(Field, QColor(0x00, 0x80, 0x88));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xe0, 0xff, 0xff));
    for (int row = 0; row < 14; ++row)
        for (int col = 0; col < 12; ++col) {
            const double x = 4.0 + col * 7.0 + (row % 2) * 3.5, y = 5.0 + row * 7.0;
            painter.drawEllipse(QPointF(x, y), 1.8, 1.8);
        }
}

QPainterPath Star(QPointF centre, double outer, double inner)
{
    QPainterPath p;
    for (int i = 0; i < 10; ++i) {
        const double a = -Pi / 2 + i * Pi / 5;
        const double r = (i % 2 == 0) ? outer : inner;
        const QPointF point(centre.x() + r * std::cos(a), centre.y() + r * std::sin(a));
        if (i == 0)
            p.moveTo(point);
        else
            p.lineTo(point);
    }
    p.closeSubpath();
    return p;
}

// Gold stars on a night-blue ground.
void Stars(QPainter& painter)
{
    painter.fillRect(Field, QColor(0x10, 0x18, 0x50));
    for (int row = 0; row < 8; ++row)
        for (int col = 0; col < 5; ++col) {
            const double x = 9.0 + col * 13.0 + (row % 2) * 6.5, y = 9.0 + row * 11.5;
            painter.fillPath(Star({x, y}, 4.0, 1.7), QColor(0xf8, 0xd0, 0x30));
        }
}

// A woven look: alternating short bars in brown and tan.
void Basketweave(QPainter& painter)
{
    painter.fillRect(Field, QColor(0x6a, 0x3c, 0x14));
    const QColor tan(0xd8, 0xa8, 0x68);
    for (int row = 0; row < 12; ++row)
        for (int col = 0; col < 9; ++col) {
            const double x = 4.0 + col * 8.0, y = 4.0 + row * 8.0;
            if ((row + col) % 2 == 0) {
                for (int k = 0; k < 3; ++k)
                    painter.fillRect(QRectF(x + 0.6, y + 0.8 + k * 2.4, 6.8, 1.6), tan);
            } else {
                for (int k = 0; k < 3; ++k)
                    painter.fillRect(QRectF(x + 0.8 + k * 2.4, y + 0.6, 1.6, 6.8), tan);
            }
        }
}

// Gold rays from a central medallion on black.
void Sunburst(QPainter& painter)
{
    painter.fillRect(Field, QColor(0x10, 0x10, 0x10));
    const QPointF c = Field.center();
    const QColor gold(0xe0, 0xb0, 0x20);
    for (int i = 0; i < 32; i += 2) {
        QPainterPath ray;
        ray.moveTo(c);
        for (int k = 0; k < 2; ++k) {
            const double a = (i + k) * Pi / 16;
            ray.lineTo(c.x() + 90 * std::cos(a), c.y() + 90 * std::sin(a));
        }
        ray.closeSubpath();
        painter.fillPath(ray, gold);
    }
    painter.setPen(QPen(gold, 1.2));
    painter.setBrush(QColor(0x10, 0x10, 0x10));
    painter.drawEllipse(c, 10.0, 10.0);
    DrawSuit(painter, TSuitShape::Spade, c, 12.0, false, gold);
}

}  // namespace

void DrawBack(QPainter& painter, int back)
{
    painter.save();
    QPainterPath field;
    field.addRoundedRect(Field, 2.5, 2.5);
    painter.setClipPath(field);
    switch (back) {
    case 1: Lattice(painter, QColor(0x18, 0x40, 0xb0), QColor(0xb8, 0xd0, 0xff), 5.0); break;
    case 2: LatticeWithDots(painter); break;
    case 3: Plaid(painter); break;
    case 4: ConcentricDiamonds(painter); break;
    case 5: Scales(painter); break;
    case 6: Dots(painter); break;
    case 7: Stars(painter); break;
    case 8: Basketweave(painter); break;
    default: Sunburst(painter); break;
    }
    painter.restore();
    painter.setPen(QPen(QColor(0x30, 0x30, 0x30), 0.6));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(field);
}

}  // namespace spades::cardart
