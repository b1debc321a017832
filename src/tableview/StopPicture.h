// The stop button's picture drawn for any number of pixels: the octagon and its
// lettering as shapes, so that a large button is as sharp as the small one.
#pragma once

#include <QImage>

namespace spades {

// The picture, pixels wide and high, laid out on the 32-unit grid of the built-in bitmap,
// on a clear ground so that the button's own face shows around the sign.
QImage StopPicture(int pixels);

// A bitmap button's glyph: the colour of its bottom-left pixel is its ground, and clear.
QImage ClearGround(const QImage& glyph);

}  // namespace spades
