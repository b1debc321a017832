// Cards drawn from the artwork's vector paths at the size of the device pixels at
// hand, so that a card stays sharp at every scale; the built-in bitmaps serve only
// the natural size. Rendered cards are kept in a cache of bounded size.
#pragma once

#include <QImage>
#include <QPixmap>
#include <QSize>

#include <cstddef>
#include <cstdint>

namespace spades {

// The card `value` (1..62) drawn to fill `devicePixels`; null for values without
// art. With `rounded`, the card's three outer corner pixels (in card units) are
// transparent, as on a card shown at its natural size.
QImage RenderCard(uint8_t value, QSize devicePixels, bool rounded);

// The card for a control of `logical` size on a device of ratio `ratio`: rendered
// once per size and kept. The pixmap carries the ratio. Its pixels are the logical
// size times the ratio, rounded, unless `pixels` says otherwise: a control at a
// place between device pixels covers one more or one fewer.
QPixmap RenderedCardPixmap(uint8_t value, QSize logical, qreal ratio, bool rounded, QSize pixels = {});

// While the window is being resized every step is a new size: cards then show the
// nearest size already rendered, smoothly scaled, until the resizing stops.
void SetLiveResize(bool live);
bool LiveResize();
// The card at these device pixels if rendered before, else the nearest size rendered
// so far (null when none): for the quick frames of a live resize.
QPixmap NearestRenderedCard(uint8_t value, QSize devicePixels, bool rounded);

// The cache of rendered cards: what it holds, and its limit.
std::size_t RenderedCardBytes();
std::size_t RenderedCardLimit();
void SetRenderedCardLimit(std::size_t bytes);
void ClearRenderedCards();

}  // namespace spades
