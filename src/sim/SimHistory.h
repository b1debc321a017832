// The simulator's games written to a history file, one transaction per game.
#pragma once

#include "GameRecorder.h"
#include "Simulator.h"

namespace spades {

class TSimHistory : public TGameObserver {
public:
    // The store must be open; its seats are the simulator's four computer seats.
    explicit TSimHistory(THistoryStore& store);
    ~TSimHistory() override;

    void GameStarted(const TSpadesGame& game, int gameNumber) override;
    void HandDealt(const TSpadesGame& game, int handNumber) override;
    void TrickFull(const TSpadesGame& game) override;
    void HandScored(const TSpadesGame& game, const TScoreResult& result) override;
    void GameOver(const TSpadesGame& game, int winnerSeat) override;

    // Empty while the file takes every write; else why it stopped.
    QString Problem() const { return FProblem; }

private:
    void Check();

    THistoryStore& FStore;
    TGameRecorder FRecorder;
    QString FProblem;
};

}  // namespace spades
