#include "WindowState.h"

#include "WinReg.h"

#include <algorithm>
#include <cmath>

namespace spades {

namespace {
// How much of the window's top edge must show for it to count as on a screen:
// enough to take hold of it and drag it back.
constexpr int GripWidth = 64;
constexpr int GripHeight = 16;
}  // namespace

std::optional<TWindowPlacement> LoadWindowPlacement(const TWinRegistry& registry)
{
    const QString section = QLatin1StringView(WindowSection);
    const int width = registry.ReadInteger(section, "Width", 0);
    const int height = registry.ReadInteger(section, "Height", 0);
    if (width <= 0 || height <= 0)
        return std::nullopt;
    TWindowPlacement placement;
    placement.Geometry = QRect(registry.ReadInteger(section, "Left", 0), registry.ReadInteger(section, "Top", 0),
                               width, height);
    placement.Maximized = registry.ReadBool(section, "Maximized", false);
    return placement;
}

void SaveWindowPlacement(TWinRegistry& registry, const TWindowPlacement& placement)
{
    const QString section = QLatin1StringView(WindowSection);
    registry.WriteInteger(section, "Left", placement.Geometry.left());
    registry.WriteInteger(section, "Top", placement.Geometry.top());
    registry.WriteInteger(section, "Width", placement.Geometry.width());
    registry.WriteInteger(section, "Height", placement.Geometry.height());
    registry.WriteBool(section, "Maximized", placement.Maximized);
}

QRect UsableForWindows(const QRect& logical, qreal ratio)
{
    if (ratio <= 0 || std::abs(ratio - std::round(ratio)) < 1e-9)
        return logical;  // whole ratios map logical pixels exactly
    // The screen has at least (L - 1/2) * ratio device pixels; a window of w rounds
    // to w * ratio + 1/2 at most.
    const auto fit = [ratio](int length) { return static_cast<int>(std::floor(length - 0.5 - 0.5 / ratio)); };
    return QRect(logical.topLeft(), QSize(fit(logical.width()), fit(logical.height())));
}

TWindowPlacement FitToScreens(TWindowPlacement placement, const QList<QRect>& screens, QSize minimum)
{
    QRect& window = placement.Geometry;
    window.setSize(window.size().expandedTo(minimum));
    if (screens.isEmpty())
        return placement;
    const QRect top(window.left(), window.top(), window.width(), GripHeight);
    const QRect* home = nullptr;
    for (const QRect& screen : screens) {
        const QRect shown = screen & top;
        if (shown.width() >= std::min(GripWidth, window.width()) && shown.height() >= GripHeight) {
            home = &screen;
            break;
        }
    }
    if (!home) {
        home = &screens.front();
        window.moveCenter(home->center());
    }
    // No larger than the screen, and moved in far enough to be seen whole.
    window.setSize(window.size().boundedTo(home->size()).expandedTo(minimum));
    window.moveLeft(std::clamp(window.left(), home->left(), std::max(home->left(), home->right() + 1 - window.width())));
    window.moveTop(std::clamp(window.top(), home->top(), std::max(home->top(), home->bottom() + 1 - window.height())));
    return placement;
}

QSize ComfortableSize(QSize table, int above, const QRect& usable)
{
    constexpr double Share = 0.8;  // room left round the window for the rest of the desktop
    const double scale = std::max(1.0, std::min(usable.width() * Share / table.width(),
                                                 (usable.height() * Share - above) / table.height()));
    return {static_cast<int>(table.width() * scale), static_cast<int>(table.height() * scale) + above};
}

}  // namespace spades
