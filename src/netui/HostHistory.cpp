#include "HostHistory.h"

#include "NetHost.h"

namespace spades::net {

THostHistory::THostHistory(TNetHost& host, THistoryStore& store, QObject* parent)
    : QObject(parent), FHost(host), FRecorder(store)
{
    // Directly: each step is read while the game stands at it.
    connect(&host, &TNetHost::gameBegun, this, [this] {
        const TSpadesGame& game = FHost.Game().Game();
        FRecorder.GameStarted(game, SeatsOf(game.Table));
        Check();
    });
    connect(&host, &TNetHost::handDealt, this, [this] {
        FRecorder.HandDealt(FHost.Game().Game());
        Check();
    });
    connect(&host, &TNetHost::trickFull, this, [this] { FRecorder.TrickDone(FHost.Game().Game().Table); });
    connect(&host, &TNetHost::handScored, this, [this](int winner) {
        FRecorder.HandScored(FHost.Game().Game(), winner);
        Check();
    });
}

THostHistory::~THostHistory()
{
    FRecorder.GameAbandoned();
}

void THostHistory::Check()
{
    const QString problem = FRecorder.TakeProblem();
    if (!problem.isEmpty())
        emit Failed(problem);
}

}  // namespace spades::net
