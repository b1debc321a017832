#include "Tilemap.h"

#include "DevicePixels.h"
#include "OpaqueControl.h"

#include <QEvent>
#include <QPaintEngine>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>

namespace spades {

TTiledBitmap::TTiledBitmap(QWidget* owner) : QWidget(owner)
{
    resize(65, 65);
    if (owner)
        show();
}

void TTiledBitmap::SetBitMap(const QImage& bitmap)
{
    if (&bitmap == &FBitMap)
        return;
    FBitMap = bitmap;
    setAttribute(Qt::WA_OpaquePaintEvent, !FBitMap.isNull() && !FBitMap.hasAlphaChannel());
    update();
}

QList<QRgb> TTiledBitmap::GetPalette() const
{
    return FBitMap.isNull() ? QList<QRgb>() : FBitMap.colorTable();
}

void TTiledBitmap::SetFillsParent(bool fills)
{
    if (fills == FFillsParent)
        return;
    FFillsParent = fills;
    if (QWidget* parent = parentWidget()) {
        if (fills) {
            parent->installEventFilter(this);
            setGeometry(parent->rect());
        } else {
            parent->removeEventFilter(this);
        }
    }
}

bool TTiledBitmap::eventFilter(QObject* watched, QEvent* event)
{
    if (FFillsParent && watched == parentWidget() && event->type() == QEvent::Resize)
        setGeometry(parentWidget()->rect());
    return QWidget::eventFilter(watched, event);
}

// The pixmap follows the image: a caller may have drawn into BitMap() directly.
const QPixmap& TTiledBitmap::TilePixmap()
{
    if (FTile.isNull() || FTileKey != FBitMap.cacheKey()) {
        FTile = QPixmap::fromImage(FBitMap);
        FTileKey = FBitMap.cacheKey();
    }
    return FTile;
}

void TTiledBitmap::SetTileScale(qreal scale)
{
    if (scale <= 0 || scale == FTileScale)
        return;
    FTileScale = scale;
    update();
}

QPixmap TTiledBitmap::DeviceTile(qreal ratio)
{
    const qreal factor = FTileScale * ratio;
    if (FBitMap.isNull() || factor == 1.0)
        return TilePixmap();
    if (!FDeviceTile.isNull() && FDeviceTileKey == FBitMap.cacheKey() && FDeviceTileFactor == factor)
        return FDeviceTile;
    const int w = FBitMap.width(), h = FBitMap.height();
    const QSize device(std::max(1, qRound(w * factor)), std::max(1, qRound(h * factor)));
    // Three by three tiles resampled together, and the middle one kept: its edges
    // are blended with the pixels that really lie beyond them.
    QImage block(w * 3, h * 3, QImage::Format_ARGB32_Premultiplied);
    {
        QPainter painter(&block);
        painter.drawTiledPixmap(block.rect(), QPixmap::fromImage(FBitMap));
    }
    const QImage scaled = block.scaled(device * 3, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QImage tile = scaled.copy(QRect(QPoint(device.width(), device.height()), device));
    // An opaque surface is copied, not blended: the fill costs far less.
    if (!FBitMap.hasAlphaChannel())
        tile = tile.convertToFormat(QImage::Format_RGB32);
    FDeviceTile = QPixmap::fromImage(tile);
    FDeviceTile.setDevicePixelRatio(ratio);
    FDeviceTileKey = FBitMap.cacheKey();
    FDeviceTileFactor = factor;
    return FDeviceTile;
}

QRegion TTiledBitmap::Uncovered(const QRegion& region) const
{
    // What the controls on the surface paint opaque need not be tiled first.
    QRegion uncovered = region.intersected(rect());
    for (const QObject* child : children()) {
        const auto* control = dynamic_cast<const TOpaqueControl*>(child);
        if (control && child->isWidgetType())
            uncovered -= control->OpaqueArea().translated(static_cast<const QWidget*>(child)->pos());
    }
    return uncovered;
}

void TTiledBitmap::paintEvent(QPaintEvent* event)
{
    FTilesDrawn = 0;
    // Opaque tiles cover every pixel, so the background Qt would fill first (as
    // much work as the tiles themselves) is skipped; anything else is painted
    // over the background as usual, which this paint fills itself if it was
    // skipped when the bitmap changed underneath.
    const bool opaque = !FBitMap.isNull() && !FBitMap.hasAlphaChannel();
    if (!opaque && testAttribute(Qt::WA_OpaquePaintEvent))
        QPainter(this).fillRect(event->rect(), palette().brush(backgroundRole()));
    setAttribute(Qt::WA_OpaquePaintEvent, opaque);
    if (FBitMap.isNull())
        return;
    QPainter painter(this);
    const qreal ratio = TDevicePixels::Ratio(painter, *this);
    const QPixmap tile = DeviceTile(ratio);
    const qreal w = tile.width() / tile.devicePixelRatio(), h = tile.height() / tile.devicePixelRatio();
    const int columns = static_cast<int>(width() / w), rows = static_cast<int>(height() / h);
    // Columns 0..columns and rows 0..rows, edge to edge from the top-left corner,
    // the last column and row clipped at the edges; copied in device pixels
    // where the painter allows, else one tiled fill.
    if (!TDevicePixels(painter).Tile(rect(), tile, Uncovered(event->region())))
        painter.drawTiledPixmap(QRectF(0, 0, (columns + 1) * w, (rows + 1) * h), tile);
    FTilesDrawn = (columns + 1) * (rows + 1);
}

}  // namespace spades
