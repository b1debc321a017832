// Where the table window stood: its size and position (as it was before any
// maximising) and whether it was maximised, kept in the settings file's "Window"
// section and put back at start on the screens that are there now.
#pragma once

#include <QList>
#include <QRect>
#include <QSize>
#include <optional>

namespace spades {

class TWinRegistry;

struct TWindowPlacement {
    QRect Geometry;  // the window's own area, without the frame
    bool Maximized = false;
    bool operator==(const TWindowPlacement&) const = default;
};

inline constexpr char WindowSection[] = "Window";

// Nothing when no whole placement is stored. Throws like the registry's reads.
std::optional<TWindowPlacement> LoadWindowPlacement(const TWinRegistry& registry);
void SaveWindowPlacement(TWinRegistry& registry, const TWindowPlacement& placement);

// A screen's usable area as a window may fill it. At a fractional device ratio the
// logical area is rounded from the device pixels, and a window of that size may
// round to one pixel more than the screen has: it is made small enough not to.
QRect UsableForWindows(const QRect& logical, qreal ratio);

// The placement moved and cut to the screens' usable areas: a window whose top edge
// no longer lies on any screen is centred on the first one; none is larger than
// its screen, or smaller than `minimum`.
TWindowPlacement FitToScreens(TWindowPlacement placement, const QList<QRect>& screens, QSize minimum);

// The first start's window: the table (plus what stands above it, the menu) at one
// scale, filling most of the usable area, never below the table's own size.
QSize ComfortableSize(QSize table, int above, const QRect& usable);

}  // namespace spades
