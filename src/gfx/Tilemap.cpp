#include "Tilemap.h"

#include <QEvent>
#include <QPainter>

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

void TTiledBitmap::paintEvent(QPaintEvent*)
{
    FTilesDrawn = 0;
    if (FBitMap.isNull())
        return;
    const int w = FBitMap.width(), h = FBitMap.height();
    const int columns = width() / w, rows = height() / h;
    const QPixmap& tile = TilePixmap();
    QPainter painter(this);
    // Columns 0..columns and rows 0..rows, edge to edge from the top-left corner;
    // one tiled fill draws them all, the last column and row clipped at the edges.
    painter.drawTiledPixmap(QRect(0, 0, (columns + 1) * w, (rows + 1) * h), tile);
    FTilesDrawn = (columns + 1) * (rows + 1);
}

}  // namespace spades
