// The table without a mouse: Left and Right move the mark along the playable
// cards, Enter or Space plays the marked card, L held shows the last trick, and
// F10 opens the menu.
#pragma once

#include <QObject>

class QMainWindow;
class QWidget;

namespace spades {

class TCardHover;
class TLastTrick;

class TKeyboardPlay : public QObject {
    Q_OBJECT
public:
    // Watches the keys that reach the window or any of `watched`.
    TKeyboardPlay(QMainWindow& window, TCardHover& hover, TLastTrick& lastTrick);
    void Watch(QWidget& widget);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QMainWindow& FWindow;
    TCardHover& FHover;
    TLastTrick& FLastTrick;
};

}  // namespace spades
