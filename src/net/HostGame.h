// The hosted game: the very TSpadesGame of the table and the simulator, driven
// step by step. Computer seats play at once; at a remote player's turn the game
// waits for their message (or for the host to give the turn to the computer).
// Every message it sends is built from what its receiver may see.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "Brains.h"
#include "DealSource.h"
#include "NetMessage.h"
#include "NullHost.h"
#include "PlayLog.h"
#include "SpadesGame.h"

namespace spades::net {

// Where the game's messages go.
class THostOutput {
public:
    virtual ~THostOutput() = default;
    // To the player at seat, if one is connected.
    virtual void SendTo(int seat, const TMessage& message) = 0;
    virtual void Broadcast(const TMessage& message) = 0;
    // A player from another machine sits there now and answers for it.
    virtual bool RemoteAt(int seat) const = 0;
    // One line of the running account ("hand 1.1 scores ...").
    virtual void Report(const std::string&) {}
    // The steps of the game, for a record of it: a game begun (the seats named),
    // a hand dealt, a full trick still on the table, a hand scored.
    virtual void GameBegun() {}
    virtual void HandDealt() {}
    virtual void TrickFull() {}
    virtual void HandScored(int winnerSeat) { (void)winnerSeat; }
};

struct THostGameOptions {
    uint32_t Seed = 1;
    int WinScore = 250;
    std::array<TSeatBrain, 4> Brains;     // who plays each seat when no player answers
    std::array<bool, 4> Remote{};         // written "- Remote" in the log
    std::array<std::string, 4> Names{"North", "East", "South", "West"};
    bool PauseAfterCards = false;         // Step stops with Pause after a card, TrickPause after a trick
    uint32_t TurnTimeoutMs = 0;           // told to the players with each turn
    std::shared_ptr<TShuffledDeals> Deals;  // none: the table's own generator, from Seed
};

// TrickPause: the trick's winner is shown, then the table is cleared: two pauses.
enum class TStep { WaitRemote, Pause, TrickPause, HandEnded, GameEnded };

class THostGame {
public:
    THostGame(THostOutput& output, THostGameOptions options, std::ostream* log = nullptr);

    void NewGame(int gameNumber);
    // Runs until a remote player must answer, a pause, or the end of a hand or game.
    TStep Step();

    // The pending remote turn, if the game waits for one.
    struct TWait {
        int Seat = 0;
        TTurnKind Kind = TTurnKind::Bid;
        uint32_t Turn = 0;
    };
    const std::optional<TWait>& Waiting() const { return FWaiting; }

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

    const TSpadesGame& Game() const { return FGame; }
    int HandNumber() const { return FHandNumber; }
    int WinnerSeat() const { return FWinner; }

private:
    enum class TPhase { Idle, StartHand, Bidding, Playing, TrickFull, HandDone, Over };

    void BeginHand();
    void ComputerBid(int seat);
    void AfterBid(int seat);
    void ComputerCard(int seat);
    void AfterCard(int seat, int card, int place);
    void FinishTrick();
    TStep FinishHand();
    TStep Ask(int seat, TTurnKind kind);
    bool Expected(int seat, uint32_t turn, TTurnKind kind, std::optional<TErrorMsg>& error) const;
    TSeatBrain& BrainOf(int seat) { return FOptions.Brains[static_cast<size_t>(seat - 1)]; }

    THostOutput& FOut;
    THostGameOptions FOptions;
    TNullHost FHost;
    TSpadesGame FGame;
    std::ostream* FLogStream;
    TPlayLog FLog;
    TPhase FPhase = TPhase::Idle;
    int FBidIndex = 1;
    int FGameNumber = 0;
    int FHandNumber = 0;
    int FWinner = 0;
    uint32_t FNextTurn = 1;
    std::array<bool, 5> FBidDone{};
    std::optional<TWait> FWaiting;
};

}  // namespace spades::net
