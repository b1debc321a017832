#include <gmock/gmock.h>

#include "HandReview.h"
#include "PlayCheck.h"

using namespace spades;

namespace {

const TExpertSettings Quick{200, 40, 20, 20, 0.03, 0.3, 2};

// A whole deal played by lowest legal cards up to the given number of plays.
TReviewHand PlayedUpTo(uint32_t seed, int plays)
{
    TRandom random(seed);
    const TDDPosition dealt = RandomPosition(random, 13, 0, TLeadRule::AfterBroken);
    TReviewHand hand;
    hand.Dealt = dealt.Hands;
    hand.FirstSeat = dealt.Leader;
    hand.Bids = {0, 3, 4, 2, 3};
    hand.Kinds[South] = TSeatKind::Human;
    TDDPosition position = dealt;
    position.SpadesBroken = false;
    while (static_cast<int>(hand.Plays.size()) < plays) {
        const int card = std::countr_zero(LegalPlays(position)) + 1;
        hand.Plays.push_back({static_cast<uint8_t>(position.ToPlay()), static_cast<uint8_t>(card)});
        position = After(position, card);
    }
    return hand;
}

// The first position from the given play on where South is to play with a choice.
int SouthChoosesAt(const TReviewHand& full, int from)
{
    TDDPosition position;
    position.Hands = full.Dealt;
    position.Leader = full.FirstSeat;
    for (int i = 0; i < static_cast<int>(full.Plays.size()); ++i) {
        if (i >= from && position.ToPlay() == South && CountCards(LegalPlays(position)) >= 2)
            return i;
        position = After(position, full.Plays[static_cast<size_t>(i)].Card);
    }
    return -1;
}

// The view holds only what the person could see; over it, the best card loses
// nothing and no card does better than it.
TEST(PlayCheck, SetsEachCardAgainstTheBest)
{
    bool sawLoss = false;
    for (uint32_t seed = 1; seed <= 4; ++seed) {
        const TReviewHand full = PlayedUpTo(seed, 52);
        const int at = SouthChoosesAt(full, 20);
        ASSERT_GE(at, 0) << seed;
        TReviewHand hand = full;
        hand.Plays.resize(static_cast<size_t>(at));
        const TExpertView view = ReviewViewAt(hand, South, at);
        const TCardSet legal = LegalCards(view, KnowledgeOf(view));

        TExpertPlayer expert(Quick);
        TDoubleDummy solver(16);
        bool sawBest = false;
        for (TCardSet rest = legal; rest; rest &= rest - 1) {
            const int card = std::countr_zero(rest) + 1;
            const TPlayCheck check = CheckPlayFromView(view, card, expert, solver, 12);
            EXPECT_GE(check.ExpectedLoss, 0.0) << seed << " card " << card;
            EXPECT_TRUE(legal & CardBit(check.BestCard));
            sawBest = sawBest || (card == check.BestCard && check.ExpectedLoss == 0.0);
            sawLoss = sawLoss || check.ExpectedLoss > 0.0;
        }
        EXPECT_TRUE(sawBest) << seed;
    }
    EXPECT_TRUE(sawLoss) << "some card is worse than another somewhere";
}

TEST(PlayCheck, NoChoiceNoNote)
{
    const TReviewHand full = PlayedUpTo(4, 52);
    TDDPosition position;
    position.Hands = full.Dealt;
    position.Leader = full.FirstSeat;
    for (int i = 0; i < 52; ++i) {
        if (position.ToPlay() == South && CountCards(LegalPlays(position)) == 1) {
            TReviewHand hand = full;
            hand.Plays.resize(static_cast<size_t>(i));
            TExpertPlayer expert(Quick);
            TDoubleDummy solver(16);
            const TPlayCheck check = CheckPlayFromView(ReviewViewAt(hand, South, i), full.Plays[static_cast<size_t>(i)].Card,
                                                       expert, solver);
            EXPECT_FALSE(check.Costly());
            EXPECT_EQ(check.ExpectedLoss, 0.0);
            return;
        }
        position = After(position, full.Plays[static_cast<size_t>(i)].Card);
    }
}

}  // namespace
