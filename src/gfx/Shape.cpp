#include "Shape.h"

#include "DevicePixels.h"

#include <QPainter>

#include <cmath>

namespace spades {

TShape::TShape(QWidget* owner) : QWidget(owner)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    resize(65, 65);
}

void TShape::SetShape(TKind kind)
{
    if (kind == FKind)
        return;
    FKind = kind;
    FPicture = QPixmap();
    update();
}

void TShape::SetPen(const QColor& colour, int width)
{
    if (colour == FPenColour && width == FPenWidth)
        return;
    FPenColour = colour;
    FPenWidth = width;
    FPicture = QPixmap();
    update();
}

void TShape::SetBrush(std::optional<QColor> colour)
{
    if (colour == FBrush)
        return;
    FBrush = colour;
    FPicture = QPixmap();
    update();
}

QRegion TShape::OpaqueArea() const
{
    if (!isVisible() || !FBrush || FBrush->alpha() != 255)
        return {};
    const int pen = FPenWidth > 0 && FPenColour.alpha() != 255 ? FPenWidth : 0;
    const QRect inside = rect().adjusted(pen, pen, -pen, -pen);
    if (FKind == TKind::Rectangle)
        return RoundedInside(inside, 1);
    return RoundedInside(inside, static_cast<int>(std::ceil(std::min(width(), height()) / 8.0)) + 1);
}

void TShape::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const qreal ratio = TDevicePixels::Ratio(painter, *this);
    // Drawn once for these pixels and copied after: an antialiased fill of the
    // play area is the costliest thing on the table otherwise.
    if (FPicture.isNull() || FPicture.devicePixelRatio() != ratio || FPictureSize != size()) {
        FPicture = DevicePicture(size(), ratio, [this](QPainter& draw) { PaintShape(draw); });
        FPictureSize = size();
    }
    if (!TDevicePixels(painter).Draw(QPoint(), FPicture))
        PaintShape(painter);
}

void TShape::PaintShape(QPainter& painter) const
{
    painter.setRenderHint(QPainter::Antialiasing, FKind == TKind::RoundRect);
    if (FPenWidth > 0)
        painter.setPen(QPen(FPenColour, FPenWidth, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    else
        painter.setPen(Qt::NoPen);
    painter.setBrush(FBrush ? QBrush(*FBrush) : QBrush(Qt::NoBrush));
    // The pen is drawn inside the bounds, as a shape control does.
    const qreal inset = FPenWidth / 2.0;
    const QRectF area = QRectF(rect()).adjusted(inset, inset, -inset, -inset);
    if (FKind == TKind::RoundRect) {
        const qreal radius = std::min(width(), height()) / 8.0;
        painter.drawRoundedRect(area, radius, radius);
    } else {
        painter.drawRect(area);
    }
}

}  // namespace spades
