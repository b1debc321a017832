// A sunken one-line panel that shows a file path: a path too long for it loses
// its middle, so the folder's start and the file name both stay in view.
#pragma once

#include <QLabel>

namespace spades {

class TPathLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

    // What the panel shows at its present width.
    QString ShownText() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace spades
