#include <gmock/gmock.h>

#include "HandReview.h"
#include "ReviewHands.h"

using namespace spades;
using namespace spades::testing;

namespace {

// An ending of a few tricks dealt at random, played out by each seat laying its
// lowest legal card: plays that are often not the best.
TReviewHand LowestCardsHand(uint32_t seed, int tricks)
{
    TRandom random(seed);
    const TDDPosition dealt = RandomPosition(random, tricks, 0, TLeadRule::AfterBroken);
    TReviewHand hand;
    hand.Dealt = dealt.Hands;
    hand.FirstSeat = dealt.Leader;
    hand.Bids = {0, 2, 1, 0, 1};
    TDDPosition position = dealt;
    position.SpadesBroken = false;
    while (position.TricksLeft() > 0) {
        const int card = std::countr_zero(LegalPlays(position)) + 1;
        hand.Plays.push_back({static_cast<uint8_t>(position.ToPlay()), static_cast<uint8_t>(card)});
        position = After(position, card);
    }
    return hand;
}

TEST(HandReview, BrokenRecordsAreNamed)
{
    const TReviewHand good = LowestCardsHand(3, 3);
    ASSERT_EQ(CheckReviewHand(good), "");
    struct TCase {
        const char* Name;
        void (*Spoil)(TReviewHand&);
    };
    const TCase cases[] = {
        {"no first seat", [](TReviewHand& h) { h.FirstSeat = 0; }},
        {"a seat short", [](TReviewHand& h) { h.Dealt[East] &= h.Dealt[East] - 1; }},
        {"a card dealt twice", [](TReviewHand& h) { h.Dealt[East] = h.Dealt[North]; }},
        {"a bid of 14", [](TReviewHand& h) { h.Bids[South] = 14; }},
        {"a seat out of turn", [](TReviewHand& h) { std::swap(h.Plays[0], h.Plays[1]); }},
        {"a card not held", [](TReviewHand& h) { h.Plays[0].Card = h.Plays[1].Card; }},
        {"too many plays", [](TReviewHand& h) { h.Plays.push_back(h.Plays.back()); }},
    };
    for (const TCase& c : cases) {
        TReviewHand hand = good;
        c.Spoil(hand);
        EXPECT_NE(CheckReviewHand(hand), "") << c.Name;
    }
}

// Whatever the plays, the figures must add up: a card never does better than the
// seat's best card, the others' mistakes only help it, and after the last card
// the figure is what the seat took.
TEST(HandReview, FiguresAddUpOverWholeEndings)
{
    THandReviewer reviewer;
    int costly = 0;
    for (uint32_t seed = 1; seed <= 12; ++seed) {
        const TReviewHand hand = LowestCardsHand(seed, 4);
        ASSERT_EQ(CheckReviewHand(hand), "") << seed;
        const TReview review = reviewer.Review(hand);
        ASSERT_TRUE(review.Complete);
        ASSERT_EQ(review.Plays.size(), hand.Plays.size());
        std::array<int, 5> taken{};
        for (int trick = 1; trick <= 4; ++trick)
            ++taken[static_cast<size_t>(review.TrickWinners[static_cast<size_t>(trick)])];
        std::array<int, 5> last{-1, -1, -1, -1, -1};
        for (const TPlayReview& play : review.Plays) {
            const auto seat = static_cast<size_t>(play.Play.Seat);
            EXPECT_GE(play.Cost(), 0) << seed;
            if (last[seat] >= 0) {
                EXPECT_TRUE(play.Nil ? play.Before <= last[seat] : play.Before >= last[seat]) << seed;
            }
            last[seat] = play.After;
            costly += play.Cost() > 0;
            EXPECT_EQ(play.ExpertCard, 0) << "no person sits here";
        }
        for (int seat = North; seat <= West; ++seat)
            EXPECT_EQ(last[static_cast<size_t>(seat)], taken[static_cast<size_t>(seat)]) << seed << " seat " << seat;
    }
    EXPECT_GT(costly, 0) << "lowest cards are often not the best";
}

TEST(HandReview, CostlyPlaysOnCraftedEnding)
{
    TReviewHand hand = DuckedEnding();
    hand.Kinds[North] = TSeatKind::Human;
    ASSERT_EQ(CheckReviewHand(hand), "");
    const TReview review = THandReviewer().Review(hand);
    const std::array<int, 5> makeable{0, 0, 0, 0, 0};
    for (int seat = North; seat <= West; ++seat)
        EXPECT_EQ(review.Bids[static_cast<size_t>(seat)].Makeable, makeable[static_cast<size_t>(seat)]) << seat;
    ASSERT_EQ(review.Plays.size(), 8u);
    for (size_t i = 0; i < review.Plays.size(); ++i) {
        const TPlayReview& play = review.Plays[i];
        if (i == 3) {
            EXPECT_EQ(play.Before, 2);
            EXPECT_EQ(play.After, 0);
        } else {
            EXPECT_EQ(play.Cost(), 0) << i;
        }
        if (play.Play.Seat != North) {
            EXPECT_EQ(play.ExpertCard, 0) << "only a person is compared";
        }
    }
    EXPECT_GE(review.Bids[North].ExpertBid, 0);
    EXPECT_EQ(review.Bids[East].ExpertBid, -1) << "only a person is compared";
    EXPECT_EQ(review.TrickWinners[1], East);
    EXPECT_EQ(review.TrickWinners[2], West);
}

TEST(HandReview, CardsWithNothingUnsettledBetweenPlayAlike)
{
    const int heart4 = 17, heart5 = 18, heart6 = 19;
    struct TCase {
        int A, B;
        TCardSet Settled;
        bool Alike;
    };
    const TCase cases[] = {
        {heart4, heart5, 0, true},
        {heart4, heart6, 0, false},
        {heart4, heart6, CardBit(heart5), true},
        {heart6, heart4, CardBit(heart5), true},
        {heart4, 4, 0, false},                      // another suit
        {14, 26, 0, true},                          // Ace and King
        {14, 25, 0, false},                         // Ace and Queen: the King between
        {14, 15, Cards({16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26}), true},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(PlaysAlike(c.A, c.B, c.Settled), c.Alike) << c.A << " " << c.B;
}

TEST(HandReview, ViewSeesOnlyWhatTheSeatCouldSee)
{
    const TReviewHand hand = LowestCardsHand(5, 3);
    const int seat = hand.Plays[5].Seat;
    const TExpertView atBid = ReviewViewAt(hand, seat, -1);
    EXPECT_EQ(atBid.PlayCount, 0);
    EXPECT_EQ(atBid.Held, hand.Dealt[static_cast<size_t>(seat)]);
    EXPECT_FALSE(atBid.HasBid(seat));
    const TExpertView later = ReviewViewAt(hand, seat, 5);
    EXPECT_EQ(later.PlayCount, 5);
    EXPECT_EQ(later.BidCount, 4);
    TCardSet own = hand.Dealt[static_cast<size_t>(seat)];
    for (int i = 0; i < 5; ++i)
        if (hand.Plays[static_cast<size_t>(i)].Seat == seat)
            own &= ~CardBit(hand.Plays[static_cast<size_t>(i)].Card);
    EXPECT_EQ(later.Held, own);
    int tricks = 0;
    for (int s = North; s <= West; ++s)
        tricks += later.Tricks[static_cast<size_t>(s)];
    EXPECT_EQ(tricks, 1) << "one trick is finished after five cards";
}

}  // namespace
