// Nine card backs, each with its own colour and its own pattern inside a white
// margin, so that a player tells them apart at a glance in the preferences.
#include "CardArt.h"
#include "Glyphs.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace spades::cardart {

namespace {

// The patterned field inside a white margin of four units on every side. Each
// pattern is laid in whole repeats from the field's corner and is symmetric
// about the field's centre lines, so that all four edges cut it alike.
constexpr QRectF Field(4.0, 4.0, CardWidth - 8.0, CardHeight - 8.0);  // 63 x 88
constexpr double Pi = 3.14159265358979;

// A point of a grid of `columns` x `rows` cells over the field.
QPointF GridPoint(double column, double row, int columns, int rows)
{
    return {Field.left() + column * Field.width() / columns,
            Field.top() + row * Field.height() / rows};
}

// Diagonal lattice: the two diagonals of every cell of the grid.
void Lattice(QPainter& painter, const QColor& ground, const QColor& line, int columns, int rows)
{
    painter.fillRect(Field, ground);
    painter.setPen(QPen(line, 0.8));
    for (int k = -rows; k <= columns; ++k) {
        // Lines through the grid's corners, rising and falling.
        painter.drawLine(GridPoint(k, 0, columns, rows), GridPoint(k + rows, rows, columns, rows));
        painter.drawLine(GridPoint(k, rows, columns, rows), GridPoint(k + rows, 0, columns, rows));
    }
}

void LatticeWithDots(QPainter& painter)
{
    constexpr int columns = 7, rows = 8;  // cells of 9 x 11
    Lattice(painter, QColor(0xb0, 0x12, 0x1a), QColor(0xf4, 0xc0, 0xc0), columns, rows);
    // A dot in the middle of every diamond: the cells' centres and corners.
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column)
            painter.drawEllipse(GridPoint(column + 0.5, row + 0.5, columns, rows), 1.1, 1.1);
    for (int row = 1; row < rows; ++row)
        for (int column = 1; column < columns; ++column)
            painter.drawEllipse(GridPoint(column, row, columns, rows), 1.1, 1.1);
}

// Tartan: broad and narrow bands crossing on a green ground, three repeats
// across and four down, each band centred in its repeat.
void Plaid(QPainter& painter)
{
    painter.fillRect(Field, QColor(0x10, 0x6a, 0x2a));
    const QColor dark(0x08, 0x38, 0x18, 170), yellow(0xf0, 0xd0, 0x30, 200);
    constexpr int columns = 3, rows = 4;  // repeats of 21 x 22
    for (int c = 0; c < columns; ++c) {
        const double x = GridPoint(c + 0.5, 0, columns, rows).x();
        painter.fillRect(QRectF(x - 4, Field.top(), 8, Field.height()), dark);
        for (double line : {-9.0, 8.0})
            painter.fillRect(QRectF(x + line, Field.top(), 1, Field.height()), yellow);
    }
    for (int r = 0; r < rows; ++r) {
        const double y = GridPoint(0, r + 0.5, columns, rows).y();
        painter.fillRect(QRectF(Field.left(), y - 4, Field.width(), 8), dark);
        for (double line : {-9.5, 8.5})
            painter.fillRect(QRectF(Field.left(), y + line, Field.width(), 1), yellow);
    }
}

// Concentric diamonds from the centre outward; the outermost one meets the
// middle of each edge.
void ConcentricDiamonds(QPainter& painter)
{
    painter.fillRect(Field, QColor(0x5a, 0x1c, 0x8c));
    const QPointF c = Field.center();
    constexpr int rings = 8;
    for (int i = rings * 2; i >= 1; --i) {
        const double rx = i * Field.width() / 2 / rings, ry = i * Field.height() / 2 / rings;
        QPainterPath d;
        d.moveTo(c.x(), c.y() - ry);
        d.lineTo(c.x() + rx, c.y());
        d.lineTo(c.x(), c.y() + ry);
        d.lineTo(c.x() - rx, c.y());
        d.closeSubpath();
        painter.fillPath(d, (i % 2 == 0) ? QColor(0x5a, 0x1c, 0x8c) : QColor(0xc8, 0xa0, 0xf0));
    }
}

// Overlapping fish scales in orange, seven to a row and 22 rows, laid from the
// bottom row up so that each row covers the tops of the row below.
void Scales(QPainter& painter)
{
    painter.fillRect(Field, QColor(0xe8, 0x78, 0x10));
    painter.setPen(QPen(QColor(0x80, 0x30, 0x00), 0.9));
    painter.setBrush(QColor(0xf8, 0xa8, 0x40));
    constexpr int columns = 7, rows = 22;  // repeats of 9 x 4
    for (int row = rows + 1; row >= 0; --row)
        for (int column = -1; column <= columns; ++column)
            painter.drawEllipse(GridPoint(column + (row % 2) * 0.5, row, columns, rows),
                                4.5, 4.5);
}

// Light polka dots on teal in offset rows: nine to a row, eleven rows.
void Dots(QPainter& painter)
{
    painter.fillRect(Field, QColor(0x00, 0x80, 0x88));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xe0, 0xff, 0xff));
    constexpr int columns = 9, rows = 11;  // cells of 7 x 8
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column <= columns; ++column) {
            const double shift = row % 2 == 0 ? 0.5 : 0.0;
            if (shift > 0 && column == columns)
                continue;
            painter.drawEllipse(GridPoint(column + shift, row + 0.5, columns, rows), 1.8, 1.8);
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

// Gold stars on a night-blue ground, rows of five and four in turn.
void Stars(QPainter& painter)
{
    painter.fillRect(Field, QColor(0x10, 0x18, 0x50));
    constexpr int columns = 5, rows = 7;
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns - row % 2; ++column) {
            const double x = column + (row % 2 == 0 ? 0.5 : 1.0);
            painter.fillPath(Star(GridPoint(x, row + 0.5, columns, rows), 4.2, 1.8),
                             QColor(0xf8, 0xd0, 0x30));
        }
}

// A woven look: squares of three bars, lying and standing in turn.
void Basketweave(QPainter& painter)
{
    painter.fillRect(Field, QColor(0x6a, 0x3c, 0x14));
    const QColor tan(0xd8, 0xa8, 0x68);
    constexpr int columns = 7, rows = 11;  // cells of 9 x 8
    const double w = Field.width() / columns, h = Field.height() / rows;
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column) {
            const QPointF corner = GridPoint(column, row, columns, rows);
            for (int k = 0; k < 3; ++k) {
                if ((row + column) % 2 == 0)
                    painter.fillRect(QRectF(corner.x() + 0.6, corner.y() + 0.5 + k * h / 3,
                                            w - 1.2, h / 3 - 1.0), tan);
                else
                    painter.fillRect(QRectF(corner.x() + 0.5 + k * w / 3, corner.y() + 0.6,
                                            w / 3 - 1.0, h - 1.2), tan);
            }
        }
}

// Gold rays from a central medallion on black; a ray on each centre line.
void Sunburst(QPainter& painter)
{
    painter.fillRect(Field, QColor(0x10, 0x10, 0x10));
    const QPointF c = Field.center();
    const QColor gold(0xe0, 0xb0, 0x20);
    for (int i = 0; i < 32; i += 2) {
        QPainterPath ray;
        ray.moveTo(c);
        for (int k = 0; k < 2; ++k) {
            const double a = (i + k - 0.5) * Pi / 16;
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
    case 1: Lattice(painter, QColor(0x18, 0x40, 0xb0), QColor(0xb8, 0xd0, 0xff), 9, 11); break;
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
