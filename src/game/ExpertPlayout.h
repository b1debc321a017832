// A private table on which the sampling player deals a guessed layout and plays
// it out with the classic computer's own choices: the fast core of its search,
// and the model of how a classic seat bids and plays.
#pragma once

#include <array>
#include <memory>

#include "ExpertView.h"
#include "PlayerU.h"
#include "QuietHost.h"

namespace spades {

// Each seat's cards, as sets.
using TLayout = std::array<TCardSet, 5>;

class TPlayoutTable {
public:
    TPlayoutTable();
    TPlayoutTable(const TPlayoutTable&) = delete;
    TPlayoutTable& operator=(const TPlayoutTable&) = delete;

    // Seats (bit per seat) whose playouts keep to the rules a person obeys; the
    // classic computer itself does not always.
    void SetLawfulSeats(uint8_t seats) { FLawful = seats; }
    // The lead, first-trick and partnership options the playouts keep to. At
    // any but the table's own, every seat plays as the classic computer does
    // under them (ClassicSlotUnderRules), held to the rules.
    void SetRules(const TTableRules& rules)
    {
        FTable.Rules = rules;
        FOwnRules = rules == TTableRules{};
    }

    // The classic bid for a dealt hand of thirteen cards.
    int ClassicBid(TCardSet hand);
    // The classic bid under the rules set, for the seat with that hand, the
    // scores of the view and the partner's bid when it has bid before: 0..13
    // or BlindNilBid.
    int ClassicBid(const TExpertView& view, int seat, TCardSet hand, int mateBid, bool mateHasBid);
    // The bids the viewing seat may make (AllowedBids), its own cards in hand.
    unsigned AllowedBids(const TExpertView& view, bool mateHasBid);
    // The cards the viewing seat may lay now, as the table checks them.
    TCardSet Lawful(const TExpertView& view, const TKnowledge& known);

    // Replays the hand's plays so far on the full layout dealt at its start;
    // counts, per seat, the plays a classic seat would not have made.
    std::array<int, 5> CountSurprises(const TExpertView& view, const TLayout& dealt,
                                      const std::array<int, 5>& bids, uint8_t classicSeats);

    // The position as it stands: held cards per seat, the bids and tricks, the
    // current trick from the view. Then play extra (a card of the seat to play,
    // or 0) and every card after it by the classic choice.
    // Returns the tricks each seat ends the hand with.
    std::array<int, 5> PlayOut(const TExpertView& view, const TKnowledge& known, const TLayout& held,
                               const std::array<int, 5>& bids, int extra);

    // The whole hand from the deal, every seat by the classic choice.
    std::array<int, 5> PlayHand(const TLayout& dealt, const std::array<int, 5>& bids, int leader);

private:
    void Reset(const TLayout& hands, const std::array<int, 5>& bids);
    void SetScores(const TExpertView& view);
    void Deal(int seat, TCardSet cards);
    int ClassicChoice(int seat);
    std::array<int, 5> Tricks() const;
    void Lay(int seat, int card);
    int SlotOf(int seat, int card) const;
    // Four cards down: the trick is counted, the table cleared; returns the winner.
    int FinishTrick();
    std::array<int, 5> PlayRest(int next);

    TQuietHost FHost;
    TTableState FTable;
    int FPlaced = 0;  // cards on the table in the current trick
    uint8_t FLawful = 0;
    bool FOwnRules = true;
};

}  // namespace spades
