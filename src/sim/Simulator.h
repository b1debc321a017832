// Plays whole games with four computer seats, through the same hand cycle as
// the table and the host, with no pauses and no screen.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "Claim.h"
#include "HandCycle.h"
#include "SeatController.h"
#include "PlayLogObserver.h"
#include "SpadesGame.h"

namespace spades {

// A table without a screen: every card control is a plain value holder, and
// messages are kept for whoever asks.
class THeadlessHost : public TCardHost {
public:
    THeadlessHost();
    TCardControl* FindCard(std::string_view name) override;
    TCardControl* CardAt(int seat, int slot) override;
    void ShowMessage(const std::string& text) override { Messages.push_back(text); }
    bool ShowsCards() const override { return FShowsCards; }
    // Tests lay the fans out to check the controls; the simulator does not.
    void SetShowsCards(bool shows) { FShowsCards = shows; }

    std::vector<std::string> Messages;

private:
    class TCard : public TCardControl {
    public:
        std::string Name() const override { return FName; }
        int Value() const override { return FValue; }
        void SetValue(int value) override { FValue = value; }
        void SetVisible(bool visible) override { FVisible = visible; }
        void MoveTo(int, int) override {}
        void BringToFront() override {}
        void ClearClickHandler() override {}
        void LayOut(const TCardRect&, int value) override
        {
            FValue = value;
            FVisible = true;
        }
        std::string FName;
        int FValue = FirstBackValue;
        bool FVisible = false;
    };
    std::array<TCard, 5 * 14> FCards;
    bool FShowsCards = false;
};

struct TSimStats {
    long long Games = 0;
    long long Hands = 0;
    long long Bids = 0;          // contracts of one trick or more
    long long BidsMade = 0;
    long long BidsExact = 0;
    long long NilBids = 0;
    long long NilsMade = 0;
    long long BagPenalties = 0;
    long long UnfinishedGames = 0;
    std::array<long long, 5> Wins{};    // by seat; a side's wins at its first seat
    std::array<long long, 5> Points{};  // points each seat scored, over all hands
    double Seconds = 0;
    std::vector<double> ExpertMilliseconds;  // one entry per Expert decision
};

// Plays games through the hand cycle, every seat's answer given at once.
class TSimulator final : private TGameObserver {
public:
    // out receives the result lines; log, when given, the play log of every hand.
    TSimulator(uint32_t seed, int winScore, std::ostream& out, std::ostream* log = nullptr);
    TSimulator(uint32_t seed, const TRuleSet& rules, std::ostream& out, std::ostream* log = nullptr);

    // One game from New Game to its winner; returns the number of hands played.
    int PlayGame(int gameNumber);
    // games games in a row, then the summary line.
    void Run(int games);
    void WriteSummary();

    // Watches every game after the simulator's own lines and log.
    void AddObserver(TGameObserver* observer);
    // A game that has not ended after this many hands is given up.
    void SetHandLimit(int limit) { FHandLimit = limit; }
    // A seat to play that takes every trick left whatever the others do claims
    // them, looked for once this many tricks or fewer are left (0: never).
    void SetClaims(int tricksLeft);
    // Who plays each seat (indexes 1..4), Computer or Expert; all classic unless set.
    void SetSeats(const std::array<TSeatKind, 5>& seats);
    void SetExpertSettings(const TExpertSettings& settings) { FExpert.SetSettings(settings); }
    // The seat types, points per hand and Expert decision times.
    void WriteSeatSummary();

    const TSpadesGame& Game() const { return FGame; }
    const TSimStats& Stats() const { return FStats; }

private:
    // Times the decisions of the controller it wraps.
    class TTimedController final : public TSeatController {
    public:
        TTimedController(TSeatController& inner, std::vector<double>& milliseconds)
            : FInner(inner), FMilliseconds(milliseconds)
        {
        }
        TSeatKind Kind() const override { return FInner.Kind(); }
        void Ask(TSpadesGame& game, const TWait& wait, TSeatAnswers& answers) override;

    private:
        TSeatController& FInner;
        std::vector<double>& FMilliseconds;
    };

    void SeatControllers();
    void HandEnded(const TSpadesGame& game) override;
    void HandScored(const TSpadesGame& game, const TScoreResult& result) override;
    void GameOver(const TSpadesGame& game, int winnerSeat) override;
    void CountBids();
    bool IsExpert(int seat) const { return FKinds[static_cast<size_t>(seat)] == TSeatKind::Expert; }

    THeadlessHost FHost;
    TSpadesGame FGame;
    THandCycle FCycle;
    std::ostream& FOut;
    std::optional<TPlayLogObserver> FLog;
    TSimStats FStats;
    int FHandLimit = 100000;
    int FClaimFrom = 0;
    std::unique_ptr<TDoubleDummy> FSolver;
    std::vector<std::unique_ptr<TClaimingController>> FClaimers;
    std::array<TSeatKind, 5> FKinds{TSeatKind::Computer, TSeatKind::Computer, TSeatKind::Computer,
                                    TSeatKind::Computer, TSeatKind::Computer};
    std::array<int, 5> FScoresBefore{};
    TClassicController FClassic;
    TExpertController FExpert;
    TTimedController FTimedExpert{FExpert, FStats.ExpertMilliseconds};
    TSeatControllers FSeats;
};

}  // namespace spades
