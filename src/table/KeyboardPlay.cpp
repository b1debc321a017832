#include "KeyboardPlay.h"

#include <QKeyEvent>
#include <QMainWindow>
#include <QMenuBar>

#include "CardHover.h"
#include "LastTrick.h"

namespace spades {

TKeyboardPlay::TKeyboardPlay(QMainWindow& window, TCardHover& hover, TLastTrick& lastTrick)
    : QObject(&window), FWindow(window), FHover(hover), FLastTrick(lastTrick)
{
    Watch(window);
}

void TKeyboardPlay::Watch(QWidget& widget) { widget.installEventFilter(this); }

bool TKeyboardPlay::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::ShortcutOverride)
        return QObject::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() & ~Qt::KeypadModifier)
        return false;
    const bool playing = FHover.Armed();
    bool ours = false;
    switch (key->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        ours = playing;
        break;
    case Qt::Key_L:
    case Qt::Key_F10:
        ours = true;
        break;
    default:
        break;
    }
    if (!ours)
        return false;
    if (type == QEvent::ShortcutOverride) {
        // Keep these keys from the list and the buttons that might hold the focus.
        event->accept();
        return true;
    }
    if (type == QEvent::KeyRelease) {
        if (key->key() == Qt::Key_L && !key->isAutoRepeat())
            FLastTrick.Hide();
        return true;
    }
    switch (key->key()) {
    case Qt::Key_Left:
        FHover.Step(-1);
        break;
    case Qt::Key_Right:
        FHover.Step(+1);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (!key->isAutoRepeat())
            FHover.PlayLifted();
        break;
    case Qt::Key_L:
        if (!key->isAutoRepeat())
            FLastTrick.Show();
        break;
    case Qt::Key_F10:
        if (QMenuBar* bar = FWindow.menuBar(); bar && !bar->actions().isEmpty()) {
            bar->setFocus(Qt::MenuBarFocusReason);
            bar->setActiveAction(bar->actions().first());
        }
        break;
    default:
        break;
    }
    return true;
}

}  // namespace spades
