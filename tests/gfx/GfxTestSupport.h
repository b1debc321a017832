// Helpers for the control tests: counting paint events and finding where a
// colour landed in a rendered image.
#pragma once

#include <algorithm>
#include <cstdlib>

#include <QCoreApplication>
#include <QEvent>
#include <QImage>
#include <QObject>
#include <QRect>
#include <QTest>
#include <QWidget>

#include <functional>

namespace spades::test {

// Counts the paint events a widget receives.
class TPaintCounter : public QObject {
public:
    explicit TPaintCounter(QWidget& widget) : QObject(&widget) { widget.installEventFilter(this); }
    int Count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++Count;
        return false;
    }
};

// The smallest rectangle holding every pixel that passes `match`; null if none.
inline QRect Bounds(const QImage& image, const std::function<bool(QRgb)>& match)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (match(image.pixel(x, y)))
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

inline QRect BoundsOf(const QImage& image, QRgb colour)
{
    return Bounds(image, [colour](QRgb p) { return (p & 0xffffff) == (colour & 0xffffff); });
}

inline int CountOf(const QImage& image, QRgb colour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += (image.pixel(x, y) & 0xffffff) == (colour & 0xffffff);
    return n;
}

// The largest difference of any colour channel between two images of one size.
inline int WorstDifference(const QImage& a, const QImage& b)
{
    int worst = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                              std::abs(qBlue(p) - qBlue(q))});
        }
    return worst;
}

// Renders only what the widget (and its children) paint, over `ground`.
inline QImage RenderOver(QWidget& widget, QColor ground)
{
    QImage image(widget.size(), QImage::Format_ARGB32);
    image.fill(ground);
    widget.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

// Shows a top-level widget and waits until the platform has exposed it.
inline bool ShowAndExpose(QWidget& widget)
{
    widget.show();
    const bool exposed = QTest::qWaitForWindowExposed(&widget);
    QCoreApplication::processEvents();
    return exposed;
}

}  // namespace spades::test
