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
}  // namespace

int HandPoints(int bid, int tricks, int totalBags)
{
    int points = 0;
    int bags = 0;
    if (bid == 0) {
        points = tricks == 0 ? 100 : -100;
    } else if (tricks < bid) {
        points = -10 * bid;
    } else {
        bags = tricks - bid;
        points = 10 * bid + bags;
    }
    if (totalBags + bags >= BagLimit)
        points -= BagPenalty;
    return points;
}

double GameValue(const TExpertView& view, const std::array<int, 5>& bids, const std::array<int, 5>& tricks,
                 int seat)
{
    std::array<double, 5> score{};
    int winner = 0;
    int best = 0;
    double top = -1e9;
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
        top = std::max(top, score[At(s)]);
    }
    if (winner != 0)
        return winner == seat ? 1.0 : 0.0;
    const double spread = 50.0 + 0.7 * std::max(0.0, view.WinScore - top);
    double sum = 0;
    for (int s = North; s <= West; ++s)
        sum += std::exp((score[At(s)] - top) / spread);
    return std::exp((score[At(seat)] - top) / spread) / sum;
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

}  // namespace spades
