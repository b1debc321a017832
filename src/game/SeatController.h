// Who answers for a seat. The hand cycle asks a seat's controller for a bid or a
// card for one turn; the controller answers through TSeatAnswers at once (the
// computer) or later (a worker thread, a dialog, a message from another
// machine). An answer for a turn that is over is refused and changes nothing, so
// a controller may be cancelled or simply outlived by its question.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "Expert.h"
#include "GameObserver.h"
#include "SeatKind.h"

namespace spades {

class TSpadesGame;
class TPlayer;
class TDoubleDummy;

enum class TRefusalKind : uint8_t {
    None,
    TooLate,            // the turn is over, or belongs to a game given up
    NotYourTurnToBid,
    NotYourTurnToPlay,
    BidOutOfRange,
    CardNotHeld,
    MustFollowSuit,
    SpadesNotOpened,
    CannotClaim,        // the others could still take a trick
    BidNotAllowed,      // a bid in range that the game's rules do not allow now
};

struct TRefusal {
    TRefusalKind Kind = TRefusalKind::None;
    explicit operator bool() const { return Kind != TRefusalKind::None; }
    // The turn is not this one's to answer; any other refusal is about the answer itself.
    bool Stale() const
    {
        return Kind == TRefusalKind::TooLate || Kind == TRefusalKind::NotYourTurnToBid ||
               Kind == TRefusalKind::NotYourTurnToPlay;
    }
    // The table's own words for a person ("You must follow suit").
    std::string_view Text() const;
};
TRefusal RefusalOf(TPlayVerdict verdict);

class TSeatAnswers {
public:
    virtual TRefusal AnswerBid(int seat, uint32_t turn, int bid) = 0;
    virtual TRefusal AnswerCard(int seat, uint32_t turn, int card) = 0;
    // The card in that slot (1..13) of the seat's hand: for whoever picks a slot,
    // as the classic strategy and a click on a card control do.
    virtual TRefusal AnswerSlot(int seat, uint32_t turn, int slot) = 0;
    // Instead of a card: the rest of the tricks, when the solver shows they are
    // the seat's whatever the others do.
    virtual TRefusal AnswerClaim(int seat, uint32_t turn, TDoubleDummy& solver) = 0;

protected:
    ~TSeatAnswers() = default;
};

class TSeatController {
public:
    virtual ~TSeatController() = default;
    virtual TSeatKind Kind() const = 0;
    // The seat's bid or card for wait.Turn (wait.Kind says which), now or later.
    // The game is there to read; the classic strategy also works on its seat.
    virtual void Ask(TSpadesGame& game, const TWait& wait, TSeatAnswers& answers) = 0;
    // Whatever is still being worked out for this turn is no longer wanted.
    virtual void Cancel(uint32_t /*turn*/) {}
};

// The classic strategy: the seat's own ComputeBid and ChooseCard under the
// table's rules (ClassicRules.h), answered at once.
class TClassicController final : public TSeatController {
public:
    TSeatKind Kind() const override { return TSeatKind::Computer; }
    void Ask(TSpadesGame& game, const TWait& wait, TSeatAnswers& answers) override;
};

// The Expert over what its seat may see, answered at once. An answer the table
// refuses loses the choice to the classic strategy.
class TExpertController final : public TSeatController {
public:
    explicit TExpertController(const TExpertSettings& settings = {}) : FExpert(settings) {}
    void SetSettings(const TExpertSettings& settings) { FExpert.SetSettings(settings); }
    TSeatKind Kind() const override { return TSeatKind::Expert; }
    void Ask(TSpadesGame& game, const TWait& wait, TSeatAnswers& answers) override;

private:
    TExpertPlayer FExpert;
    TClassicController FClassic;
};

// A hand played again from its record: the recorded bids, and the recorded cards
// in order of play. A card the seat does not hold leaves it to its own choice.
// One record serves every seat it replays.
class TScriptedController final : public TSeatController {
public:
    TScriptedController(const std::array<int, 5>& bids, std::vector<int> plays)
        : FBids(bids), FPlays(std::move(plays))
    {
    }
    TSeatKind Kind() const override { return TSeatKind::Computer; }
    void Ask(TSpadesGame& game, const TWait& wait, TSeatAnswers& answers) override;

private:
    std::array<int, 5> FBids;  // by seat, 0 is Nil
    std::vector<int> FPlays;
    size_t FNext = 0;
    TClassicController FClassic;
};

// The four seats' controllers; owned by whoever drives the game.
class TSeatControllers {
public:
    void Set(int seat, TSeatController& controller) { FSeats[static_cast<size_t>(seat)] = &controller; }
    // A seat given no controller plays the classic strategy.
    TSeatController& At(int seat) const
    {
        TSeatController* controller = FSeats[static_cast<size_t>(seat)];
        return controller ? *controller : FClassic;
    }
    std::array<TSeatKind, 5> Kinds() const;
    // Hands a question of the cycle to its seat's controller; false for any other wait.
    bool Ask(TSpadesGame& game, const TWait& wait, TSeatAnswers& answers) const
    {
        if (wait.Kind != TWaitKind::Bid && wait.Kind != TWaitKind::Card)
            return false;
        At(wait.Seat).Ask(game, wait, answers);
        return true;
    }
    // The question is void: its controller drops whatever it still works on.
    void Cancel(const TWait& wait) const;

private:
    std::array<TSeatController*, 5> FSeats{};
    mutable TClassicController FClassic;
};

}  // namespace spades
