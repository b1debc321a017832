#include "BidKeys.h"

#include <QKeyEvent>
#include <QSpinBox>

namespace spades {

TBidKeys::TBidKeys(QSpinBox& edit) : QObject(&edit), FEdit(edit)
{
    edit.setAccessibleName("Bid");
    edit.setAccessibleDescription("Tricks to bid: type 1 to 13, or N for Nil; Enter bids");
    edit.installEventFilter(this);
}

int TBidKeys::Choose(int key, bool afterOne)
{
    if (key == Qt::Key_N)
        return 0;
    if (key < Qt::Key_0 || key > Qt::Key_9)
        return -1;
    const int digit = key - Qt::Key_0;
    if (afterOne && digit <= 3)
        return 10 + digit;
    return digit;
}

bool TBidKeys::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != &FEdit || event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier))
        return false;
    const bool afterOne = FOne && FSinceOne.isValid() && FSinceOne.elapsed() < PairMs;
    const int bid = Choose(key->key(), afterOne);
    if (bid < 0)
        return false;
    FOne = bid == 1;
    if (FOne)
        FSinceOne.start();
    FEdit.setValue(bid);
    FEdit.selectAll();
    return true;
}

}  // namespace spades
