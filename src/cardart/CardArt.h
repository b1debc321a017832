// Draws the 62 card images: 52 faces, the joker and nine backs, 71 x 96 at
// scale 1, or the same drawing at a whole multiple of that size.
#pragma once

#include <QImage>
#include <QString>

#include <array>

class QPainter;

namespace spades::cardart {

constexpr int CardWidth = 71;
constexpr int CardHeight = 96;

// Card value 1..62 (values outside give a null image). The corners stay square:
// the card control cuts them away when it draws a card at its natural size.
QImage DrawCard(int value, int scale);

// Index texts by rank 1..13.
extern const std::array<const char*, 14> RankTexts;

// The whole card `value` (1..62), on a painter already scaled to card units.
void DrawCardFace(QPainter& painter, int value);

// Parts of the drawing, each on a painter already scaled to card units.
void DrawBlankCard(QPainter& painter);
// Rank and suit in the top-left corner, and the same turned about the centre.
void DrawIndex(QPainter& painter, const QString& rank, int suit);
void DrawPipCard(QPainter& painter, int suit, int rank);
void DrawCourtCard(QPainter& painter, int suit, int rank);
void DrawJoker(QPainter& painter);
void DrawBack(QPainter& painter, int back);

}  // namespace spades::cardart
