// One hand cycle for every table: New Game, the deal, the bidding round, the
// turns, each trick, the scoring, and the next hand or the winner. It never asks
// anyone itself: it says what it waits for (a seat's bid or card for a turn
// number, a pause, the end of a hand or of the game) and takes answers for that
// turn, refusing the rest. Its driver paces it: the simulator answers at once,
// the host from its connections, the window between its pauses and dialogs.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "DealSource.h"
#include "DoubleDummy.h"
#include "GameObserver.h"
#include "RuleSet.h"
#include "SeatController.h"
#include "SpadesGame.h"

namespace spades {

class THandCycle final : public TSeatAnswers {
public:
    explicit THandCycle(TSpadesGame& game, const TRuleSet& rules = {});
    THandCycle(const THandCycle&) = delete;
    THandCycle& operator=(const THandCycle&) = delete;

    // Observers hear the events they ask for in the order they were added.
    // Nobody is called for an event no one asked for: the simulator's turns stay cheap.
    void Watch(TGameObserver& observer, TGameEvents events = AllGameEvents);
    // The deck of every hand is ordered by source; null: the game's own shuffle.
    void SetDealSource(TDealSource* source) { FDealSource = source; }
    // With pauses on, the cycle stops after every card and twice after a trick.
    void SetPauses(bool pauses) { FPauses = pauses; }

    // A new game: every seat reset to its kind, South first. Whatever was asked
    // before is over; its answers are refused.
    void NewGame(int gameNumber, const std::array<TSeatKind, 5>& kinds);
    // Runs every step that needs nobody, up to what the game waits for next.
    // Asked again before an answer, it gives the same wait.
    const TWait& Advance();
    const TWait& Waiting() const { return FWait; }
    // Advance, handing every bid and card asked for to its seat's controller, for
    // as long as they answer at once: stops at a pause, the end of a hand or of
    // the game, or a question whose answer comes later.
    const TWait& Play(const TSeatControllers& seats);

    TRefusal AnswerBid(int seat, uint32_t turn, int bid) override;
    TRefusal AnswerCard(int seat, uint32_t turn, int card) override;
    TRefusal AnswerSlot(int seat, uint32_t turn, int slot) override;
    // The seat whose card is asked for takes every trick left: the rest of the
    // hand is played out at once in the solver's order, every card heard as
    // played. Refused, changing nothing, when the others could still take one.
    TRefusal AnswerClaim(int seat, uint32_t turn, TDoubleDummy& solver) override;
    // A claim whose line was worked out before, for the position at that turn.
    TRefusal AnswerClaim(int seat, uint32_t turn, const std::vector<TPlayRecord>& line);
    // Ends the pause of that turn; false, changing nothing, for any other turn.
    bool Resume(uint32_t turn);
    // After the end of a hand: the next one is dealt.
    void NextHand();
    // The game ends here without a winner.
    void GiveUp();

    // From now on hands are scored towards this total (the game's too).
    void SetWinScore(int score);
    // The rules of the games begun from now on; the game in progress keeps its own.
    void SetNextRules(const TRuleSet& rules) { FNextRules = rules; }
    const TRuleSet& NextRules() const { return FNextRules; }
    // A new game taken up from a record: the seats' names, scores and bags, who
    // bids first, and the first hand's deal (none: shuffled).
    struct TStartPoint {
        std::array<std::string, 5> Names;
        std::array<int, 5> Scores{}, TotalBags{};
        int FirstSeat = South;
        std::optional<std::array<uint8_t, 53>> Deal;
        // The rules the record was played by; none: the next game's.
        std::optional<TRuleSet> Rules;
    };
    void NewGameFrom(int gameNumber, const std::array<TSeatKind, 5>& kinds, const TStartPoint& start);
    // Where the game has been put back to from outside (a step taken back, a game
    // gone back to), for the cycle to go on from there. Whatever was asked before
    // is over; its answers are refused.
    enum class TTakeUp : uint8_t { Bidding, Playing, TrickFull, TrickWon, TrickCleared, HandOver, GameOver };
    // seat: who laid the last card (TrickFull), the trick's winner (TrickWon,
    // TrickCleared), the game's winner (GameOver).
    // Advance goes on from there.
    void TakeUp(TTakeUp at, int seat = 0);

    TSpadesGame& Game() { return FGame; }
    const TSpadesGame& Game() const { return FGame; }
    // The rules of the game in progress.
    const TRuleSet& Rules() const { return FGame.FRules; }
    int GameNumber() const { return FGameNumber; }
    int HandNumber() const { return FHandNumber; }
    int WinnerSeat() const { return FWinner; }
    // Seats that have bid in this hand (the seats before the next bidder).
    bool HasBid(int seat) const { return FBidDone[static_cast<size_t>(seat)]; }
    // Dealt and not yet scored.
    bool HandInPlay() const;

private:
    enum class TPhase : uint8_t {
        Idle, Deal, Bidding, Playing, TrickFull, TrickShown, TrickGone, HandDone, BetweenHands, Over
    };

    void Begin(int gameNumber, const std::array<TSeatKind, 5>& kinds, const TRuleSet& rules);
    void Step();
    void Hold(TWaitKind kind, int seat, TPauseKind pause = TPauseKind::Card);
    void Ask(int seat, TWaitKind kind);
    TRefusal Expected(int seat, uint32_t turn, TWaitKind kind) const;
    void FinishHand();
    template <typename TEvent>
    void Tell(TGameEvent which, TEvent event)
    {
        for (TGameObserver* observer : FObservers[static_cast<size_t>(which)])
            event(*observer);
    }

    TSpadesGame& FGame;
    TRuleSet FNextRules;
    TDealSource* FDealSource = nullptr;
    std::array<std::vector<TGameObserver*>, static_cast<size_t>(TGameEvent::Count)> FObservers;
    bool FPauses = false;
    TPhase FPhase = TPhase::Idle;
    TWait FWait;
    bool FPending = false;
    uint32_t FNextTurn = 1;
    int FBidIndex = 1;
    int FTrickWinner = 0;
    int FGameNumber = 0;
    int FHandNumber = 0;
    int FWinner = 0;
    std::array<bool, 5> FBidDone{};
};

}  // namespace spades
