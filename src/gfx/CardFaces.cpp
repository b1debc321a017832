#include "CardFaces.h"
#include "CardRender.h"

#include "CardDeck.h"
#include "SvgCardDeck.h"

#include <QDir>
#include <QWidget>

#include <cmath>

namespace spades {

namespace {

constexpr qsizetype MaxPixmaps = 512;

// Where a deck kept under `id` would be, for the message when it is not there.
QString ExpectedFile(const QString& id, const TDeckRoots& roots)
{
    const QString kind = id.section(u'/', 0, 0), name = id.section(u'/', 1);
    if (kind == u"carddecks" && !roots.Shared.isEmpty())
        return QDir(roots.Shared.first()).filePath(name + QStringLiteral("/index.desktop"));
    if (kind == u"aisleriot" && !roots.Aisleriot.isEmpty())
        return QDir(roots.Aisleriot.first()).filePath(name);
    return id;
}

}  // namespace

TCardFaces::TCardFaces() = default;
TCardFaces::~TCardFaces() = default;

QString TCardFaces::Choose(const QString& id, const TDeckRoots& roots)
{
    if (id == InUse())
        return {};
    FPixmaps.clear();
    if (id.isEmpty()) {
        FDeck.reset();
        FRefused.clear();
        return {};
    }
    QString message;
    if (const auto info = FindDeck(FindInstalledDecks(roots), id)) {
        auto deck = std::make_unique<TSvgCardDeck>(*info);
        if (deck->IsValid()) {
            FDeck = std::move(deck);
            FRefused.clear();
            return {};
        }
        message = deck->Error();
    } else {
        message = QStringLiteral("The card deck \"%1\" is not installed; the built-in cards are shown.")
                      .arg(ExpectedFile(id, roots));
    }
    FDeck.reset();
    if (id == FRefused)
        return {};
    FRefused = id;
    return message;
}

QString TCardFaces::InUse() const
{
    return FDeck ? FDeck->Info().Id : QString();
}

bool TCardFaces::Draws(uint8_t value) const { return FDeck && FDeck->HasImage(value); }

QPixmap TCardFaces::Pixmap(uint8_t value, QSize logical, qreal ratio, bool rounded, QSize pixels) const
{
    if (!pixels.isValid())
        pixels = QSize(static_cast<int>(std::lround(logical.width() * ratio)),
                       static_cast<int>(std::lround(logical.height() * ratio)));
    if (FDeck && FDeck->HasImage(value) && !logical.isEmpty()) {
        const quint64 key = (quint64(value) << 48) | (quint64(pixels.width() & 0xffff) << 32) |
                            (quint64(pixels.height() & 0xffff) << 16) |
                            quint64(std::lround(ratio * 100) & 0xffff);
        if (const auto found = FPixmaps.constFind(key); found != FPixmaps.constEnd())
            return *found;
        QPixmap pixmap = QPixmap::fromImage(FDeck->Image(value, pixels));
        if (!pixmap.isNull()) {
            pixmap.setDevicePixelRatio(ratio);
            if (FPixmaps.size() >= MaxPixmaps)
                FPixmaps.clear();
            FPixmaps.insert(key, pixmap);
            return pixmap;
        }
    }
    if (logical == QSize(CardImageWidth, CardImageHeight) && (ratio == 1.0 || ratio == 2.0))
        return CardPixmap(value, ratio > 1.0 ? 2 : 1, rounded);
    return RenderedCardPixmap(value, logical, ratio, rounded, pixels);
}

void ShowCardFaces(QWidget& window, const std::shared_ptr<TCardFaces>& faces)
{
    for (TCardDeck* card : window.findChildren<TCardDeck*>()) {
        card->SetFaces(faces);
        card->update();
    }
}

}  // namespace spades
