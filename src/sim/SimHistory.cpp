#include "SimHistory.h"

namespace spades {

TSimHistory::TSimHistory(THistoryStore& store) : FStore(store), FRecorder(store)
{
    // A simulated game is cheap to play again: sync once per game, not per hand.
    if (FStore.IsOpen()) {
        try {
            FStore.SetDurable(false);
        } catch (const EHistoryError& error) {
            FStore.Fail(error.Text());
            FProblem = FStore.Problem();
        }
    }
}

TSimHistory::~TSimHistory()
{
    try {
        FStore.EndBatch();
    } catch (const EHistoryError&) {
        // The open game's hands are lost with the batch; nothing else is.
    }
}

void TSimHistory::Check()
{
    if (FProblem.isEmpty())
        FProblem = FRecorder.TakeProblem();
}

void TSimHistory::GameStarted(const TSpadesGame& game, int)
{
    if (!FStore.IsOpen())
        return;
    try {
        FStore.BeginBatch();
    } catch (const EHistoryError& error) {
        FStore.Fail(error.Text());
        FProblem = FStore.Problem();
        return;
    }
    FRecorder.GameStarted(game, SeatsOf(game.Table));
    Check();
}

void TSimHistory::HandDealt(const TSpadesGame& game, int)
{
    FRecorder.HandDealt(game);
    Check();
}

void TSimHistory::TrickFull(const TSpadesGame& game) { FRecorder.TrickDone(game.Table); }

void TSimHistory::HandScored(const TSpadesGame& game, const TScoreResult& result)
{
    FRecorder.HandScored(game, result.WinnerSeat);
    Check();
}

void TSimHistory::GameOver(const TSpadesGame&, int winnerSeat)
{
    if (winnerSeat == 0)
        FRecorder.GameAbandoned();
    if (!FStore.IsOpen())
        return Check();
    try {
        FStore.EndBatch();
    } catch (const EHistoryError& error) {
        FStore.Fail(error.Text());
        FProblem = FStore.Problem();
    }
}

}  // namespace spades
