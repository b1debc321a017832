// A control that says which of its pixels it paints fully opaque, so that what
// lies beneath those pixels (the table's surface, cards lower in a fan) need
// not be painted at all.
#pragma once

#include <QRect>
#include <QRegion>

namespace spades {

class TOpaqueControl {
public:
    virtual ~TOpaqueControl() = default;
    // In the control's own coordinates; empty when it paints nothing opaque.
    virtual QRegion OpaqueArea() const = 0;

protected:
    // A rectangle whose corners, `corner` square, may be clear, and whose outer
    // pixel may be blended where edges fall between device pixels.
    static QRegion RoundedInside(const QRect& rect, int corner)
    {
        QRegion inside(rect.adjusted(1, corner, -1, -corner));
        inside += rect.adjusted(corner, 1, -corner, -1);
        return inside;
    }
};

}  // namespace spades
