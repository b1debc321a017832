// The card decks other card games have installed on the desktop, found where
// the system keeps them and read from there, never copied:
//   <shared root>/<folder>/index.desktop naming the deck and its SVG file, with
//     elements "1_club" … "king_club", likewise _spade, _heart, _diamond, "back";
//   <aisleriot root>/<name>.svgz, with elements "club_1" … "club_king", "back".
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <vector>

namespace spades {

enum class TDeckFormat { Shared, Aisleriot };

struct TDeckInfo {
    QString Id;       // kept in the settings: "carddecks/<folder>" or "aisleriot/<file>"
    QString Name;     // shown in the preferences
    QString SvgPath;  // the SVG or SVGZ file
    TDeckFormat Format = TDeckFormat::Shared;

    friend bool operator==(const TDeckInfo&, const TDeckInfo&) = default;
};

// What an index.desktop file says: the deck's name (in the given locale when
// it has one, "de_AT" then "de") and its SVG file's name.
struct TDeckIndex {
    QString Name;
    QString SvgFile;
};

// The longest index.desktop read; a longer one is refused.
inline constexpr qsizetype MaxDeckIndexBytes = 256 * 1024;

// Parses the text of an index.desktop file. Nothing for a text without a name
// or an SVG file, one too long, or an SVG file that is not a plain file name
// in the deck's own folder.
std::optional<TDeckIndex> ParseDeckIndex(const QByteArray& text, const QString& locale = {});

// Where to look; tests point these at temporary folders.
struct TDeckRoots {
    QStringList Shared;
    QStringList Aisleriot;
};

TDeckRoots DefaultDeckRoots();  // /usr/share/carddecks, /usr/share/aisleriot/cards

// Every deck found, sorted by name. A folder without a readable index, or whose
// index names no SVG file that exists, is left out; its file is read only when
// the deck is chosen. Two decks of one name are told apart by their file.
std::vector<TDeckInfo> FindInstalledDecks(const TDeckRoots& roots, const QString& locale = {});

// The deck kept under `id`, or nothing if no such deck is installed.
std::optional<TDeckInfo> FindDeck(const std::vector<TDeckInfo>& decks, const QString& id);

// The element of a card value in a deck of the format: faces 1..52, every back
// (54..62) is "back"; empty for the joker and values without a card. The
// joker's element differs from deck to deck: see JokerElements.
QString DeckElementName(TDeckFormat format, uint8_t value);
QStringList JokerElements(TDeckFormat format);

}  // namespace spades
