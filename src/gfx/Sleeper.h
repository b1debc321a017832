// The pause that paces play: Wait runs a nested event loop until the next tick
// of the sleeper's timer, so painting, clicks, menus and other timers go on while
// the table holds still. The loop sleeps between events; a pause costs no CPU.
#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>

namespace spades {

class TSleeper : public QObject {
    Q_OBJECT

public:
    explicit TSleeper(QObject* owner = nullptr);
    ~TSleeper() override;

    // The timer's interval in milliseconds; 1000 on a new sleeper.
    int GetInterval() const;
    void SetInterval(int interval);
    int Interval() const { return GetInterval(); }

    // Returns after the timer's next tick. A wait begun inside another shares the
    // timer and the done flag: that tick ends both, the inner one first. With an
    // interval of 0 or less it handles the pending events and returns.
    void Wait();

    bool Waiting() const { return FTimer && FTimer->isActive(); }

private:
    void TimerFired();

    QPointer<QTimer> FTimer;
    bool FDone = false;
};

}  // namespace spades
