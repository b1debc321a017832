// One installed card deck, read from its SVG file and drawn at whatever pixel
// size a card needs, each size drawn once and kept.
#pragma once

#include "InstalledDecks.h"

#include <QByteArray>
#include <QHash>
#include <QImage>
#include <QSize>
#include <QString>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class QSvgRenderer;

namespace spades {

// Bounds on what a deck file may hold: its bytes on disk and, once unpacked,
// its SVG text. A file past either is refused, so a hostile deck cannot
// exhaust memory.
inline constexpr qsizetype MaxDeckFileBytes = 32 * 1024 * 1024;
inline constexpr qsizetype MaxDeckSvgBytes = 96 * 1024 * 1024;

// Unpacks gzip data (an .svgz file) to at most `limit` bytes; nothing for data
// that is damaged or would unpack to more. Data that is not gzip comes back as is.
std::optional<QByteArray> UnpackDeckFile(const QByteArray& data, qsizetype limit = MaxDeckSvgBytes);

class TSvgCardDeck {
public:
    // Reads the file and checks that it holds all 52 faces and the back, with
    // each face's index where a fan leaves it in sight. A deck that fails is
    // not valid, and Error() says why, naming the file.
    explicit TSvgCardDeck(TDeckInfo info);
    ~TSvgCardDeck();
    TSvgCardDeck(const TSvgCardDeck&) = delete;
    TSvgCardDeck& operator=(const TSvgCardDeck&) = delete;

    bool IsValid() const { return FRenderer != nullptr; }
    const QString& Error() const { return FError; }
    const TDeckInfo& Info() const { return FInfo; }

    // Whether the deck draws this value itself: every face and back, and the
    // joker when the deck has one.
    bool HasImage(uint8_t value) const;
    // The value's image, `pixels` large, filling the whole size; null when the
    // deck has none. Drawn once per value and size.
    QImage Image(uint8_t value, QSize pixels);

    // How many images are kept; the cache is emptied when it passes its bound.
    int CachedImages() const { return static_cast<int>(FCache.size()); }

private:
    // Whether the top left corner, the part of a card a fan shows, carries the
    // index: some decks put it at the right, under the next card.
    bool IndexInSight() const;
    // The value drawn afresh, uncached.
    QImage Draw(uint8_t value, QSize pixels) const;

    TDeckInfo FInfo;
    QString FError;
    std::unique_ptr<QSvgRenderer> FRenderer;
    std::array<QString, 63> FElements;  // by card value; empty where the deck has none
    QHash<quint64, QImage> FCache;
};

// The decks among these that can be used: each file is read and checked (once
// while it stays unchanged), which takes a while for many decks, so this is for
// a worker thread; it may run on several at once.
std::vector<TDeckInfo> ReadableDecks(std::vector<TDeckInfo> decks);

}  // namespace spades
