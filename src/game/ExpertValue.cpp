#include "ExpertValue.h"

#include <algorithm>
#include <cmath>

#include "Rules.h"

namespace spades {

namespace {
size_t At(int index) { return static_cast<size_t>(index); }
// A seat past the bag limit pays again every later hand; that is worth about
// two more penalties before the game ends.
constexpr int LingeringBagCost = 2 * BagPenalty;
// Where every ten bags cost a penalty, each bag kept is a tenth of one, about
// half of which falls due before the game ends.
constexpr double KeptBagCost = BagPenalty / 20.0;

// The softmax share of contestant mine among count new scores.
double Share(const std::array<double, 5>& score, int first, int last, int mine, int winScore)
{
    double top = -1e9;
    for (int s = first; s <= last; ++s)
        top = std::max(top, score[At(s)]);
    const double spread = 50.0 + 0.7 * std::max(0.0, winScore - top);
    double sum = 0;
    for (int s = first; s <= last; ++s)
        sum += std::exp((score[At(s)] - top) / spread);
    return std::exp((score[At(mine)] - top) / spread) / sum;
}
}  // namespace

int HandPoints(int bid, int tricks, int totalBags)
{
    const TRuleSet own;
    const int bags = bid > 0 && tricks > bid ? tricks - bid : 0;
    int total = totalBags + bags;
    return own.SeatPoints(bid, tricks, false) - BagPenalty * own.ChargeBags(total);
}

double GameValue(const TExpertView& view, const std::array<int, 5>& bids, const std::array<int, 5>& tricks,
                 int seat)
{
    std::array<double, 5> score{};
    int winner = 0;
    int best = 0;
    for (int s = North; s <= West; ++s) {
        const int bid = bids[At(s)];
        const int taken = tricks[At(s)];
        const int total = view.Score[At(s)] + HandPoints(bid, taken, view.TotalBags[At(s)]);
        // Same test as the scoring: the strictly highest at or above the score to win.
        if (total >= view.WinScore && total > best) {
            best = total;
            winner = s;
        }
        const int bags = bid > 0 && taken > bid ? taken - bid : 0;
        score[At(s)] = total - (view.TotalBags[At(s)] + bags >= BagLimit ? LingeringBagCost : 0);
    }
    if (winner != 0)
        return winner == seat ? 1.0 : 0.0;
    return Share(score, North, West, seat, view.WinScore);
}

double PointsLead(const TExpertView& view, const std::array<int, 5>& bids, const std::array<int, 5>& tricks,
                  int seat)
{
    double others = 0;
    int own = 0;
    for (int s = North; s <= West; ++s) {
        const int points = HandPoints(bids[At(s)], tricks[At(s)], view.TotalBags[At(s)]);
        if (s == seat)
            own = points;
        else
            others += points;
    }
    return (own - others / 3) / 100.0;
}

THandScorer::THandScorer()
{
    for (int seat = North; seat <= West; ++seat) {
        FTable.Players[At(seat)] = std::make_unique<TPlayer>(FHost, FTable);
        FTable.Player(seat).SetSeat(seat);
    }
}

double THandScorer::Value(const TExpertView& view, const std::array<int, 5>& bids, const std::array<int, 5>& tricks,
                          double pointsWeight, bool ownBlind)
{
    const TRuleSet rules = view.GameRules();
    for (int seat = North; seat <= West; ++seat) {
        TPlayer& player = FTable.Player(seat);
        player.FBid = bids[At(seat)];
        player.FTricks = tricks[At(seat)];
        player.FBags = player.FBid > 0 && player.FTricks > player.FBid ? player.FTricks - player.FBid : 0;
        player.FScore = view.Score[At(seat)];
        player.FTotalBags = view.TotalBags[At(seat)];
        FTable.BlindNil[At(seat)] = view.BlindNil[At(seat)] || (seat == view.Seat && ownBlind);
    }
    const int winner = rules.Score(FTable).WinnerSeat;
    // Contestants: the four seats, or the two sides at their first seats.
    const bool sides = rules.Partnership();
    const int last = sides ? East : West;
    const int mine = sides ? SideOf(view.Seat) : view.Seat;
    double game = 0;
    if (winner != 0) {
        game = winner == mine ? 1.0 : 0.0;
    } else {
        std::array<double, 5> score{};
        for (int c = North; c <= last; ++c) {
            const TPlayer& player = FTable.Player(c);
            double cost = 0;
            if (rules.Bags == TBagRule::TableLimit && player.FTotalBags >= BagLimit)
                cost = LingeringBagCost;
            else if (rules.Bags == TBagRule::TenBags)
                cost = KeptBagCost * player.FTotalBags;
            score[At(c)] = player.FScore - cost;
        }
        game = Share(score, North, last, mine, rules.WinScore);
    }
    double others = 0;
    int own = 0;
    for (int c = North; c <= last; ++c) {
        const int points = FTable.Player(c).FScore - view.Score[At(c)];
        if (c == mine)
            own = points;
        else
            others += points;
    }
    return game + pointsWeight * (own - others / (last - 1)) / 100.0;
}

}  // namespace spades
