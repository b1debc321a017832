#include "RuleSet.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace spades {

int PointsBehind(const TTableState& table, int seat, bool partnership)
{
    int best = std::numeric_limits<int>::min();
    for (int other = North; other <= West; ++other)
        if (other != seat && !(partnership && other == PartnerOf(seat)))
            best = std::max(best, table.Player(other).FScore);
    return best - table.Player(seat).FScore;
}

int NearestAllowedBid(unsigned allowed, int wanted)
{
    int best = -1;
    for (int bid = 0; bid <= 13; ++bid)
        if ((allowed & (1u << bid)) && (best == -1 || std::abs(bid - wanted) < std::abs(best - wanted)))
            best = bid;
    return best == -1 ? wanted : best;
}

unsigned AllowedBids(const TTableRules& rules, const TTableState& table, int seat, bool partnerHasBid)
{
    constexpr unsigned nil = 1u, any = (1u << 14) - 1;
    const int spades = table.Player(seat).FSuitCount[Spades];
    unsigned bids = any;
    switch (rules.Bidding) {
    case TBidding::Normal:
        break;
    case TBidding::Mirror:
        bids = 1u << spades;
        break;
    case TBidding::Whiz:
        bids = nil | 1u << spades;
        break;
    case TBidding::Suicide:
        if (rules.Partnership() && partnerHasBid)
            bids = table.Player(PartnerOf(seat)).FBid == 0 ? any & ~nil : nil;
        break;
    }
    if ((bids & nil) && rules.BlindNil == TBlindNil::WhenBehind &&
        PointsBehind(table, seat, rules.Partnership()) >= BlindNilBehind)
        bids |= BlindNilBit;
    return bids;
}

}  // namespace spades
