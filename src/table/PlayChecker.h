// The table's play checker: after a person's card, and once more after the hand
// with every card open, a note when a card may have cost a trick and what the
// Expert would have played. It works beside the window and never holds play up;
// notes for a hand that is over or a table that moved on are dropped.
#pragma once

#include <QObject>
#include <QString>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

#include "HandReview.h"
#include "PlayCheck.h"

namespace spades {

class TPlayChecker : public QObject {
public:
    // Solver nodes a card's check, or one play of a hand's, may take: about a
    // tenth of a second. Early in a hand most checks need more and are skipped.
    static constexpr uint64_t DefaultNodes = 2000000;

    // note: shows a line on the table; called on the window's thread.
    explicit TPlayChecker(std::function<void(const QString&)> note, uint64_t nodes = DefaultNodes,
                          QObject* parent = nullptr);
    // Stops the check at work at once and waits only for that.
    ~TPlayChecker() override;

    // A person's card, with what that seat saw just before laying it.
    void CardPlayed(const TExpertView& view, int card);
    // The hand is over: the persons' plays looked at with every card open.
    void HandEnded(const TReviewHand& hand);
    // A new hand or game, or the checker switched off: pending work is dropped.
    void Reset();

    // The notes' words, for a card judged from what its player saw and for the
    // costly plays of a hand with every card open.
    static QString CardNote(const TPlayCheck& check);
    static QString HandNote(const TReview& review);

private:
    struct TJob {
        uint64_t Generation = 0;
        std::function<QString()> Work;
    };
    void Run();

    std::function<void(const QString&)> FNote;
    const uint64_t FNodes;
    std::mutex FMutex;
    std::condition_variable FWake;
    std::deque<TJob> FJobs;
    uint64_t FGeneration = 0;  // guarded by FMutex; read on the window's thread too
    bool FQuit = false;
    std::atomic<bool> FCancel{false};  // the job at work is no longer wanted
    std::thread FWorker;
};

}  // namespace spades
