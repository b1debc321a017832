// A plain shape on the table: a rectangle or rounded rectangle with a pen and an
// optional fill. It never takes clicks, so the controls beneath it do.
#pragma once

#include <QColor>
#include <QPixmap>
#include <QWidget>
#include <optional>

#include "OpaqueControl.h"

namespace spades {

class TShape : public QWidget, public TOpaqueControl {
    Q_OBJECT
public:
    enum class TKind { Rectangle, RoundRect };

    explicit TShape(QWidget* owner = nullptr);

    void SetShape(TKind kind);
    TKind Shape() const { return FKind; }
    // The outline; a width of 0 draws none.
    void SetPen(const QColor& colour, int width);
    QColor PenColour() const { return FPenColour; }
    int PenWidth() const { return FPenWidth; }
    // The inside; none leaves it clear.
    void SetBrush(std::optional<QColor> colour);
    std::optional<QColor> Brush() const { return FBrush; }
    // The inside of an opaque fill, within the pen and the rounded corners.
    QRegion OpaqueArea() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void PaintShape(QPainter& painter) const;

    TKind FKind = TKind::Rectangle;
    QColor FPenColour = Qt::black;
    int FPenWidth = 1;
    std::optional<QColor> FBrush;
    QPixmap FPicture;  // the shape at the size and ratio last painted
    QSize FPictureSize;
};

}  // namespace spades
