#include "PlayChecker.h"

#include <QStringList>

#include "CardTitle.h"

namespace spades {

TPlayChecker::TPlayChecker(std::function<void(const QString&)> note, uint64_t nodes, QObject* parent)
    : QObject(parent), FNote(std::move(note)), FNodes(nodes), FWorker([this] { Run(); })
{
}

TPlayChecker::~TPlayChecker()
{
    {
        std::lock_guard lock(FMutex);
        FQuit = true;
        FJobs.clear();
        FCancel = true;
    }
    FWake.notify_all();
    FWorker.join();
}

void TPlayChecker::CardPlayed(const TExpertView& view, int card)
{
    std::lock_guard lock(FMutex);
    FJobs.push_back({FGeneration, [this, view, card] {
                         TExpertPlayer expert;
                         TDoubleDummy solver(18);
                         const TDDBound bound{FNodes, &FCancel};
                         return CardNote(CheckPlayFromView(view, card, expert, solver, 24, bound));
                     }});
    FWake.notify_one();
}

void TPlayChecker::HandEnded(const TReviewHand& hand)
{
    TReviewScope scope;
    scope.Bids = false;
    scope.CompareExpert = false;
    scope.Seats = 0;
    scope.StepNodes = FNodes;
    for (int seat = North; seat <= West; ++seat)
        if (IsPerson(hand.Kinds[static_cast<size_t>(seat)]))
            scope.Seats |= static_cast<uint8_t>(1u << seat);
    if (scope.Seats == 0 || !CheckReviewHand(hand).empty())
        return;
    std::lock_guard lock(FMutex);
    FJobs.push_back({FGeneration, [this, hand, scope] {
                         THandReviewer reviewer;
                         const TReview review = reviewer.Review(hand, &FCancel, {}, scope);
                         return review.Complete ? HandNote(review) : QString();
                     }});
    FWake.notify_one();
}

void TPlayChecker::Reset()
{
    std::lock_guard lock(FMutex);
    ++FGeneration;
    FJobs.clear();
    FCancel = true;
}

void TPlayChecker::Run()
{
    std::unique_lock lock(FMutex);
    for (;;) {
        FWake.wait(lock, [this] { return FQuit || !FJobs.empty(); });
        if (FQuit)
            return;
        TJob job = std::move(FJobs.front());
        FJobs.pop_front();
        FCancel = false;
        lock.unlock();
        const QString note = job.Work();
        lock.lock();
        if (!note.isEmpty() && job.Generation == FGeneration && !FQuit)
            QMetaObject::invokeMethod(this, [this, note, generation = job.Generation] {
                std::lock_guard still(FMutex);
                if (generation == FGeneration)
                    FNote(note);
            }, Qt::QueuedConnection);
    }
}

QString TPlayChecker::CardNote(const TPlayCheck& check)
{
    if (!check.Costly())
        return {};
    return QStringLiteral("Your %1 may have cost a trick; the Expert would have played the %2.")
        .arg(CardTitle(static_cast<uint8_t>(check.Card)), CardTitle(static_cast<uint8_t>(check.ExpertCard)));
}

QString TPlayChecker::HandNote(const TReview& review)
{
    QStringList costly;
    int lost = 0;
    for (const TPlayReview& play : review.Plays)
        if (play.Cost() > 0) {
            costly << QStringLiteral("the %1 in trick %2").arg(CardTitle(play.Play.Card)).arg(play.Trick);
            lost += play.Cost();
        }
    if (costly.isEmpty())
        return {};
    const QString tricks = lost == 1 ? QStringLiteral("a trick") : QStringLiteral("%1 tricks").arg(lost);
    if (costly.size() > 3) {
        const qsizetype more = costly.size() - 2;
        costly = costly.mid(0, 2);
        costly << QStringLiteral("%1 more").arg(more);
    }
    return QStringLiteral("With every card open, %1 cost %2.").arg(costly.join(", "), tricks);
}

}  // namespace spades
