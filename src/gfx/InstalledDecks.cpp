#include "InstalledDecks.h"

#include "PlayerU.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <array>

namespace spades {

namespace {

constexpr qsizetype MaxNameLength = 80;
constexpr qsizetype MaxFileNameLength = 255;
constexpr size_t MaxDecks = 1000;

// Desktop-entry escapes: \s \n \t \r \\.
QString Unescape(QStringView value)
{
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c != u'\\' || i + 1 == value.size()) {
            out += c;
            continue;
        }
        switch (value[++i].unicode()) {
        case 's': out += u' '; break;
        case 'n': out += u'\n'; break;
        case 't': out += u'\t'; break;
        case 'r': out += u'\r'; break;
        case '\\': out += u'\\'; break;
        default: out += u'\\'; out += value[i]; break;
        }
    }
    return out;
}

// A name fit to show on one line: no control characters, not too long.
QString CleanName(const QString& raw)
{
    QString name;
    for (const QChar c : raw)
        name += c.isPrint() ? c : QChar(u' ');
    name = name.simplified();
    if (name.size() > MaxNameLength)
        name = name.left(MaxNameLength).trimmed();
    return name;
}

bool IsPlainFileName(const QString& name)
{
    return !name.isEmpty() && name.size() <= MaxFileNameLength && name != u"." && name != u".." &&
           !name.contains(u'/') && !name.contains(u'\\') && !name.contains(QChar(0));
}

// "anglo_modern_4_color" → "Anglo Modern 4 Color".
QString NameFromFile(const QString& baseName)
{
    QString name = baseName;
    name.replace(u'_', u' ').replace(u'-', u' ');
    bool start = true;
    for (QChar& c : name) {
        if (start && c.isLetter())
            c = c.toUpper();
        start = c == u' ';
    }
    return CleanName(name);
}

std::optional<QByteArray> ReadBounded(const QString& path, qsizetype limit)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.read(limit + 1);
    if (bytes.size() > limit)
        return std::nullopt;
    return bytes;
}

}  // namespace

std::optional<TDeckIndex> ParseDeckIndex(const QByteArray& text, const QString& locale)
{
    if (text.size() > MaxDeckIndexBytes)
        return std::nullopt;
    const QString language = locale.section(u'_', 0, 0);
    QString plainName, languageName, localeName, svg;
    // Keys before any group, or in the deck's own group.
    bool inDeckGroup = true;
    const QString decoded = QString::fromUtf8(text);
    for (QStringView line : QStringView(decoded).split(u'\n')) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[')) {
            inDeckGroup = line == u"[KDE Backdeck]";
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (!inDeckGroup || equals <= 0)
            continue;
        const QStringView key = line.left(equals).trimmed();
        const QString value = Unescape(line.mid(equals + 1).trimmed());
        if (key == u"Name")
            plainName = value;
        else if (key == u"SVG")
            svg = value;
        else if (!locale.isEmpty() && key == QStringLiteral("Name[%1]").arg(locale))
            localeName = value;
        else if (!language.isEmpty() && key == QStringLiteral("Name[%1]").arg(language))
            languageName = value;
    }
    QString name = CleanName(localeName);
    if (name.isEmpty())
        name = CleanName(languageName);
    if (name.isEmpty())
        name = CleanName(plainName);
    if (name.isEmpty() || !IsPlainFileName(svg))
        return std::nullopt;
    return TDeckIndex{name, svg};
}

TDeckRoots DefaultDeckRoots()
{
    return {{QStringLiteral("/usr/share/carddecks")}, {QStringLiteral("/usr/share/aisleriot/cards")}};
}

std::vector<TDeckInfo> FindInstalledDecks(const TDeckRoots& roots, const QString& locale)
{
    std::vector<TDeckInfo> decks;
    QHash<QString, bool> seen;
    const auto add = [&](TDeckInfo deck) {
        if (decks.size() < MaxDecks && !seen.contains(deck.Id)) {
            seen.insert(deck.Id, true);
            decks.push_back(std::move(deck));
        }
    };
    for (const QString& root : roots.Shared) {
        const QDir dir(root);
        for (const QString& folder : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
            const QDir deckDir(dir.filePath(folder));
            const auto text = ReadBounded(deckDir.filePath(QStringLiteral("index.desktop")),
                                          MaxDeckIndexBytes);
            const auto index = text ? ParseDeckIndex(*text, locale) : std::nullopt;
            if (!index)
                continue;
            const QFileInfo svg(deckDir.filePath(index->SvgFile));
            if (svg.isFile())
                add({QStringLiteral("carddecks/") + folder, index->Name, svg.filePath(),
                     TDeckFormat::Shared});
        }
    }
    for (const QString& root : roots.Aisleriot) {
        const QDir dir(root);
        const QStringList files = dir.entryList({QStringLiteral("*.svgz"), QStringLiteral("*.svg")},
                                                QDir::Files, QDir::Name);
        for (const QString& file : files) {
            const QString name = NameFromFile(QFileInfo(file).completeBaseName());
            if (!name.isEmpty())
                add({QStringLiteral("aisleriot/") + file, name, dir.filePath(file),
                     TDeckFormat::Aisleriot});
        }
    }
    // Two decks of one name (the same deck in both formats) show their files.
    QHash<QString, int> names;
    for (const TDeckInfo& deck : decks)
        ++names[deck.Name];
    for (TDeckInfo& deck : decks)
        if (names[deck.Name] > 1)
            deck.Name += QStringLiteral(" (%1)").arg(deck.Id.section(u'/', 1));
    std::sort(decks.begin(), decks.end(), [](const TDeckInfo& a, const TDeckInfo& b) {
        const int order = QString::localeAwareCompare(a.Name, b.Name);
        return order != 0 ? order < 0 : a.Id < b.Id;
    });
    return decks;
}

std::optional<TDeckInfo> FindDeck(const std::vector<TDeckInfo>& decks, const QString& id)
{
    const auto found = std::find_if(decks.begin(), decks.end(),
                                    [&](const TDeckInfo& deck) { return deck.Id == id; });
    if (found == decks.end())
        return std::nullopt;
    return *found;
}

QString DeckElementName(TDeckFormat format, uint8_t value)
{
    if (value >= FirstBackValue && value <= LastBackValue)
        return QStringLiteral("back");
    const int suit = CardSuit(value), rank = CardRank(value);
    if (suit == 0 || rank == 0)
        return {};
    static constexpr std::array<const char*, 5> suits = {"", "spade", "heart", "club", "diamond"};
    static constexpr std::array<const char*, 14> ranks = {
        "", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "jack", "queen", "king"};
    const QString suitWord = QLatin1StringView(suits[static_cast<size_t>(suit)]);
    const QString rankWord = QLatin1StringView(ranks[static_cast<size_t>(rank)]);
    return format == TDeckFormat::Shared ? rankWord + u'_' + suitWord : suitWord + u'_' + rankWord;
}

QStringList JokerElements(TDeckFormat format)
{
    if (format == TDeckFormat::Shared)
        return {QStringLiteral("red_joker"), QStringLiteral("joker"), QStringLiteral("black_joker")};
    return {QStringLiteral("joker_red"), QStringLiteral("joker_black"), QStringLiteral("joker")};
}

}  // namespace spades
