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

// A whole hand with the same mistake late: North holds the clubs and West the
// hearts; East ruffs North's club lead and runs its spades from the Ace while
// South throws its diamonds. At trick 12 East leads the King of diamonds, keeping
// the Three of spades; South, who bid 1 and has no trick, ducks the Two under
// it, where the Ace takes a trick. South sees where every card left must be:
// North and West have shown out of spades, West and East out of clubs.
inline TReviewHand KingDuckedLate()
{
    TReviewHand hand;
    hand.Dealt[North] = Cards({27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39});
    hand.Dealt[East] = Cards({1, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 52});
    hand.Dealt[South] = Cards({2, 40, 41, 42, 43, 44, 45, 46, 47, 48, 49, 50, 51});
    hand.Dealt[West] = Cards({14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26});
    hand.FirstSeat = North;
    hand.Bids = {0, 1, 11, 1, 1};
    hand.Plays = {{North, 27}, {East, 4}, {South, 42}, {West, 14}};
    const int spades[] = {1, 13, 12, 11, 10, 9, 8, 7, 6, 5};
    for (int t = 0; t < 10; ++t) {
        const auto card = [](int value) { return static_cast<uint8_t>(value); };
        hand.Plays.push_back({East, card(spades[t])});
        hand.Plays.push_back({South, card(t == 0 ? 2 : 42 + t)});
        hand.Plays.push_back({West, card(15 + t)});
        hand.Plays.push_back({North, card(28 + t)});
    }
    hand.Plays.insert(hand.Plays.end(), {{East, 52}, {South, 41}, {West, 25}, {North, 38},
                                         {East, 3}, {South, 40}, {West, 26}, {North, 39}});
    return hand;
}
// Where South ducks in it, and what it should have played.
inline constexpr int KingDuckedAt = 45;
inline constexpr int KingDuckedCard = 41, KingDuckedBest = 40;

}  // namespace spades::testing
