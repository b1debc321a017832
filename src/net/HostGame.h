// The hosted game: the one hand cycle of the table and the simulator, driven
// step by step. Computer seats answer at once; a seat played from another
// machine answers through its connection (or its computer, when the host says
// so). The game's events become the messages the tables are sent, each built
// from what its receiver may see, the play log and the running account.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "DealSource.h"
#include "HandCycle.h"
#include "HostWire.h"
#include "NetMessage.h"
#include "NullHost.h"
#include "PlayLogObserver.h"
#include "RemoteSeat.h"
#include "SeatController.h"
#include "SpadesGame.h"

namespace spades::net {

struct THostGameOptions {
    uint32_t Seed = 1;
    TRuleSet Rules;  // of every game, the score to win among them
    // Who plays each seat, North first: the classic computer, the Expert, or a
    // player from another machine (the classic computer while none answers).
    std::array<TSeatKind, 4> Kinds{TSeatKind::Computer, TSeatKind::Computer, TSeatKind::Computer,
                                   TSeatKind::Computer};
    TExpertSettings Expert;
    std::array<std::string, 4> Names{"North", "East", "South", "West"};
    bool PauseAfterCards = false;         // Step stops with Pause after a card, TrickPause after a trick
    uint32_t TurnTimeoutMs = 0;           // told to the players with each turn
    std::shared_ptr<TShuffledDeals> Deals;  // none: the table's own generator, from Seed
};

// TrickPause: the trick's winner is shown, then the table is cleared: two pauses.
enum class TStep { WaitRemote, Pause, TrickPause, HandEnded, GameEnded };

class THostGame final : private TGameObserver {
public:
    THostGame(THostWire& wire, THostGameOptions options, std::ostream* log = nullptr);
    THostGame(const THostGame&) = delete;
    THostGame& operator=(const THostGame&) = delete;

    // Follows the game after the host's own messages, log and account.
    void Watch(TGameObserver& observer, TGameEvents events = AllGameEvents) { FCycle.Watch(observer, events); }

    void NewGame(int gameNumber);
    // Runs until a remote player must answer, a pause, or the end of a hand or game.
    TStep Step();

    using TWait = TRemoteTurns::TQuestion;
    // The pending remote turn, if the game waits for one.
    const std::optional<TWait>& Waiting() const { return FRemote.Waiting(); }

    // A remote player's answer; an error to send back when it is refused.
    std::optional<TErrorMsg> Bid(int seat, uint32_t turn, int bid);
    std::optional<TErrorMsg> Play(int seat, uint32_t turn, int card);
    // The pending turn goes to the computer (time is up, or the player left).
    void PlayAbsent();

    // All a (re)joining player at seat may know of the hand in progress.
    TSyncMsg SyncFor(int seat) const;
    // The hand's first seat and its cards laid so far, in order (none between hands).
    THistoryMsg History() const;
    void SetSeatName(int seat, const std::string& name);
    // The seat is no longer open to players from elsewhere: the computer plays it
    // and the game sees it as the computer's (a pending turn is still the host's to give).
    void GiveSeatToComputer(int seat);

    const TSpadesGame& Game() const { return FGame; }
    const TRuleSet& Rules() const { return FCycle.Rules(); }
    int HandNumber() const { return FCycle.HandNumber(); }
    int WinnerSeat() const { return FCycle.WinnerSeat(); }

private:
    TPhase Phase() const;

    void HandDealt(const TSpadesGame& game, int handNumber) override;
    void BidMade(const TSpadesGame& game, int seat) override;
    void CardPlayed(const TSpadesGame& game, int seat, int card, int place) override;
    void TrickWon(const TSpadesGame& game, int winner) override;
    void HandScored(const TSpadesGame& game, const TScoreResult& result) override;
    void GameOver(const TSpadesGame& game, int winnerSeat) override;

    THostWire& FWire;
    THostGameOptions FOptions;
    TNullHost FHost;
    TSpadesGame FGame;
    THandCycle FCycle;
    std::optional<TPlayLogObserver> FLog;
    TRemoteTurns FRemote;
    TClassicController FClassic;
    std::array<std::unique_ptr<TSeatController>, 5> FOwn;  // Expert and remote seats
    TSeatControllers FSeats;
    std::array<TSeatKind, 5> FKinds{};
};

}  // namespace spades::net
