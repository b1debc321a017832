#include "PathLabel.h"

#include <QPainter>
#include <QStyle>

namespace spades {

QString TPathLabel::ShownText() const
{
    const int room = contentsRect().width() - 2 * margin() - indent() * (indent() > 0 ? 1 : 0);
    return fontMetrics().elidedText(text(), Qt::ElideMiddle, std::max(room, 0));
}

void TPathLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    drawFrame(&painter);
    const QRect area = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    style()->drawItemText(&painter, area, static_cast<int>(alignment()) | Qt::TextSingleLine, palette(),
                          isEnabled(), ShownText(), foregroundRole());
}

}  // namespace spades
