// The faces the table's cards show: our own built-in images, or a deck
// installed on the desktop. One object per table, shared by its card controls.
#pragma once

#include "InstalledDecks.h"

#include <QHash>
#include <QPixmap>
#include <QSize>
#include <QString>

#include <cstdint>
#include <memory>

class QWidget;

namespace spades {

class TSvgCardDeck;

class TCardFaces {
public:
    TCardFaces();
    ~TCardFaces();
    TCardFaces(const TCardFaces&) = delete;
    TCardFaces& operator=(const TCardFaces&) = delete;

    // Switches to the deck kept under `id`; an empty id is the built-in faces.
    // A deck that is not installed, cannot be read or lacks a card leaves the
    // built-in faces in use, and the answer is the one message that says so,
    // naming the file; asking again for the same deck gives no second message.
    QString Choose(const QString& id, const TDeckRoots& roots = DefaultDeckRoots());

    // The deck in use, or empty for the built-in faces.
    QString InUse() const;
    // Whether the deck in use has its own picture for `value`.
    bool Draws(uint8_t value) const;

    // A card's picture for a control `logical` units large on a screen of the
    // given pixel ratio: drawn by the deck at the device size when it has the
    // value, else the built-in image (with its corners cut when `rounded`).
    // Null for values without a picture. `pixels`, when given, is the device
    // size to draw, as for RenderedCardPixmap.
    QPixmap Pixmap(uint8_t value, QSize logical, qreal ratio, bool rounded, QSize pixels = {}) const;

private:
    std::unique_ptr<TSvgCardDeck> FDeck;
    QString FRefused;  // the last deck that could not be used
    // The deck's pictures as pixmaps, kept so that a repaint copies no image.
    mutable QHash<quint64, QPixmap> FPixmaps;
};

// Gives every card control under `window` these faces and repaints them.
void ShowCardFaces(QWidget& window, const std::shared_ptr<TCardFaces>& faces);

}  // namespace spades
