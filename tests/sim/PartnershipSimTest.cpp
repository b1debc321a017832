#include <gmock/gmock.h>

#include <sstream>

#include "RuleText.h"
#include "Simulator.h"

using namespace spades;
using ::testing::HasSubstr;

namespace {

// Counts every hand of a game from the bids and tricks alone, as a scorer at
// the table would, and holds the game's scores, bids and cards to that count.
class TSideCount : public TGameObserver {
public:
    explicit TSideCount(const TRuleSet& rules) : FRules(rules) {}

    void GameStarted(const TSpadesGame&, int) override
    {
        FScore = {};
        FBags = {};
    }
    void HandDealt(const TSpadesGame& game, int) override
    {
        for (int seat = North; seat <= West; ++seat)
            FSpades[static_cast<size_t>(seat)] = game.Table.Player(seat).FSuitCount[Spades];
        FTricksTaken = 0;
    }
    void CardChosen(const TSpadesGame& game, int seat, int card) override
    {
        const TPlayer& player = game.Table.Player(seat);
        const bool spade = CardSuit(static_cast<uint8_t>(card)) == Spades;
        const bool onlySpades = player.FSuitCount[Spades] == player.FCardCount;
        const bool leads = !game.Table.Place(1).HasCard();
        if (spade && leads && FRules.Table.Lead == TLeadRule::AfterBroken) {
            EXPECT_TRUE(game.Table.SpadesBroken || onlySpades) << "a spade led before they are broken";
        }
        if (spade && FTricksTaken == 0 && FRules.Table.FirstTrick == TFirstTrick::Clean &&
            (leads || game.Table.Place(1).Suit() != Spades)) {
            EXPECT_TRUE(onlySpades) << "a spade on a clean first trick";
        }
    }
    void TrickWon(const TSpadesGame&, int) override { ++FTricksTaken; }
    void HandScored(const TSpadesGame& game, const TScoreResult& result) override
    {
        ++Hands;
        const TTableState& table = game.Table;
        for (int side = 1; side <= 2; ++side) {
            const TPlayer& a = table.Player(side);
            const TPlayer& b = table.Player(side + 2);
            CheckBids(side, a, b);
            int bid = 0, tricks = 0, points = 0;
            for (const TPlayer* p : {&a, &b}) {
                tricks += p->FTricks;
                if (p->FBid > 0) {
                    bid += p->FBid;
                    continue;
                }
                const bool blind = table.BlindNil[static_cast<size_t>(p->FSeat)];
                Blind += blind;
                const int worth = blind ? 200 : FRules.Nil == TNilValue::Fifty ? 50 : 100;
                points += p->FTricks == 0 ? worth : -worth;
            }
            int bags = 0;
            if (bid == 0)
                bags = tricks, points += tricks;
            else if (tricks >= bid)
                bags = tricks - bid, points += 10 * bid + bags;
            else
                points -= 10 * bid;
            int& total = FBags[static_cast<size_t>(side)];
            total += bags;
            if (FRules.Bags == TBagRule::TableLimit && total >= 100)
                points -= 100;
            for (; FRules.Bags == TBagRule::TenBags && total >= 10; total -= 10)
                points -= 100;
            FScore[static_cast<size_t>(side)] += points;
            EXPECT_EQ(a.FScore, FScore[static_cast<size_t>(side)]) << "hand " << Hands;
            EXPECT_EQ(b.FScore, FScore[static_cast<size_t>(side)]) << "hand " << Hands;
        }
        const int ns = FScore[1], ew = FScore[2];
        int winner = 0;
        if (ns >= FRules.WinScore || ew >= FRules.WinScore)
            winner = ns >= ew ? 1 : 2;
        else if (FRules.Lose == TLoseScore::Minus200 && (ns <= -200 || ew <= -200))
            winner = ns >= ew ? 1 : 2;
        EXPECT_EQ(result.WinnerSeat, winner) << "hand " << Hands;
    }

    int Hands = 0;
    int Blind = 0;

private:
    void CheckBids(int side, const TPlayer& a, const TPlayer& b)
    {
        for (const TPlayer* p : {&a, &b}) {
            const int spades = FSpades[static_cast<size_t>(p->FSeat)];
            if (FRules.Table.Bidding == TBidding::Mirror) {
                EXPECT_EQ(p->FBid, spades);
            }
            if (FRules.Table.Bidding == TBidding::Whiz) {
                EXPECT_TRUE(p->FBid == 0 || p->FBid == spades);
            }
        }
        const int nils = (a.FBid == 0) + (b.FBid == 0);
        if (FRules.Table.Bidding == TBidding::Suicide) {
            EXPECT_EQ(nils, 1) << "side " << side;
        }
        if (FRules.Table.Bidding == TBidding::Normal) {
            EXPECT_LE(nils, 1) << "no second Nil after a partner's, side " << side;
        }
    }

    TRuleSet FRules;
    std::array<int, 5> FSpades{};
    std::array<int, 3> FScore{}, FBags{};
    int FTricksTaken = 0;
};

class PartnershipGames : public ::testing::TestWithParam<const char*> {};

TEST_P(PartnershipGames, EveryHandScoresAsCountedFromTheBidsAndTricks)
{
    TRuleSet rules;
    ASSERT_EQ(ParseRules(rules, GetParam()), "");
    std::ostringstream out;
    TSimulator simulator(11, rules, out);
    TSideCount count(rules);
    simulator.AddObserver(&count);
    // Past the bag limit both sides can lose 100 a hand for ever: such a game is given up.
    simulator.SetHandLimit(200);
    simulator.Run(12);
    EXPECT_GT(count.Hands, 12);
    EXPECT_EQ(simulator.Stats().Wins[1] + simulator.Stats().Wins[2] + simulator.Stats().UnfinishedGames, 12);
    EXPECT_THAT(out.str(), HasSubstr(" winner North-South after "));
    EXPECT_THAT(out.str(), HasSubstr(" wins North-South="));
    if (rules.Table.BlindNil == TBlindNil::WhenBehind) {
        EXPECT_GT(count.Blind, 0) << "a side far behind tries Blind Nil";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Options, PartnershipGames,
    ::testing::Values("variant=partnership",
                      "variant=partnership bags=ten nil=50 losescore=-200 winscore=500",
                      "variant=partnership bags=none blindnil=behind spades=anytime firsttrick=clean winscore=300",
                      "variant=partnership bidding=mirror firsttrick=clean",
                      "variant=partnership bidding=whiz blindnil=behind",
                      "variant=partnership bidding=suicide losescore=-200"));

}  // namespace
