// The table surface: one bitmap laid edge to edge over the control, anchored at
// its top-left corner so that resizing extends the pattern without moving it.
#pragma once

#include <QImage>
#include <QList>
#include <QPixmap>
#include <QWidget>

namespace spades {

class TTiledBitmap : public QWidget {
    Q_OBJECT

public:
    explicit TTiledBitmap(QWidget* owner = nullptr);

    // The tile. Callers may load an image straight into it and then call update().
    QImage& BitMap() { return FBitMap; }
    const QImage& BitMap() const { return FBitMap; }
    // Copies `bitmap` in and repaints later; handing in BitMap() itself does nothing.
    void SetBitMap(const QImage& bitmap);

    // The tile's colour table; empty while there is no tile or it has no palette.
    QList<QRgb> GetPalette() const;

    // Keeps the control covering its parent's whole area.
    void SetFillsParent(bool fills);
    bool FillsParent() const { return FFillsParent; }

    // Tiles drawn by the last paint, clipped ones included.
    int TilesDrawn() const { return FTilesDrawn; }

    // The tile's size on the table: 1 lays it pixel for pixel. Any other scale, and
    // any device ratio, gets a tile resampled for the device's pixels, wrapping round
    // its edges so that neighbouring tiles still meet without a seam.
    void SetTileScale(qreal scale);
    qreal TileScale() const { return FTileScale; }
    // The tile as drawn on a device of this ratio.
    QPixmap DeviceTile(qreal ratio);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const QPixmap& TilePixmap();
    // The part of region that no control on the surface paints over opaquely.
    QRegion Uncovered(const QRegion& region) const;

    QImage FBitMap;
    QPixmap FTile;
    qint64 FTileKey = 0;
    qreal FTileScale = 1.0;
    QPixmap FDeviceTile;
    qint64 FDeviceTileKey = 0;
    qreal FDeviceTileFactor = 0;
    int FTilesDrawn = 0;
    bool FFillsParent = false;
};

}  // namespace spades
