#include "ClaimCheck.h"

#include <QtConcurrent/QtConcurrentRun>

#include "Claim.h"

namespace spades {

namespace {
// Far past what a claim's proof takes; a position that needs more is not offered.
constexpr uint64_t ClaimNodes = 20'000'000;
constexpr int ClaimTableBits = 16;
}  // namespace

TClaimCheck::TClaimCheck(QObject* parent)
    : QObject(parent), FSolver(std::make_shared<TDoubleDummy>(ClaimTableBits))
{
    connect(&FWatcher, &QFutureWatcherBase::finished, this, &TClaimCheck::Finished);
}

TClaimCheck::~TClaimCheck()
{
    Drop();
    FWatcher.waitForFinished();
}

void TClaimCheck::Drop()
{
    if (FStop)
        FStop->store(true);
    FStop.reset();
    FAskedTurn = 0;
    FKnownTurn = 0;
    FLine.clear();
}

void TClaimCheck::Check(const TSpadesGame& game, int seat, uint32_t turn)
{
    Drop();
    if (FWatcher.isRunning())
        FWatcher.waitForFinished();  // stopped above: it returns within a thousand nodes
    FAskedTurn = turn;
    FStop = std::make_shared<std::atomic<bool>>(false);
    const TDDPosition position = OpenPosition(game);
    FWatcher.setFuture(QtConcurrent::run([position, seat, turn, stop = FStop, solver = FSolver] {
        TResult result{turn, {}};
        try {
            const TDDBoundScope bound(*solver, {ClaimNodes, stop.get()});
            result.Line = ClaimLine(*solver, position, seat);
        } catch (const EDDGaveUp&) {
            result.Line.clear();
        }
        return result;
    }));
}

void TClaimCheck::Finished()
{
    if (FWatcher.isCanceled() || !FWatcher.future().isValid() || FWatcher.future().resultCount() == 0)
        return;
    TResult result = FWatcher.result();
    if (result.Turn != FAskedTurn || FAskedTurn == 0)
        return;  // dropped meanwhile
    FKnownTurn = result.Turn;
    FLine = std::move(result.Line);
    emit checked();
}

}  // namespace spades
