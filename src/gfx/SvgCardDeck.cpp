#include "SvgCardDeck.h"

#include "PlayerU.h"

#include <QFile>
#include <QPainter>
#include <QSvgRenderer>

#include <zlib.h>

namespace spades {

namespace {

constexpr int MaxCachedImages = 512;
constexpr int MaxImageSide = 4096;

QString Refusal(const QString& path, const QString& why)
{
    return QStringLiteral("The card deck \"%1\" %2; the built-in cards are shown.").arg(path, why);
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
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    FRenderer->render(&painter, FElements[value], QRectF(QPointF(0, 0), QSizeF(pixels)));
    painter.end();
    if (FCache.size() >= MaxCachedImages)
        FCache.clear();
    FCache.insert(key, image);
    return image;
}

}  // namespace spades
