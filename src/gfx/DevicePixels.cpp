#include "DevicePixels.h"

#include <QPaintEngine>
#include <QPainter>
#include <QWidget>

#include <cmath>

namespace spades {

TDevicePixels::TDevicePixels(QPainter& painter) : FPainter(painter) {}

TDevicePixels::~TDevicePixels()
{
    if (FEntered)
        FPainter.restore();
}

qreal TDevicePixels::Ratio(const QPainter& painter, const QWidget& widget)
{
    const QPaintEngine* engine = painter.paintEngine();
    return engine && engine->paintDevice() ? engine->paintDevice()->devicePixelRatio() : widget.devicePixelRatioF();
}

bool TDevicePixels::Exact(qreal ratio) const
{
    const QTransform t = FPainter.deviceTransform();
    return ratio > 0 && t.type() <= QTransform::TxScale && std::abs(t.m11() - ratio) < 1e-9 &&
           std::abs(t.m22() - ratio) < 1e-9;
}

QRect TDevicePixels::ToDevice(const QRect& logical, qreal ratio) const
{
    const QPoint topLeft(qRound(logical.x() * ratio), qRound(logical.y() * ratio));
    const QPoint end(qRound((logical.x() + logical.width()) * ratio), qRound((logical.y() + logical.height()) * ratio));
    return QRect(topLeft, QSize(end.x() - topLeft.x(), end.y() - topLeft.y()));
}

void TDevicePixels::Enter(qreal ratio)
{
    if (FEntered)
        return;
    FPainter.save();
    FPainter.setWorldTransform(QTransform::fromScale(1 / ratio, 1 / ratio), true);
    FEntered = true;
}

bool TDevicePixels::Draw(QPoint at, const QPixmap& pixmap, const QRegion& parts)
{
    const qreal ratio = pixmap.devicePixelRatio();
    if (pixmap.isNull() || !Exact(ratio))
        return false;
    const QTransform before = FPainter.deviceTransform();
    const QPointF device = before.map(QPointF(at));
    Enter(ratio);
    // Device pixels from here on, save the painter's own whole-pixel offset.
    const QTransform now = FPainter.deviceTransform();
    const QPointF origin(std::round(device.x()) - now.dx(), std::round(device.y()) - now.dy());
    if (parts.isEmpty()) {
        FPainter.drawPixmap(QRectF(origin, QSizeF(pixmap.size())), pixmap, QRectF(pixmap.rect()));
        return true;
    }
    for (const QRect& part : parts) {
        const QRect source = ToDevice(part.translated(-at), ratio).intersected(pixmap.rect());
        if (!source.isEmpty())
            FPainter.drawPixmap(QRectF(origin + source.topLeft(), QSizeF(source.size())), pixmap, QRectF(source));
    }
    return true;
}

bool TDevicePixels::Tile(const QRect& area, const QPixmap& tile)
{
    const qreal ratio = tile.devicePixelRatio();
    if (tile.isNull() || !Exact(ratio))
        return false;
    const QTransform before = FPainter.deviceTransform();
    const QPointF device = before.map(QPointF(area.topLeft()));
    const QRect size = ToDevice(QRect(QPoint(), area.size()), ratio);
    Enter(ratio);
    const QTransform now = FPainter.deviceTransform();
    const QPointF origin(std::round(device.x()) - now.dx(), std::round(device.y()) - now.dy());
    FPainter.setClipRect(QRectF(origin, QSizeF(size.size())), Qt::IntersectClip);
    // Tile by tile: a tiled fill would size the tile by its ratio again.
    const QRectF source(tile.rect());
    for (int y = 0; y < size.height(); y += tile.height())
        for (int x = 0; x < size.width(); x += tile.width())
            FPainter.drawPixmap(QRectF(origin + QPointF(x, y), source.size()), tile, source);
    return true;
}

}  // namespace spades
