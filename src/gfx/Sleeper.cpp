#include "Sleeper.h"

#include <QCoreApplication>
#include <QEventLoop>

namespace spades {

TSleeper::TSleeper(QObject* owner) : QObject(owner), FTimer(new QTimer(this))
{
    FTimer->setInterval(1000);
    FTimer->setTimerType(Qt::PreciseTimer);
    connect(FTimer, &QTimer::timeout, this, &TSleeper::TimerFired);
}

TSleeper::~TSleeper()
{
    delete FTimer;
}

int TSleeper::GetInterval() const
{
    return FTimer ? FTimer->interval() : 0;
}

void TSleeper::SetInterval(int interval)
{
    if (FTimer)
        FTimer->setInterval(interval);
}

void TSleeper::TimerFired()
{
    FDone = true;
}

void TSleeper::Wait()
{
    if (!FTimer)
        return;
    // A timer of no length never ticks: hand the events waiting now their turn.
    if (FTimer->interval() <= 0) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        return;
    }
    FDone = false;
    // An outer wait already runs the timer; its next tick ends this wait too.
    if (!FTimer->isActive())
        FTimer->start();
    // A handler may free the sleeper while it waits; then the wait simply ends.
    const QPointer<TSleeper> self(this);
    QEventLoop loop;
    while (self && !FDone)
        loop.processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    if (self && FTimer)
        FTimer->stop();
}

}  // namespace spades
