// The play log of every hand a hand cycle plays, written as the hand goes:
// a game's house rules with its first hand, the seats and hands once the bidding is done, each trick when it is full,
// the bids and tricks at the end.
#pragma once

#include <ostream>

#include "GameObserver.h"
#include "PlayLog.h"
#include "SpadesGame.h"

namespace spades {

class TPlayLogObserver final : public TGameObserver {
public:
    // The events it writes from: watch it for these alone.
    static constexpr TGameEvents Events = EventBit(TGameEvent::GameStarted) |
        EventBit(TGameEvent::PlayBegins) | EventBit(TGameEvent::TrickFull) | EventBit(TGameEvent::HandEnded);

    explicit TPlayLogObserver(std::ostream& out) : FLog(out) {}
    void GameStarted(const TSpadesGame& game, int) override { FLog.LogGameStart(game.FRules); }
    void PlayBegins(const TSpadesGame& game) override { FLog.LogHandStart(game.Table); }
    void TrickFull(const TSpadesGame& game) override { FLog.LogTrick(game.Table); }
    void HandEnded(const TSpadesGame& game) override { FLog.LogHandEnd(game.Table); }

private:
    TPlayLog FLog;
};

}  // namespace spades
