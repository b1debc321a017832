#include "CourtParts.h"

namespace spades::cardart::court {

QPainterPath Polygon(std::initializer_list<QPointF> points)
{
    QPainterPath p = Line(points);
    p.closeSubpath();
    return p;
}

QPainterPath Ellipse(QPointF centre, double rx, double ry)
{
    QPainterPath p;
    p.addEllipse(centre, rx, ry);
    return p;
}

void Fill(QPainter& painter, const QPainterPath& path, const QColor& fill, double outline)
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

void Staff(QPainter& painter, double top, const QColor& colour, double width)
{
    Stroke(painter, Line({{HoldX, top}, {HoldX, MidY + 1}}), Ink, width + 0.8);
    Stroke(painter, Line({{HoldX, top}, {HoldX, MidY + 1}}), colour, width);
}

void DrawHeld(QPainter& painter, THeld held)
{
    switch (held) {
    case THeld::Sceptre:
        Staff(painter, 13.0, Gold);
        // A fleur of three gold leaves.
        Fill(painter, Ellipse({HoldX, 10.0}, 1.4, 3.0), Gold, 0.5);
        Fill(painter, Polygon({{HoldX - 1, 12.5}, {HoldX - 4.2, 9.0}, {HoldX - 3.2, 13.6}}), Gold, 0.5);
        Fill(painter, Polygon({{HoldX + 1, 12.5}, {HoldX + 4.2, 9.0}, {HoldX + 3.2, 13.6}}), Gold, 0.5);
        Fill(painter, Polygon({{HoldX - 2.6, 12.8}, {HoldX + 2.6, 12.8}, {HoldX + 2.6, 14.4},
                               {HoldX - 2.6, 14.4}}), GoldDark, 0.4);
        break;
    case THeld::OrbSceptre:
        Staff(painter, 14.0, Gold);
        Fill(painter, Ellipse({HoldX, 12.0}, 3.0, 3.0), Gold, 0.5);
        Stroke(painter, Line({{HoldX - 3.0, 12.0}, {HoldX + 3.0, 12.0}}), GoldDark, 0.6);
        Stroke(painter, Line({{HoldX, 9.0}, {HoldX, 5.6}}), Ink, 0.9);
        Stroke(painter, Line({{HoldX - 1.5, 7.0}, {HoldX + 1.5, 7.0}}), Ink, 0.9);
        break;
    case THeld::Sword:
    case THeld::Broadsword: {
        const double half = held == THeld::Sword ? 1.1 : 1.8;
        Fill(painter, Polygon({{HoldX - half, 33.0}, {HoldX - half, 11.0}, {HoldX, 7.5},
                               {HoldX + half, 11.0}, {HoldX + half, 33.0}}), Steel, 0.5);
        Stroke(painter, Line({{HoldX, 11.0}, {HoldX, 32.0}}), QColor(0x90, 0x94, 0xa0), 0.4);
        Fill(painter, Polygon({{HoldX - 4.5, 33.0}, {HoldX + 4.5, 33.0}, {HoldX + 4.5, 34.6},
                               {HoldX - 4.5, 34.6}}), Gold, 0.5);
        Stroke(painter, Line({{HoldX, 34.6}, {HoldX, 40.5}}), Ink, 2.2);
        Stroke(painter, Line({{HoldX, 34.6}, {HoldX, 40.5}}), Wood, 1.4);
        Fill(painter, Ellipse({HoldX, 41.2}, 1.4, 1.4), Gold, 0.5);
        break;
    }
    case THeld::Tulip:
    case THeld::Rose:
    case THeld::Lily:
    case THeld::Sprig: {
        Stroke(painter, Line({{HoldX - 1.0, 38.0}, {HoldX, 20.0}}), Leaf, 1.0);
        QPainterPath leaf;
        leaf.moveTo(HoldX - 0.4, 29.0);
        leaf.quadTo(HoldX + 4.0, 27.5, HoldX + 5.0, 23.5);
        leaf.quadTo(HoldX + 1.0, 24.5, HoldX - 0.4, 29.0);
        Fill(painter, leaf, Leaf, 0.4);
        if (held == THeld::Tulip) {
            Fill(painter, Polygon({{HoldX - 3.2, 12.5}, {HoldX - 1.6, 15.2}, {HoldX, 11.5},
                                   {HoldX + 1.6, 15.2}, {HoldX + 3.2, 12.5}, {HoldX + 3.0, 18.0},
                                   {HoldX, 20.5}, {HoldX - 3.0, 18.0}}),
                 QColor(0x90, 0x30, 0xc0), 0.5);
        } else if (held == THeld::Rose) {
            Fill(painter, Ellipse({HoldX, 16.5}, 3.6, 3.4), Jewel, 0.5);
            Stroke(painter, Ellipse({HoldX, 16.3}, 1.7, 1.5), QColor(0x80, 0x00, 0x08), 0.5);
        } else if (held == THeld::Lily) {
            for (int k = 0; k < 3; ++k) {
                const double a = (-90.0 + (k - 1) * 55.0) * 3.14159265358979 / 180.0;
                const QPointF tip(HoldX + 5.0 * std::cos(a), 19.0 + 6.5 * std::sin(a));
                Fill(painter, Polygon({{HoldX - 1.2, 19.5}, tip, {HoldX + 1.2, 19.5}}),
                     Qt::white, 0.5);
            }
            Fill(painter, Ellipse({HoldX, 18.6}, 1.1, 1.1), Gold, 0.3);
        } else {
            for (const QPointF bloom : {QPointF(HoldX - 2.6, 17.0), QPointF(HoldX + 2.4, 16.0),
                                        QPointF(HoldX, 12.5)}) {
                Stroke(painter, Line({{HoldX, 21.0}, bloom}), Leaf, 0.7);
                Fill(painter, Ellipse(bloom, 2.0, 2.0), QColor(0x30, 0x60, 0xe0), 0.4);
                Fill(painter, Ellipse(bloom, 0.7, 0.7), Gold, 0);
            }
        }
        break;
    }
    case THeld::Halberd:
    case THeld::Axe:
        Staff(painter, 9.0, Wood);
        Fill(painter, Polygon({{HoldX, 5.0}, {HoldX + 1.3, 9.5}, {HoldX - 1.3, 9.5}}), Steel, 0.4);
        if (held == THeld::Halberd) {
            Fill(painter, Polygon({{HoldX, 10.5}, {HoldX + 5.5, 8.5}, {HoldX + 6.0, 16.0},
                                   {HoldX, 15.0}}), Steel, 0.5);
            Fill(painter, Polygon({{HoldX, 11.5}, {HoldX - 3.5, 13.0}, {HoldX, 14.0}}), Steel, 0.4);
        } else {
            QPainterPath blade;
            blade.moveTo(HoldX, 10.0);
            blade.quadTo(HoldX + 7.5, 8.0, HoldX + 6.0, 18.0);
            blade.quadTo(HoldX + 3.0, 15.0, HoldX, 15.5);
            blade.closeSubpath();
            Fill(painter, blade, Steel, 0.5);
        }
        break;
    case THeld::Spear:
    case THeld::Pike:
        Staff(painter, 12.0, Wood, 1.2);
        Fill(painter, Polygon({{HoldX, 4.5}, {HoldX + 2.0, 10.0}, {HoldX, 12.5}, {HoldX - 2.0, 10.0}}),
             Steel, 0.5);
        if (held == THeld::Pike) {
            // A pennant in the robe's second colour flies from below the head.
            Fill(painter, Polygon({{HoldX, 13.0}, {HoldX - 8.0, 15.5}, {HoldX, 18.0}}),
                 QColor(0x1c, 0x3c, 0xa8), 0.5);
        } else {
            Fill(painter, Polygon({{HoldX - 1.5, 13.0}, {HoldX + 1.5, 13.0}, {HoldX + 1.0, 15.0},
                                   {HoldX - 1.0, 15.0}}), Jewel, 0.4);
        }
        break;
    }
}


}  // namespace spades::cardart::court
