// The Expert's bid under rules other than the table's own: only the bids the
// rules allow, valued by the side's score, no second Nil beside a partner's,
// and Blind Nil when it pays.
#include <algorithm>
#include <bit>

#include "Expert.h"

namespace spades {

namespace {
size_t At(int index) { return static_cast<size_t>(index); }
constexpr unsigned NilBit = 1u;

// The allowed bid nearest to the one wanted; the lower on a tie.
int NearestBid(unsigned allowed, int wanted)
{
    int best = -1;
    for (unsigned rest = allowed & EveryBid; rest; rest &= rest - 1) {
        const int bid = std::countr_zero(rest);
        if (best == -1 || std::abs(bid - wanted) < std::abs(best - wanted))
            best = bid;
    }
    return best == -1 ? wanted : best;
}
}  // namespace

int TExpertPlayer::ChooseBidUnderRules(const TExpertView& view, TExpertRandom& random)
{
    const int seat = view.Seat;
    const int mate = PartnerOf(seat);
    const bool mateHasBid = view.Rules.Partnership() && view.HasBid(mate);
    unsigned allowed = FTable.AllowedBids(view, mateHasBid);
    // A second Nil on a side leaves nobody to take its tricks.
    if (mateHasBid && view.Bid[At(mate)] == 0 && (allowed & EveryBid & ~NilBit))
        allowed &= ~(NilBit | BlindNilBit);
    const unsigned sighted = allowed & EveryBid;
    // Contracts differ little in how the hand is played: one playout for all.
    const int reference = std::clamp(FTable.ClassicBid(view.Held), 1, 13);

    const TKnowledge known = KnowledgeOf(view);
    const std::vector<TSample> samples = DrawSamples(view, known, random, FSettings.BidSamples);
    if (samples.empty())
        return NearestBid(sighted, reference);
    std::array<double, 14> value{};
    for (const TSample& sample : samples) {
        std::array<int, 5> bids = sample.Bids;
        if (sighted & ~NilBit) {
            bids[At(seat)] = reference;
            const auto tricks = FTable.PlayHand(sample.Held, bids, view.Order[1]);
            for (unsigned rest = sighted & ~NilBit; rest; rest &= rest - 1) {
                bids[At(seat)] = std::countr_zero(rest);
                value[At(bids[At(seat)])] += Value(view, bids, tricks);
            }
        }
        if (sighted & NilBit) {
            bids[At(seat)] = 0;
            value[0] += Value(view, bids, FTable.PlayHand(sample.Held, bids, view.Order[1]));
        }
    }
    int best = -1;
    for (unsigned rest = sighted; rest; rest &= rest - 1) {
        const int bid = std::countr_zero(rest);
        if (best == -1 || value[At(bid)] > value[At(best)])
            best = bid;
    }
    if ((allowed & BlindNilBit) && BlindNilPays(view, random, FSettings.BidSamples / 2))
        return BlindNilBid;
    return best;
}

bool TExpertPlayer::BlindNilPays(const TExpertView& view, TExpertRandom& random, int layouts)
{
    const int seat = view.Seat;
    const int mate = PartnerOf(seat);
    TDealNeeds needs;
    needs.Unseen = AllCards;
    for (int s = North; s <= West; ++s)
        needs.Count[At(s)] = 13;
    double blind = 0, sight = 0;
    for (int i = 0; i < layouts; ++i) {
        TLayout deal{};
        if (!DealUnseen(needs, random, deal))
            return false;
        std::array<int, 5> bids{};
        for (int s = North; s <= West; ++s)
            if (s != seat)
                bids[At(s)] = view.HasBid(s) ? view.Bid[At(s)] : std::max(1, FTable.ClassicBid(deal[At(s)]));
        // Bidding by sight is valued as the classic computer would bid the hand.
        int own = FTable.ClassicBid(view, seat, deal[At(seat)], bids[At(mate)], view.HasBid(mate));
        if (own == BlindNilBid)
            own = std::max(1, FTable.ClassicBid(deal[At(seat)]));
        bids[At(seat)] = own;
        sight += Value(view, bids, FTable.PlayHand(deal, bids, view.Order[1]));
        bids[At(seat)] = 0;
        blind += Value(view, bids, FTable.PlayHand(deal, bids, view.Order[1]), true);
    }
    return blind > sight;
}

}  // namespace spades
