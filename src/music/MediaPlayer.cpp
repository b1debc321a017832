#include "MediaPlayer.h"

#include <QMetaObject>

namespace spades {

void TMediaPlayer::PostNotify(TMediaResult result)
{
    QMetaObject::invokeMethod(this, [this, result] { Deliver(result); }, Qt::QueuedConnection);
}

void TMediaPlayer::Deliver(TMediaResult result)
{
    FNotifyValue = result;
    emit Notify(result);
}

}  // namespace spades
