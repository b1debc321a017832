#include "SvgCardDeck.h"

#include "PlayerU.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QPainter>
#include <QSvgRenderer>

#include <zlib.h>

#include <cstdlib>

namespace spades {

namespace {

constexpr int MaxCachedImages = 512;
constexpr int MaxImageSide = 4096;

QString Refusal(const QString& path, const QString& why)
{
    return QStringLiteral("The card deck \"%1\" %2; the built-in cards are shown.").arg(path, why);
}

// A fan leaves 14 of a card's 71 units in sight at its left edge (the trick
// more), so that is where the corner index has to be. Measured at twice the
// natural size, in the top three tenths, inside the card's rim.
constexpr int FanShown = 14;
constexpr QSize IndexProbeSize(2 * 71, 2 * 96);
constexpr double MinIndexInk = 0.09;   // the least share of the strip an index covers
constexpr double MaxRightToLeft = 1.25;  // more at the hidden edge: the index is there

struct TCornerInk {
    double Left = 0;
    double Right = 0;
};

// How much of the left and the right top corner strips stands out from the
// ground, the colour most of both strips have.
TCornerInk CornerInk(const QImage& face)
{
    const int w = face.width(), h = face.height();
    const int rim = w * 3 / 71, strip = w * FanShown / 71 - rim, tall = h * 3 / 10 - rim;
    const QRect left(rim, rim, strip, tall), right(w - rim - strip, rim, strip, tall);
    const auto quantised = [](QRgb c) { return (qRed(c) >> 4) << 8 | (qGreen(c) >> 4) << 4 | qBlue(c) >> 4; };
    QHash<int, int> counts;
    for (const QRect& r : {left, right})
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                if (const QRgb c = face.pixel(x, y); qAlpha(c) > 250)
                    ++counts[quantised(c)];
    int ground = 0, most = -1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > most)
            most = it.value(), ground = it.key();
    const int gr = (ground >> 8) * 16 + 8, gg = (ground >> 4 & 15) * 16 + 8, gb = (ground & 15) * 16 + 8;
    const auto share = [&](const QRect& r) {
        int ink = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x) {
                const QRgb c = face.pixel(x, y);
                ink += qAlpha(c) >= 128 &&
                       std::abs(qRed(c) - gr) + std::abs(qGreen(c) - gg) + std::abs(qBlue(c) - gb) > 120;
            }
        return double(ink) / (r.width() * r.height());
    };
    return {share(left), share(right)};
}

}  // namespace

std::optional<QByteArray> UnpackDeckFile(const QByteArray& data, qsizetype limit)
{
    const bool gzip = data.size() >= 2 && static_cast<unsigned char>(data[0]) == 0x1f &&
                      static_cast<unsigned char>(data[1]) == 0x8b;
    if (!gzip)
        return data.size() <= limit ? std::optional<QByteArray>(data) : std::nullopt;
    z_stream stream{};
    // 16 + window bits: a gzip header and trailer around the deflate data.
    if (inflateInit2(&stream, 16 + MAX_WBITS) != Z_OK)
        return std::nullopt;
    QByteArray out;
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = static_cast<uInt>(data.size());
    int status = Z_OK;
    constexpr qsizetype chunk = 256 * 1024;
    while (status == Z_OK) {
        if (out.size() >= limit + 1) {
            status = Z_BUF_ERROR;
            break;
        }
        const qsizetype start = out.size();
        const qsizetype room = std::min(chunk, limit + 1 - start);
        out.resize(start + room);
        stream.next_out = reinterpret_cast<Bytef*>(out.data() + start);
        stream.avail_out = static_cast<uInt>(room);
        status = inflate(&stream, Z_NO_FLUSH);
        out.resize(start + room - stream.avail_out);
        // Input used up without reaching the end of the stream: it was cut short.
        if (status == Z_OK && stream.avail_in == 0 && stream.avail_out != 0)
            status = Z_DATA_ERROR;
    }
    inflateEnd(&stream);
    if (status != Z_STREAM_END || out.size() > limit)
        return std::nullopt;
    return out;
}

