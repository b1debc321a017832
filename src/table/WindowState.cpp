#include "WindowState.h"

#include "WinReg.h"

#include <algorithm>

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

}  // namespace spades
