#include "DevicePixels.h"

#include <QPaintEngine>
#include <QPainter>
#include <QWidget>

#include <cmath>

namespace spades {

QPixmap DevicePicture(QSize logical, qreal ratio, const std::function<void(QPainter&)>& paint)
{
    QImage picture(logical * ratio, QImage::Format_ARGB32_Premultiplied);
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::transparent);
    {
        QPainter painter(&picture);
        paint(painter);
    }
    return QPixmap::fromImage(std::move(picture));
}

TDevicePixels::TDevicePixels(QPainter& painter) : FPainter(painter), FLogicalToDevice(painter.deviceTransform()) {}

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
    const QTransform& t = FLogicalToDevice;
    return ratio > 0 && t.type() <= QTransform::TxScale && std::abs(t.m11() - ratio) < 1e-9 &&
           std::abs(t.m22() - ratio) < 1e-9;
}

QRect TDevicePixels::DeviceRect(const QRect& logical) const
{
    const auto device = [this](int x, int y) {
        const QPointF p = FLogicalToDevice.map(QPointF(x, y));
        return QPoint(static_cast<int>(std::lround(p.x())), static_cast<int>(std::lround(p.y())));
    };
    const QPoint topLeft = device(logical.x(), logical.y());
    const QPoint end = device(logical.x() + logical.width(), logical.y() + logical.height());
    return QRect(topLeft, QSize(end.x() - topLeft.x(), end.y() - topLeft.y()));
}

QPointF TDevicePixels::EnterAt(QPoint at, qreal ratio)
{
    const QPointF device = FLogicalToDevice.map(QPointF(at));
    if (!FEntered) {
        FPainter.save();
        FPainter.setWorldTransform(QTransform::fromScale(1 / ratio, 1 / ratio), true);
        FEntered = true;
    }
    // Device pixels from here on, save the painter's own whole-pixel offset.
    const QTransform now = FPainter.deviceTransform();
    return {std::round(device.x()) - now.dx(), std::round(device.y()) - now.dy()};
}

bool TDevicePixels::Draw(QPoint at, const QPixmap& pixmap)
{
    // Rounded up: the part is cut to the pixmap's own pixels.
    const QSizeF size = pixmap.deviceIndependentSize();
    return Draw(at, pixmap, QRect(at, QSize(static_cast<int>(std::ceil(size.width())), static_cast<int>(std::ceil(size.height())))));
}

bool TDevicePixels::Draw(QPoint at, const QPixmap& pixmap, const QRegion& parts)
{
    const qreal ratio = pixmap.devicePixelRatio();
    if (pixmap.isNull() || !Exact(ratio))
        return false;
    const QPoint corner = DeviceRect(QRect(at, QSize())).topLeft();
    const QPointF origin = EnterAt(at, ratio);
    for (const QRect& part : parts) {
        const QRect source = DeviceRect(part).translated(-corner).intersected(pixmap.rect());
        if (!source.isEmpty())
            FPainter.drawPixmap(QRectF(origin + source.topLeft(), QSizeF(source.size())), pixmap, QRectF(source));
    }
    return true;
}

bool TDevicePixels::Tile(const QRect& area, const QPixmap& tile, const QRegion& parts)
{
    const qreal ratio = tile.devicePixelRatio();
    if (tile.isNull() || !Exact(ratio))
        return false;
    const QPoint corner = DeviceRect(QRect(area.topLeft(), QSize())).topLeft();
    const QPointF origin = EnterAt(area.topLeft(), ratio);
    const QRegion wanted = parts.intersected(area);
    const int tw = tile.width(), th = tile.height();
    // Each part tile by tile, in device pixels counted from the area's top left:
    // plain rectangles the raster engine copies whole.
    for (const QRect& part : wanted) {
        const QRect p = DeviceRect(part).translated(-corner);
        for (int y = p.top() - p.top() % th; y <= p.bottom(); y += th)
            for (int x = p.left() - p.left() % tw; x <= p.right(); x += tw) {
                const QRect piece = p.intersected(QRect(x, y, tw, th));
                if (!piece.isEmpty())
                    FPainter.drawPixmap(QRectF(origin + piece.topLeft(), QSizeF(piece.size())), tile,
                                        QRectF(piece.translated(-x, -y)));
            }
    }
    return true;
}

}  // namespace spades
