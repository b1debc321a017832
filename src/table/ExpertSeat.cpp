#include "ExpertSeat.h"

#include <QFutureWatcher>
#include <QPointer>
#include <QtConcurrent/QtConcurrentRun>

#include "Expert.h"
#include "SpadesGame.h"

namespace spades {

TExpertSeat::TExpertSeat(QObject* parent) : QObject(parent) {}

TExpertSeat::~TExpertSeat()
{
    for (QFuture<int>& future : FRunning)
        future.waitForFinished();
}

TExpertSeat::TKey TExpertSeat::KeyOf(const TSpadesGame& game, int seat, unsigned serial)
{
    TCardSet held = 0;
    for (int slot = 1; slot <= 13; ++slot) {
        const int card = game.Table.Player(seat).FHand[static_cast<size_t>(slot)];
        if (card >= 1 && card <= 52)
            held |= CardBit(card);
    }
    return {serial, seat, game.FPlayCount, game.FBidCount, held};
}

void TExpertSeat::Keep(const QFuture<int>& future)
{
    std::erase_if(FRunning, [](const QFuture<int>& f) { return f.isFinished(); });
    FRunning.push_back(future);
}

// Each decision has its own player: the worker shares nothing with the table.
QFuture<int> TExpertSeat::StartCard(const TExpertView& view)
{
    ++FStarted;
    QFuture<int> future = QtConcurrent::run([view] { return TExpertPlayer().ChooseCard(view); });
    Keep(future);
    return future;
}

QFuture<int> TExpertSeat::StartBid(const TExpertView& view)
{
    ++FStarted;
    QFuture<int> future = QtConcurrent::run([view] { return TExpertPlayer().ChooseBid(view); });
    Keep(future);
    return future;
}

void TExpertSeat::ThinkAhead(const TSpadesGame& game, unsigned serial)
{
    if (game.FPlayCount >= 52 || game.FBidCount < 4 || game.Script)
        return;  // a replay plays its record
    const int seat = KnowledgeOf(ViewOf(game, North)).ToPlay;
    if (!game.Table.Player(seat).FExpert || game.Table.Player(seat).FHuman)
        return;
    const TKey key = KeyOf(game, seat, serial);
    if (FAheadKey == key)
        return;
    FAheadKey = key;
    FAhead = StartCard(ViewOf(game, seat));
}

void TExpertSeat::Decide(const TSpadesGame& game, int seat, unsigned serial, bool bid,
                         std::function<void(int)> done)
{
    QFuture<int> future;
    if (bid) {
        future = StartBid(ViewOf(game, seat));
    } else if (FAheadKey == KeyOf(game, seat, serial)) {
        FAheadKey.reset();
        future = FAhead;
    } else {
        future = StartCard(ViewOf(game, seat));
    }
    const unsigned decision = ++FDecision;
    FDeciding = true;
    auto* watcher = new QFutureWatcher<int>(this);
    connect(watcher, &QFutureWatcher<int>::finished, this, [this, watcher, decision, done = std::move(done)] {
        watcher->deleteLater();
        if (decision != FDecision || !FDeciding)
            return;  // dropped, or replaced by a later one
        FDeciding = false;
        emit answered();
        done(watcher->result());
    });
    watcher->setFuture(future);
    if (!future.isFinished())
        emit waiting();
}

void TExpertSeat::Drop()
{
    if (!FDeciding)
        return;
    FDeciding = false;
    emit answered();  // nobody waits for it any more
}

void TExpertSeat::Hint(const TSpadesGame& game, int seat, std::function<bool()> still, std::function<void(int)> show)
{
    const QFuture<int> future = StartCard(ViewOf(game, seat));
    auto* watcher = new QFutureWatcher<int>(this);
    connect(watcher, &QFutureWatcher<int>::finished, this, [watcher, still, show] {
        if (still())
            show(watcher->result());
        watcher->deleteLater();
    });
    watcher->setFuture(future);
}

std::function<int()> TExpertSeat::SuggestBid(const TSpadesGame& game, int seat)
{
    QFuture<int> future = StartBid(ViewOf(game, seat));
    return [future]() mutable { return future.result(); };
}

void TExpertSeatController::Ask(TSpadesGame& game, const TWait& wait, TSeatAnswers&)
{
    if (wait.Kind != TWaitKind::Bid && wait.Kind != TWaitKind::Card)
        return;
    FTurn = wait.Turn;
    FSeat.Decide(game, wait.Seat, FSerial(), wait.Kind == TWaitKind::Bid, [this, wait](int value) {
        if (FTurn == wait.Turn)
            FAnswer(wait, value);
    });
}

void TExpertSeatController::Cancel(uint32_t turn)
{
    if (turn != FTurn && turn != 0)
        return;
    FTurn = 0;
    FSeat.Drop();
}

}  // namespace spades
