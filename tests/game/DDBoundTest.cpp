// The solver's bound: a search past its node budget, or asked to stop, gives up
// with EDDGaveUp and never a number; what it learnt before leaves later answers
// exact; and the play check and the hand review skip what the bound cuts short.
#include <gmock/gmock.h>

#include <atomic>

#include "DoubleDummy.h"
#include "HandReview.h"
#include "PlayCheck.h"
#include "ReviewHands.h"

using namespace spades;
using namespace spades::testing;

namespace {

struct TBoundCase {
    const char* Name;
    int Tricks;
    int InTrick;
    int Count;
};

class DDBound : public ::testing::TestWithParam<TBoundCase> {};

TEST_P(DDBound, GivesUpPastItAndLeavesLaterAnswersExact)
{
    const TBoundCase& c = GetParam();
    TRandom random(77);
    for (int i = 0; i < c.Count; ++i) {
        const TDDPosition position = RandomPosition(random, c.Tricks, c.InTrick, TLeadRule::AfterBroken);
        const TDDGoal goal = TDDGoal::Seat(position.ToPlay());
        TDoubleDummy fresh(18);
        const uint64_t before = fresh.Nodes();
        const int tricks = fresh.Tricks(position, goal);
        const uint64_t nodes = fresh.Nodes() - before;

        TDoubleDummy bounded(18);
        if (nodes > 8) {
            bounded.SetBound({nodes / 4, nullptr});
            EXPECT_THROW(bounded.Tricks(position, goal), EDDGaveUp) << i;
        }
        // A budget it does not reach changes nothing; nor does a give-up before.
        bounded.SetBound({nodes * 4 + 64, nullptr});
        EXPECT_EQ(bounded.Tricks(position, goal), tricks) << i;
        bounded.SetBound({});
        EXPECT_EQ(bounded.Tricks(position, goal), tricks) << i;
        if (c.Tricks <= 8) {
            const std::vector<TDDCardValue> values = bounded.CardValues(position, goal);
            const std::vector<TDDCardValue> expected = fresh.CardValues(position, goal);
            ASSERT_EQ(values.size(), expected.size());
            for (size_t k = 0; k < values.size(); ++k)
                EXPECT_EQ(values[k].Tricks, expected[k].Tricks) << i << " card " << values[k].Card;
        }

        // A fresh table, which cannot answer from what it learnt.
        TDoubleDummy stopped(18);
        std::atomic<bool> stop{true};
        stopped.SetBound({0, &stop});
        if (nodes > 2048) {
            EXPECT_THROW(stopped.Tricks(position, goal), EDDGaveUp) << "a stop is seen within 1024 nodes";
        }
        stop = false;
        EXPECT_EQ(stopped.Tricks(position, goal), tricks) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Positions, DDBound,
                         ::testing::Values(TBoundCase{"WholeDeals", 13, 0, 3}, TBoundCase{"EightTricks", 8, 2, 8},
                                           TBoundCase{"FiveTricks", 5, 1, 8}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(DDBoundUse, TheCheckAndTheReviewSkipWhatTheBoundCutsShort)
{
    TReviewHand hand = KingDuckedLate();
    ASSERT_EQ(CheckReviewHand(hand), "");
    hand.Kinds[South] = TSeatKind::Human;
    const TExpertView view = ReviewViewAt(hand, South, KingDuckedAt);
    TExpertPlayer expert(TExpertSettings{200, 40, 20, 20, 0.03, 0.3, 2});
    TDoubleDummy solver(16);

    const TPlayCheck open = CheckPlayFromView(view, KingDuckedCard, expert, solver);
    EXPECT_FALSE(open.GaveUp);
    EXPECT_TRUE(open.Costly());
    EXPECT_EQ(open.ExpertCard, KingDuckedBest) << "the King on the table parts the Ace from the Two";
    const TPlayCheck cut = CheckPlayFromView(view, KingDuckedCard, expert, solver, 24, {1, nullptr});
    EXPECT_TRUE(cut.GaveUp);
    EXPECT_FALSE(cut.Costly());
    EXPECT_TRUE(CheckPlayFromView(view, KingDuckedCard, expert, solver).Costly()) << "the solver's own bound comes back";

    // Only South's plays: under a bound too small for any, none has figures.
    THandReviewer reviewer;
    TReviewScope scope;
    scope.CompareExpert = false;
    scope.Bids = false;
    scope.Seats = 1u << South;
    for (const uint64_t nodes : {uint64_t{0}, uint64_t{1}}) {
        scope.StepNodes = nodes;
        const TReview review = reviewer.Review(hand, nullptr, {}, scope);
        EXPECT_TRUE(review.Complete);
        ASSERT_EQ(review.Plays.size(), hand.Plays.size());
        EXPECT_EQ(review.Plays[KingDuckedAt].Solved, nodes == 0);
        EXPECT_EQ(review.Plays[KingDuckedAt].Cost(), nodes == 0 ? 1 : 0);
    }

    std::atomic<bool> stop{true};
    EXPECT_FALSE(reviewer.Review(hand, &stop, {}, scope).Complete);
}

}  // namespace