TSvgCardDeck::TSvgCardDeck(TDeckInfo info) : FInfo(std::move(info))
{
    QFile file(FInfo.SvgPath);
    if (!file.open(QIODevice::ReadOnly)) {
        FError = Refusal(FInfo.SvgPath, QStringLiteral("cannot be read"));
        return;
    }
    const QByteArray packed = file.read(MaxDeckFileBytes + 1);
    if (packed.size() > MaxDeckFileBytes) {
        FError = Refusal(FInfo.SvgPath, QStringLiteral("is too large"));
        return;
    }
    const std::optional<QByteArray> svg = UnpackDeckFile(packed);
    if (!svg) {
        FError = Refusal(FInfo.SvgPath, QStringLiteral("is damaged or too large"));
        return;
    }
    auto renderer = std::make_unique<QSvgRenderer>();
    if (!renderer->load(*svg) || !renderer->isValid()) {
        FError = Refusal(FInfo.SvgPath, QStringLiteral("is not an SVG drawing the game can read"));
        return;
    }
    for (int value = 1; value <= LastBackValue; ++value) {
        if (value == JokerValue)
            continue;
        const QString element = DeckElementName(FInfo.Format, static_cast<uint8_t>(value));
        if (!renderer->elementExists(element)) {
            FError = Refusal(FInfo.SvgPath, QStringLiteral("has no card \"%1\"").arg(element));
            return;
        }
        FElements[static_cast<size_t>(value)] = element;
    }
    for (const QString& joker : JokerElements(FInfo.Format))
        if (renderer->elementExists(joker)) {
            FElements[JokerValue] = joker;
            break;
        }
    FRenderer = std::move(renderer);
    if (!IndexInSight()) {
        FRenderer.reset();
        FError = Refusal(FInfo.SvgPath, QStringLiteral("has its corner signs where a fan of cards hides them"));
    }
}

bool TSvgCardDeck::IndexInSight() const
{
    // The twos: nothing but pips in their middle, so the corners hold only the index.
    for (int suit = 0; suit < 4; ++suit) {
        const QImage face = Draw(static_cast<uint8_t>(2 + 13 * suit), IndexProbeSize).convertToFormat(QImage::Format_ARGB32);
        const TCornerInk ink = CornerInk(face);
        if (ink.Left < MinIndexInk || ink.Right > MaxRightToLeft * ink.Left)
            return false;
    }
    return true;
}

TSvgCardDeck::~TSvgCardDeck() = default;

bool TSvgCardDeck::HasImage(uint8_t value) const
{
    return IsValid() && value < FElements.size() && !FElements[value].isEmpty();
}

QImage TSvgCardDeck::Image(uint8_t value, QSize pixels)
{
    if (!HasImage(value) || pixels.width() < 1 || pixels.height() < 1 ||
        pixels.width() > MaxImageSide || pixels.height() > MaxImageSide)
        return {};
    // All backs are one drawing.
    const uint8_t drawn = value >= FirstBackValue ? FirstBackValue : value;
    const quint64 key = (quint64(drawn) << 32) | (quint64(pixels.width()) << 16) | quint64(pixels.height());
    if (const auto found = FCache.constFind(key); found != FCache.constEnd())
        return *found;
    QImage image = Draw(value, pixels);
    if (FCache.size() >= MaxCachedImages)
        FCache.clear();
    FCache.insert(key, image);
    return image;
}

QImage TSvgCardDeck::Draw(uint8_t value, QSize pixels) const
{
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    FRenderer->render(&painter, FElements[value], QRectF(QPointF(0, 0), QSizeF(pixels)));
    painter.end();
    return image;
}

std::vector<TDeckInfo> ReadableDecks(std::vector<TDeckInfo> decks)
{
    // Each file's verdict is kept while the file stays as it was: the
    // preferences are opened again and again, and reading a deck takes a while.
    struct TVerdict {
        qint64 Size = -1;
        QDateTime Modified;
        bool Readable = false;
    };
    static QMutex guard;
    static QHash<QString, TVerdict> verdicts;
    std::erase_if(decks, [](const TDeckInfo& info) {
        const QFileInfo file(info.SvgPath);
        const QString key = info.SvgPath + u'|' + QString::number(static_cast<int>(info.Format));
        {
            const QMutexLocker lock(&guard);
            if (const auto found = verdicts.constFind(key);
                found != verdicts.constEnd() && found->Size == file.size() && found->Modified == file.lastModified())
                return !found->Readable;
        }
        const bool readable = TSvgCardDeck(info).IsValid();
        const QMutexLocker lock(&guard);
        verdicts.insert(key, {file.size(), file.lastModified(), readable});
        return !readable;
    });
    return decks;
}

}  // namespace spades
