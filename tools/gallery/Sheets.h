// Contact sheets of the table's artwork and controls, one function a sheet.
#pragma once

#include <QImage>
#include <QString>

namespace spades::gallery {

// All 62 cards as the card control paints them, over a patterned surface.
QImage CardSheet();
// The cards of one row of CardSheet (0..3 the suits, 4 the joker and backs),
// enlarged without smoothing so that single pixels can be judged.
QImage ZoomedCardRow(int row, int zoom);
// All 62 images at twice the size, as shown on screens with a pixel ratio of 2.
QImage CardSheet2x();
// The twelve court cards at scale 1 or 2, enlarged `zoom` times without smoothing.
QImage CourtSheet(int scale, int zoom);
// The effect label in every style and colour scheme, and turned.
QImage LabelSheet();
// The bids table with four rows filled in.
QImage BidsSheet();
// A surface image tiled over the table's 769 x 461 client area.
QImage SurfaceSheet(const QImage& tile);

}  // namespace spades::gallery
