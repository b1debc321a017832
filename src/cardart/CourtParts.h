// What the court figures are drawn with: their frame, their colours and the
// few shapes every part of a figure is made of.
#pragma once

#include "CardArt.h"
#include "Glyphs.h"

#include <QColor>
#include <QPainter>
#include <QPainterPath>

#include <initializer_list>

namespace spades::cardart::court {

// The panel's left edge lies under the next card of a fanned hand (14 units on).
constexpr QRectF Panel(15.5, 6.5, 40.0, 83.0);
constexpr double MidX = CardWidth / 2.0;
constexpr double MidY = CardHeight / 2.0;
// The figure stands a little off centre, leaving room for what it holds.
constexpr double HeadX = 33.0;
constexpr double HeadY = 21.5;
constexpr double HoldX = 48.5;

inline const QColor Ink(0x18, 0x18, 0x18);
inline const QColor Skin(0xf7, 0xd4, 0xae);
inline const QColor Gold(0xf2, 0xbc, 0x18);
inline const QColor GoldDark(0xa8, 0x78, 0x00);
inline const QColor Jewel(0xd0, 0x10, 0x18);
inline const QColor Steel(0xc8, 0xcc, 0xd8);
inline const QColor Wood(0x7a, 0x4a, 0x18);
inline const QColor Leaf(0x28, 0x90, 0x30);

enum class THeld { Sceptre, OrbSceptre, Sword, Broadsword, Tulip, Rose, Lily, Sprig,
                   Halberd, Spear, Axe, Pike };

QPainterPath Polygon(std::initializer_list<QPointF> points);
QPainterPath Ellipse(QPointF centre, double rx, double ry);
void Fill(QPainter& painter, const QPainterPath& path, const QColor& fill, double outline = 0.6);
void Stroke(QPainter& painter, const QPainterPath& path, const QColor& colour, double width);
// A staff with an ink edge, from the top of the panel to the waist.
void Staff(QPainter& painter, double top, const QColor& colour, double width = 1.4);
// The sceptre, sword, flower or halberd a figure holds.
void DrawHeld(QPainter& painter, THeld held);

}  // namespace spades::cardart::court
