#include "ScoreSheet.h"

#include "Rules.h"

namespace spades {

void TScoreSheet::AddHand(const TSeatValues& bids, const TSeatValues& tricks, const TSeatValues& bags,
                          const TSeatValues& scores)
{
    TSheetHand hand;
    hand.Number = static_cast<int>(FHands.size()) + 1;
    for (size_t s = 0; s < 4; ++s) {
        const TSheetEntry* before = FHands.empty() ? nullptr : &FHands.back().Seats[s];
        TSheetEntry& entry = hand.Seats[s];
        entry.Bid = bids[s];
        entry.Tricks = tricks[s];
        entry.Points = ContractPoints(bids[s], tricks[s]);
        entry.Bags = bags[s];
        entry.GameBags = (before ? before->GameBags : 0) + bags[s];
        entry.Score = scores[s];
        entry.Penalty = scores[s] - (before ? before->Score : 0) - entry.Points;
    }
    FHands.push_back(hand);
}

void TScoreSheet::AddHand(const TTableState& table)
{
    TSeatValues bids{}, tricks{}, bags{}, scores{};
    for (int seat = North; seat <= West; ++seat) {
        const TPlayer& player = table.Player(seat);
        const size_t s = static_cast<size_t>(seat - 1);
        bids[s] = player.FBid;
        tricks[s] = player.FTricks;
        bags[s] = player.FBags;
        scores[s] = player.FScore;
    }
    AddHand(bids, tricks, bags, scores);
}

}  // namespace spades
