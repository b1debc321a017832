// What a joined table remembers of the hand beyond the table as it stands: the
// order of bidding, every card laid and by whom, and how the host's Expert reads
// each seat. From it and the table's copy comes the view an Expert plays from.
#pragma once

#include <array>
#include <cstdint>

#include "ExpertView.h"
#include "NetMessage.h"
#include "Rules.h"

namespace spades::net {

class TPlayHistory {
public:
    // A new hand: bidding and the first lead start at firstSeat.
    void NewHand(int firstSeat);
    void Laid(int seat, int card);
    // The history is not known (a table joined in the middle of a hand).
    void Forget();
    // The host's account of the hand so far.
    void Restore(const THistoryMsg& m);
    void SetKinds(const TSeatKindsMsg& m);

    bool Whole() const { return FWhole; }
    const TTurnOrder& Order() const { return FOrder; }
    int PlayCount() const { return FPlayCount; }
    const TPlayRecord& Play(int i) const { return FPlays[static_cast<size_t>(i)]; }
    TSeatKind Kind(int seat) const { return FKinds[static_cast<size_t>(seat)]; }

    // Fills the parts of view the history knows: kinds, order and plays.
    void Fill(TExpertView& view) const;

private:
    TTurnOrder FOrder = NewGameOrder;
    std::array<TPlayRecord, 52> FPlays{};
    int FPlayCount = 0;
    bool FWhole = false;
    // Until the host says otherwise every seat may be a person.
    std::array<TSeatKind, 5> FKinds{TSeatKind::Human, TSeatKind::Human, TSeatKind::Human, TSeatKind::Human,
                                    TSeatKind::Human};
};

// Does the view hang together as a hand of Spades: every card once, the plays in
// turn order trick by trick, the tricks counted as the plays say and every seat
// holding what it should? A host that says otherwise is not trusted with the Expert.
bool Coherent(const TExpertView& view);

}  // namespace spades::net
