#include "CardRender.h"

#include "CardArt.h"

#include <QPainter>

#include <array>

#include <cmath>
#include <cstdlib>
#include <list>
#include <map>
#include <tuple>

namespace spades {

namespace {

// Corner cells cut from a card at its natural size: (x, y) in card units.
constexpr std::array<std::array<int, 2>, 12> CornerCells = {{{0, 0}, {1, 0}, {0, 1},
                                                             {70, 0}, {69, 0}, {70, 1},
                                                             {70, 95}, {69, 95}, {70, 94},
                                                             {0, 95}, {1, 95}, {0, 94}}};

// A least-recently-used store of rendered cards, bounded in bytes.
class TCardCache {
public:
    using TKey = std::tuple<int, int, int, bool>;  // value, device width, height, rounded

    QPixmap Find(const TKey& key)
    {
        const auto found = FEntries.find(key);
        if (found == FEntries.end())
            return {};
        FOrder.splice(FOrder.begin(), FOrder, found->second.Place);
        return found->second.Pixmap;
    }

    void Insert(const TKey& key, const QPixmap& pixmap)
    {
        const std::size_t bytes = static_cast<std::size_t>(pixmap.width()) * pixmap.height() * 4;
        if (bytes > FLimit)
            return;
        FOrder.push_front(key);
        FEntries[key] = {pixmap, bytes, FOrder.begin()};
        FBytes += bytes;
        Trim();
    }

    // The entry of the same card whose width is nearest.
    QPixmap Nearest(const TKey& key) const
    {
        QPixmap best;
        int distance = 0;
        for (const auto& [other, entry] : FEntries) {
            if (std::get<0>(other) != std::get<0>(key) || std::get<3>(other) != std::get<3>(key))
                continue;
            const int d = std::abs(std::get<1>(other) - std::get<1>(key));
            if (best.isNull() || d < distance) {
                best = entry.Pixmap;
                distance = d;
            }
        }
        return best;
    }

    std::size_t Bytes() const { return FBytes; }
    std::size_t Limit() const { return FLimit; }
    void SetLimit(std::size_t bytes)
    {
        FLimit = bytes;
        Trim();
    }
    void Clear()
    {
        FEntries.clear();
        FOrder.clear();
        FBytes = 0;
    }

private:
    void Trim()
    {
        while (FBytes > FLimit && !FOrder.empty()) {
            const auto last = FEntries.find(FOrder.back());
            FBytes -= last->second.Bytes;
            FEntries.erase(last);
            FOrder.pop_back();
        }
    }

    struct TEntry {
        QPixmap Pixmap;
        std::size_t Bytes = 0;
        std::list<TKey>::iterator Place;
    };
    std::map<TKey, TEntry> FEntries;
    std::list<TKey> FOrder;
    std::size_t FBytes = 0;
    // A 4K table holds some 60 cards of about 0.6 MB; this keeps all of them.
    std::size_t FLimit = 40u << 20;
};

TCardCache& Cache()
{
    static TCardCache cache;
    return cache;
}

bool& Live()
{
    static bool live = false;
    return live;
}

}  // namespace

QImage RenderCard(uint8_t value, QSize devicePixels, bool rounded)
{
    if (value < 1 || value > 62 || devicePixels.isEmpty())
        return {};
    QImage image(devicePixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal sx = devicePixels.width() / qreal(cardart::CardWidth);
    const qreal sy = devicePixels.height() / qreal(cardart::CardHeight);
    painter.scale(sx, sy);
    cardart::DrawCardFace(painter, value);
    if (rounded) {
        // Whole device pixels, so the cut edge is as crisp as the card's own border.
        painter.resetTransform();
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setCompositionMode(QPainter::CompositionMode_Clear);
        for (const auto& cell : CornerCells) {
            const int left = static_cast<int>(std::floor(cell[0] * sx));
            const int top = static_cast<int>(std::floor(cell[1] * sy));
            const int right = static_cast<int>(std::ceil((cell[0] + 1) * sx));
            const int bottom = static_cast<int>(std::ceil((cell[1] + 1) * sy));
            painter.fillRect(QRect(left, top, right - left, bottom - top), Qt::transparent);
        }
    }
    painter.end();
    return image;
}

QPixmap RenderedCardPixmap(uint8_t value, QSize logical, qreal ratio, bool rounded, QSize pixels)
{
    const QSize device = pixels.isValid() ? pixels
                                          : QSize(static_cast<int>(std::lround(logical.width() * ratio)),
                                                  static_cast<int>(std::lround(logical.height() * ratio)));
    if (value < 1 || value > 62 || device.isEmpty())
        return {};
    const TCardCache::TKey key{value, device.width(), device.height(), rounded};
    QPixmap pixmap = Cache().Find(key);
    if (pixmap.isNull()) {
        pixmap = QPixmap::fromImage(RenderCard(value, device, rounded));
        pixmap.setDevicePixelRatio(ratio);
        Cache().Insert(key, pixmap);
    } else if (pixmap.devicePixelRatio() != ratio) {
        pixmap.setDevicePixelRatio(ratio);
    }
    return pixmap;
}

void SetLiveResize(bool live) { Live() = live; }
bool LiveResize() { return Live(); }

QPixmap NearestRenderedCard(uint8_t value, QSize devicePixels, bool rounded)
{
    const TCardCache::TKey key{value, devicePixels.width(), devicePixels.height(), rounded};
    const QPixmap exact = Cache().Find(key);
    return exact.isNull() ? Cache().Nearest(key) : exact;
}

std::size_t RenderedCardBytes() { return Cache().Bytes(); }
std::size_t RenderedCardLimit() { return Cache().Limit(); }
void SetRenderedCardLimit(std::size_t bytes) { Cache().SetLimit(bytes); }
void ClearRenderedCards() { Cache().Clear(); }

}  // namespace spades
