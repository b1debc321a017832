// Images made for the device's own pixels are copied to it pixel for pixel.
// Through a painter that scales by the device ratio the raster engine would
// resample them line by line (and hand the lines to worker threads); with the
// scale taken out they go through its plain copy and blend loops.
#pragma once

#include <QPixmap>

#include <functional>
#include <QRect>
#include <QRegion>
#include <QTransform>

class QPainter;
class QWidget;

namespace spades {

// A clear picture `logical` units large for a device of the given ratio,
// painted in logical units by `paint`.
QPixmap DevicePicture(QSize logical, qreal ratio, const std::function<void(QPainter&)>& paint);

// How a painter's logical units map to device pixels, when only by the ratio
// and a whole-pixel offset; otherwise nothing is done and false is returned.
class TDevicePixels {
public:
    explicit TDevicePixels(QPainter& painter);
    // The painter's transform is given back.
    ~TDevicePixels();
    TDevicePixels(const TDevicePixels&) = delete;
    TDevicePixels& operator=(const TDevicePixels&) = delete;

    // The ratio of the device really painted on: the screen's, or that of an
    // image a widget is rendered into.
    static qreal Ratio(const QPainter& painter, const QWidget& widget);

    // True when the painter maps logical units to device pixels by ratio alone.
    bool Exact(qreal ratio) const;
    // A logical rectangle of the painter's as the device pixels it covers: each
    // edge rounded where it falls on the device, not from the painter's own
    // origin, so that widgets side by side (at half-pixel offsets too) share no
    // pixel and leave none out, whatever part of them is repainted.
    QRect DeviceRect(const QRect& logical) const;

    // Draws a pixmap made for this device (its ratio the device's) at a logical
    // point: whole, or only the logical parts listed. False when the painter
    // does not map exactly, and nothing was drawn.
    bool Draw(QPoint at, const QPixmap& pixmap);
    bool Draw(QPoint at, const QPixmap& pixmap, const QRegion& parts);
    // Fills the parts of a logical rectangle listed with a device-size tile,
    // laid from the rectangle's top left.
    bool Tile(const QRect& area, const QPixmap& tile, const QRegion& parts);

private:
    // Takes the ratio out of the painter (once) and gives where the logical
    // point lies in the device units it paints in from then on.
    QPointF EnterAt(QPoint at, qreal ratio);

    QPainter& FPainter;
    const QTransform FLogicalToDevice;  // as the painter was handed in
    bool FEntered = false;
};

}  // namespace spades
