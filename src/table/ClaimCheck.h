// Whether the person to play takes every trick left whatever the others do,
// worked out beside the window at each of the person's turns, so that "Claim
// the rest" is offered only then and claiming never waits on the solver.
#pragma once

#include <QFutureWatcher>
#include <QObject>
#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "DoubleDummy.h"

namespace spades {

class TSpadesGame;

class TClaimCheck : public QObject {
    Q_OBJECT
public:
    explicit TClaimCheck(QObject* parent = nullptr);
    // A check at work stops at once; nothing waits on a slow solve.
    ~TClaimCheck() override;

    // The seat's turn has come: the question for this turn replaces any before.
    void Check(const TSpadesGame& game, int seat, uint32_t turn);
    // The table moved on: whatever is being worked out is dropped.
    void Drop();
    // The rest of the hand in the solver's order when the seat may claim at the
    // turn; empty when it may not, or the answer is not known yet.
    std::vector<TPlayRecord> Line(uint32_t turn) const { return Known(turn) ? FLine : std::vector<TPlayRecord>{}; }
    // The answer for the turn is known (whether a claim or not).
    bool Known(uint32_t turn) const { return FKnownTurn == turn && turn != 0; }

signals:
    void checked();

private:
    struct TResult {
        uint32_t Turn = 0;
        std::vector<TPlayRecord> Line;
    };
    void Finished();

    std::shared_ptr<std::atomic<bool>> FStop;  // of the check at work, shared with it
    std::shared_ptr<TDoubleDummy> FSolver;     // used by one check at a time
    QFutureWatcher<TResult> FWatcher;
    uint32_t FAskedTurn = 0;
    uint32_t FKnownTurn = 0;
    std::vector<TPlayRecord> FLine;
};

}  // namespace spades
