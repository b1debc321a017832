// Crafted hands for the review's tests, in the game's tests and the table's.
#pragma once

#include <initializer_list>

#include "HandReview.h"

namespace spades::testing {

inline TCardSet Cards(std::initializer_list<int> cards)
{
    TCardSet set = 0;
    for (int card : cards)
        set |= CardBit(card);
    return set;
}

// Two tricks. East leads the King of diamonds; North holds the Ace and Two. Over
// the King North takes both tricks; under it, none: East then leads a club to
// West. Before the lead North can make nothing: a club led first keeps it out.
inline TReviewHand DuckedEnding()
{
    TReviewHand hand;
    hand.Dealt[East] = Cards({52, 29});
    hand.Dealt[South] = Cards({30, 31});
    hand.Dealt[West] = Cards({32, 33});
    hand.Dealt[North] = Cards({40, 41});
    hand.FirstSeat = East;
    hand.Bids = {0, 2, 1, 0, 1};
    hand.Plays = {{East, 52}, {South, 30}, {West, 32}, {North, 41},
                  {East, 29}, {South, 31}, {West, 33}, {North, 40}};
    return hand;
}

}  // namespace spades::testing
