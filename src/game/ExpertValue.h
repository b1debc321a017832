// What the end of a hand is worth to a seat in game terms: the hand's points
// under the scoring rules, the bag penalty, and the race to the score that wins.
#pragma once

#include <array>

#include "ExpertView.h"
#include "QuietHost.h"

namespace spades {

// The points a seat scores for the hand at the table's own rules, the bag
// penalty included.
int HandPoints(int bid, int tricks, int totalBags);

// The seat's chance to win the game once the hand is scored at the table's own
// rules: 1 or 0 when the hand ends the game, else its share of a softmax over
// the new scores, the softer the farther the leader is from the score to win.
double GameValue(const TExpertView& view, const std::array<int, 5>& bids, const std::array<int, 5>& tricks,
                 int seat);

// The seat's points for the hand less the mean of the other seats' points, in
// hundreds: the margin the seat gains on the table this hand.
double PointsLead(const TExpertView& view, const std::array<int, 5>& bids, const std::array<int, 5>& tricks,
                  int seat);

// The same two measures under any rule set, for the viewing seat's side: the
// hand is scored by TRuleSet::Score on a table of its own.
class THandScorer {
public:
    THandScorer();
    THandScorer(const THandScorer&) = delete;
    THandScorer& operator=(const THandScorer&) = delete;

    // The chance to win plus pointsWeight times the lead over the others (a
    // side against the other side). ownBlind: the viewing seat's Nil is blind.
    double Value(const TExpertView& view, const std::array<int, 5>& bids, const std::array<int, 5>& tricks,
                 double pointsWeight, bool ownBlind = false);

private:
    TQuietHost FHost;
    TTableState FTable;
};

}  // namespace spades
