// Scoring a hand by a rule set: each seat alone, or each side's bids together,
// then the bags, then whether the game is over.
#include "RuleSet.h"

#include <array>

namespace spades {

std::string SideName(int side) { return side == 1 ? "North-South" : "East-West"; }

TSideTally SideTally(const TTableState& table, int side)
{
    TSideTally tally;
    for (const int seat : {side, PartnerOf(side)}) {
        tally.Bid += table.Player(seat).FBid;
        tally.Tricks += table.Player(seat).FTricks;
    }
    tally.Bags = tally.Bid == 0 ? tally.Tricks : tally.Tricks >= tally.Bid ? tally.Tricks - tally.Bid : 0;
    return tally;
}

int TRuleSet::SeatPoints(int bid, int tricks, bool blind) const
{
    if (bid != 0)
        return ContractPoints(bid, tricks);
    const int worth = blind ? BlindNilPoints : NilPoints();
    return tricks == 0 ? worth : -worth;
}

int TRuleSet::ChargeBags(int& totalBags) const
{
    switch (Bags) {
    case TBagRule::TableLimit:
        // The total is not reduced: every later hand is charged again.
        return totalBags >= BagLimit ? 1 : 0;
    case TBagRule::TenBags: {
        const int penalties = totalBags / 10;
        totalBags -= 10 * penalties;
        return penalties;
    }
    case TBagRule::None:
        break;
    }
    return 0;
}

namespace {
struct TContestant {
    int Seat = 0;  // the seat, or a side's first seat
    int Score = 0;
    std::string Name;
};

// The highest score at or above the score to win; on equal scores the earlier.
// Failing that, once someone is down to the losing score, the highest score wins.
void FindWinner(const TRuleSet& rules, const std::array<TContestant, 4>& all, int count, TScoreResult& result)
{
    const auto pick = [&](auto qualifies) {
        const TContestant* best = nullptr;
        for (int i = 0; i < count; ++i) {
            const TContestant& c = all[static_cast<size_t>(i)];
            if (qualifies(c) && (!best || c.Score > best->Score))
                best = &c;
        }
        return best;
    };
    const TContestant* winner = pick([&](const TContestant& c) { return c.Score >= rules.WinScore && c.Score > 0; });
    if (!winner && rules.Lose == TLoseScore::Minus200 &&
        pick([](const TContestant& c) { return c.Score <= TRuleSet::LoseScore; }))
        winner = pick([](const TContestant&) { return true; });
    if (winner) {
        result.WinnerSeat = winner->Seat;
        result.WinnerName = winner->Name;
    }
}
}  // namespace

TScoreResult TRuleSet::Score(TTableState& table) const
{
    TScoreResult result;
    std::array<TContestant, 4> contestants;
    int count = 0;
    const auto charge = [&](int& score, int& totalBags, const std::string& name) {
        for (int n = ChargeBags(totalBags); n > 0; --n) {
            result.Notices.push_back(BagLimitNotice(name));
            score -= BagPenalty;
        }
    };
    if (!Partnership()) {
        for (int seat = North; seat <= West; ++seat) {
            TPlayer& player = table.Player(seat);
            player.FScore += SeatPoints(player.FBid, player.FTricks, table.BlindNil[static_cast<size_t>(seat)]);
            player.FTotalBags += player.FBags;
            charge(player.FScore, player.FTotalBags, player.FName);
            contestants[static_cast<size_t>(count++)] = {seat, player.FScore, player.FName};
        }
    } else {
        for (int side = 1; side <= 2; ++side) {
            TPlayer& first = table.Player(side);
            TPlayer& second = table.Player(PartnerOf(side));
            int points = 0;
            for (const TPlayer* p : {&first, &second})
                if (p->FBid == 0)
                    points += SeatPoints(0, p->FTricks, table.BlindNil[static_cast<size_t>(p->FSeat)]);
            const auto [bid, tricks, bags] = SideTally(table, side);
            points += bid == 0 ? bags : ContractPoints(bid, tricks);
            int score = first.FScore + points;
            int totalBags = first.FTotalBags + bags;
            const std::string name = SideName(side);
            charge(score, totalBags, name);
            for (TPlayer* p : {&first, &second}) {
                p->FScore = score;
                p->FTotalBags = totalBags;
            }
            contestants[static_cast<size_t>(count++)] = {side, score, name};
        }
    }
    FindWinner(*this, contestants, count, result);
    return result;
}

}  // namespace spades
