#include <gmock/gmock.h>

#include "Expert.h"
#include "ExpertValue.h"
#include "TestTable.h"

using namespace spades;
using namespace spades::testing;

namespace {

TCardSet Set(const std::string& cards)
{
    TCardSet set = 0;
    for (int card : Cards(cards))
        set |= CardBit(card);
    return set;
}

// A view of South at the start of a new game, everyone a classic computer.
TExpertView StartView(const std::string& hand)
{
    TExpertView view;
    view.Seat = South;
    view.Kind.fill(TSeatKind::Computer);
    view.Kind[South] = TSeatKind::Expert;
    view.Held = Set(hand);
    view.GameSeed = 12345;
    return view;
}

// Plays written "N:AC E:2C S:3C W:4C ..." in order of play.
void AddPlays(TExpertView& view, const std::string& plays)
{
    std::istringstream in(plays);
    for (std::string word; in >> word;) {
        const int seat = static_cast<int>(std::string_view("?NESW").find(word[0]));
        view.Plays[static_cast<size_t>(view.PlayCount++)] = {static_cast<uint8_t>(seat),
                                                             static_cast<uint8_t>(Card(word.substr(2)))};
    }
}

// ---- The sampler ---------------------------------------------------------------------------

struct TSamplerCase {
    const char* name;
    std::array<int, 5> count;
    std::array<uint8_t, 5> voids;  // bit per suit
    std::array<int, 5> perSuit;    // the lowest cards of each suit are the unseen ones
};

std::string SamplerName(const ::testing::TestParamInfo<TSamplerCase>& info) { return info.param.name; }

class SamplerCases : public ::testing::TestWithParam<TSamplerCase> {};

TEST_P(SamplerCases, DealsEveryUnseenCardOnceAndHonoursVoids)
{
    const TSamplerCase& c = GetParam();
    TDealNeeds needs;
    needs.Seat = South;
    needs.Count = c.count;
    needs.VoidSuits = c.voids;
    for (int suit = Spades; suit <= Diamonds; ++suit)
        for (int rank = 1; rank <= c.perSuit[static_cast<size_t>(suit)]; ++rank)
            needs.Unseen |= CardBit(CardValue(suit, rank));
    ASSERT_EQ(CountCards(needs.Unseen), c.count[1] + c.count[2] + c.count[3] + c.count[4]);

    TExpertRandom random(7);
    std::array<TCardSet, 5> seen{};
    for (int i = 0; i < 2000; ++i) {
        TLayout layout{};
        ASSERT_TRUE(DealUnseen(needs, random, layout));
        TCardSet all = 0;
        for (int seat = North; seat <= West; ++seat) {
            const TCardSet cards = layout[static_cast<size_t>(seat)];
            EXPECT_EQ(CountCards(cards), c.count[static_cast<size_t>(seat)]) << "seat " << seat;
            EXPECT_EQ(all & cards, 0u) << "a card dealt twice";
            all |= cards;
            for (int suit = Spades; suit <= Diamonds; ++suit)
                if (c.voids[static_cast<size_t>(seat)] & (1u << suit)) {
                    EXPECT_EQ(cards & SuitCards(suit), 0u) << "seat " << seat << " is out of suit " << suit;
                }
            seen[static_cast<size_t>(seat)] |= cards;
        }
        EXPECT_EQ(all, needs.Unseen) << "every unseen card dealt";
    }
    // Not stuck in one layout: every seat meets every card it may hold.
    for (int seat = North; seat <= West; ++seat) {
        if (c.count[static_cast<size_t>(seat)] == 0)
            continue;
        TCardSet allowed = needs.Unseen;
        for (int suit = Spades; suit <= Diamonds; ++suit)
            if (c.voids[static_cast<size_t>(seat)] & (1u << suit))
                allowed &= ~SuitCards(suit);
        EXPECT_EQ(seen[static_cast<size_t>(seat)], allowed) << "seat " << seat;
    }
}

constexpr uint8_t S = 1u << Spades, H = 1u << Hearts, C = 1u << Clubs, D = 1u << Diamonds;

INSTANTIATE_TEST_SUITE_P(
    Layouts, SamplerCases,
    ::testing::Values(TSamplerCase{"NoVoids", {0, 13, 13, 0, 13}, {}, {0, 10, 10, 10, 9}},
                      TSamplerCase{"OneVoid", {0, 10, 9, 0, 10}, {0, 0, H, 0, 0}, {0, 8, 6, 8, 7}},
                      TSamplerCase{"TwoSeatsOutOfOneSuit", {0, 6, 6, 0, 5}, {0, D, D, 0, 0}, {0, 5, 4, 4, 4}},
                      TSamplerCase{"OnlySpadesLeft", {0, 4, 5, 0, 5}, {0, H | C | D, 0, 0, 0}, {0, 6, 3, 3, 2}},
                      TSamplerCase{"EachSeatOutOfSomething", {0, 3, 3, 0, 3}, {0, S, H, 0, C}, {0, 2, 3, 2, 2}},
                      TSamplerCase{"UnevenCounts", {0, 2, 1, 0, 2}, {0, 0, S | H, 0, 0}, {0, 2, 1, 1, 1}}),
    SamplerName);

TEST(Sampler, ImpossibleVoidsFindNoLayout)
{
    TDealNeeds needs;
    needs.Seat = South;
    needs.Count = {0, 1, 1, 0, 1};
    needs.Unseen = Set("AH KH QH");
    needs.VoidSuits = {0, H, H, 0, 0};
    TExpertRandom random(1);
    TLayout layout{};
    EXPECT_FALSE(DealUnseen(needs, random, layout));
}

// ---- What a view tells ------------------------------------------------------------------------

struct TKnowledgeCase {
    const char* name;
    TSeatKind eastKind;
    const char* plays;
    std::array<uint8_t, 5> voids;
    int toPlay;
};

std::string KnowledgeName(const ::testing::TestParamInfo<TKnowledgeCase>& info) { return info.param.name; }

class KnowledgeCases : public ::testing::TestWithParam<TKnowledgeCase> {};

TEST_P(KnowledgeCases, VoidsAndTurn)
{
    const TKnowledgeCase& c = GetParam();
    TExpertView view = StartView("2S 3S");
    view.Kind[East] = c.eastKind;
    AddPlays(view, c.plays);
    const TKnowledge known = KnowledgeOf(view);
    for (int seat = North; seat <= West; ++seat)
        EXPECT_EQ(known.VoidSuits[static_cast<size_t>(seat)], c.voids[static_cast<size_t>(seat)]) << "seat " << seat;
    EXPECT_EQ(known.ToPlay, c.toPlay);
}

INSTANTIATE_TEST_SUITE_P(
    Plays, KnowledgeCases,
    ::testing::Values(
        TKnowledgeCase{"NothingPlayed", TSeatKind::Computer, "", {}, South},
        TKnowledgeCase{"FollowingShowsNothing", TSeatKind::Computer, "S:2H W:3H", {}, North},
        TKnowledgeCase{"NotFollowingShowsAVoid", TSeatKind::Computer, "S:2H W:3C N:AH", {0, 0, 0, 0, H}, East},
        // West's king wins the first trick and leads the second.
        TKnowledgeCase{"WinnerLeadsNext", TSeatKind::Computer, "S:2H W:KH N:3H E:4H", {}, West},
        TKnowledgeCase{"TrumpWins", TSeatKind::Computer, "S:AH W:2S N:3H E:4H", {0, 0, 0, 0, H}, West},
        TKnowledgeCase{"LawfulEarlySpadeLead", TSeatKind::Human, "S:2H W:3H N:KH E:AH E:5S",
                       {0, 0, H | C | D, 0, 0}, South},
        TKnowledgeCase{"ClassicEarlySpadeLeadShowsNothing", TSeatKind::Computer, "S:2H W:3H N:KH E:AH E:5S", {},
                       South},
        TKnowledgeCase{"SpadeLeadAfterBreakShowsNothing", TSeatKind::Human,
                       "S:2H W:3H N:KH E:2S E:5S", {0, 0, H, 0, 0}, South}),
    KnowledgeName);

struct TLegalCase {
    const char* name;
    const char* hand;
    const char* plays;
    const char* legal;
};

std::string LegalName(const ::testing::TestParamInfo<TLegalCase>& info) { return info.param.name; }

class LegalCases : public ::testing::TestWithParam<TLegalCase> {};

TEST_P(LegalCases, FollowsTheRules)
{
    const TLegalCase& c = GetParam();
    TExpertView view = StartView(c.hand);
    view.Kind.fill(TSeatKind::Human);
    AddPlays(view, c.plays);
    EXPECT_EQ(LegalCards(view, KnowledgeOf(view)), Set(c.legal));
}

INSTANTIATE_TEST_SUITE_P(
    Hands, LegalCases,
    ::testing::Values(TLegalCase{"LeadNoSpadesBeforeBroken", "AS 2H 3C", "", "2H 3C"},
                      TLegalCase{"LeadOnlySpades", "AS 2S", "", "AS 2S"},
                      TLegalCase{"LeadAnythingOnceBroken", "AS 2H", "S:2D W:3S N:4D E:5D", "AS 2H"},
                      TLegalCase{"FollowSuit", "AS 2H 3H 3C", "W:4H", "2H 3H"},
                      TLegalCase{"VoidMayTrumpOrDiscard", "AS 3C", "W:4H", "AS 3C"}),
    LegalName);

struct TCandidateCase {
    const char* name;
    const char* legal;
    const char* separators;
    const char* expected;
};

std::string CandidateName(const ::testing::TestParamInfo<TCandidateCase>& info) { return info.param.name; }

class CandidateCases : public ::testing::TestWithParam<TCandidateCase> {};

TEST_P(CandidateCases, KeepsTheLowestOfEachRun)
{
    const TCandidateCase& c = GetParam();
    std::vector<int> expected = Cards(c.expected);
    std::sort(expected.begin(), expected.end());
    std::vector<int> got = DistinctCandidates(Set(c.legal), Set(c.separators));
    std::sort(got.begin(), got.end());
    EXPECT_EQ(got, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Runs, CandidateCases,
    ::testing::Values(TCandidateCase{"TouchingCards", "KH QH", "", "QH"},
                      TCandidateCase{"GapHeldByOthers", "KH JH", "QH", "JH KH"},
                      TCandidateCase{"GapAlreadyPlayed", "KH JH", "", "JH"},
                      TCandidateCase{"AceAboveKing", "AH KH", "", "KH"},
                      TCandidateCase{"SuitsApart", "2H 2C", "", "2H 2C"},
                      TCandidateCase{"CardOnTheTableSeparates", "9H JH", "10H", "9H JH"}),
    CandidateName);

// ---- Values in game terms -------------------------------------------------------------------

struct TPointsCase {
    int bid, tricks, totalBags, points;
};

class PointsCases : public ::testing::TestWithParam<TPointsCase> {};

TEST_P(PointsCases, ScoresLikeTheTable)
{
    const TPointsCase& c = GetParam();
    EXPECT_EQ(HandPoints(c.bid, c.tricks, c.totalBags), c.points);
}

INSTANTIATE_TEST_SUITE_P(Hands, PointsCases,
                         ::testing::Values(TPointsCase{4, 4, 0, 40}, TPointsCase{4, 7, 0, 43}, TPointsCase{4, 3, 0, -40},
                                           TPointsCase{13, 13, 0, 130}, TPointsCase{0, 0, 0, 100},
                                           TPointsCase{0, 2, 0, -100}, TPointsCase{4, 6, 98, 42 - 100},
                                           TPointsCase{4, 4, 100, 40 - 100}, TPointsCase{0, 0, 99, 100}));

TEST(GameValue, AHandThatEndsTheGameIsAllOrNothing)
{
    TExpertView view = StartView("2S");
    view.Score = {0, 240, 230, 240, 0};
    const std::array<int, 5> bids = {0, 1, 3, 1, 1};
    // East makes 3 and reaches 260; South and North 250: East wins.
    EXPECT_EQ(GameValue(view, bids, {0, 1, 3, 1, 8}, South), 0.0);
    EXPECT_EQ(GameValue(view, bids, {0, 1, 3, 1, 8}, East), 1.0);
    // North and South tie at 250: the lower seat number wins.
    EXPECT_EQ(GameValue(view, bids, {0, 1, 0, 1, 11}, North), 1.0);
    EXPECT_EQ(GameValue(view, bids, {0, 1, 0, 1, 11}, South), 0.0);
}

TEST(GameValue, MoreForOwnPointsLessForTheLeaders)
{
    TExpertView view = StartView("2S");
    view.Score = {0, 50, 120, 0, 10};
    const std::array<int, 5> bids = {0, 3, 3, 3, 3};
    const double made = GameValue(view, bids, {0, 3, 3, 4, 3}, South);
    const double set = GameValue(view, bids, {0, 3, 3, 2, 5}, South);
    const double leaderSet = GameValue(view, bids, {0, 3, 2, 4, 4}, South);
    EXPECT_GT(made, set);
    EXPECT_GT(leaderSet, made) << "setting the leader is worth something";
    double sum = 0;
    for (int seat = North; seat <= West; ++seat)
        sum += GameValue(view, bids, {0, 3, 3, 4, 3}, seat);
    EXPECT_NEAR(sum, 1.0, 1e-9);
}

struct TLeadCase {
    const char* name;
    std::array<int, 5> bids, tricks;
    int seat;
    double lead;
};

class LeadCases : public ::testing::TestWithParam<TLeadCase> {};

TEST_P(LeadCases, OwnPointsLessTheOthersMean)
{
    const TLeadCase& c = GetParam();
    TExpertView view = StartView("2S");
    view.TotalBags = {0, 0, 98, 0, 0};  // East is two bags from the limit
    EXPECT_NEAR(PointsLead(view, c.bids, c.tricks, c.seat), c.lead, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(
    Hands, LeadCases,
    ::testing::Values(
        // North 40, East 30, South 30, West 30.
        TLeadCase{"AllMake", {0, 4, 3, 3, 3}, {0, 4, 3, 3, 3}, North, (40 - 30) / 100.0},
        // The same hand seen from East: 30 less the mean of 40, 30, 30.
        TLeadCase{"SeenFromAnother", {0, 4, 3, 3, 3}, {0, 4, 3, 3, 3}, East, (30 - 100 / 3.0) / 100.0},
        // North set (-40), West takes the trick as a bag (31).
        TLeadCase{"Set", {0, 4, 3, 3, 3}, {0, 3, 3, 3, 4}, North, (-40 - 91 / 3.0) / 100.0},
        // South's Nil made, North's lost.
        TLeadCase{"Nils", {0, 0, 4, 0, 4}, {0, 1, 4, 0, 8}, South, (100 - (-100 + 40 + 44) / 3.0) / 100.0},
        // East's two bags reach the limit: 32 - 100.
        TLeadCase{"BagLimit", {0, 4, 3, 3, 3}, {0, 3, 5, 2, 3}, North, (-40 - (-68 - 30 + 30) / 3.0) / 100.0}),
    [](const ::testing::TestParamInfo<TLeadCase>& info) { return std::string(info.param.name); });

// ---- Bidding ----------------------------------------------------------------------------------

struct TBidCase {
    const char* name;
    const char* hand;
    int minBid, maxBid;
};

std::string BidName(const ::testing::TestParamInfo<TBidCase>& info) { return info.param.name; }

class BidCases : public ::testing::TestWithParam<TBidCase> {};

TEST_P(BidCases, BidsWhatTheHandIsWorth)
{
    const TBidCase& c = GetParam();
    TExpertPlayer expert;
    const int bid = expert.ChooseBid(StartView(c.hand));
    EXPECT_GE(bid, c.minBid);
    EXPECT_LE(bid, c.maxBid);
}

INSTANTIATE_TEST_SUITE_P(
    Hands, BidCases,
    ::testing::Values(TBidCase{"LowCardsInEverySuitBidNil", "2S 3S 4S 2H 3H 4H 5H 2C 3C 4C 2D 3D 4D", 0, 0},
                      TBidCase{"TopSpadesBidHigh", "AS KS QS JS 10S 9S 8S AH KH 2C 3C 2D 3D", 8, 13},
                      TBidCase{"AcesAndKingsBidSeveral", "AS 2S 3S AH KH 4H AC KC 5C AD 6D 7D 8D", 5, 8},
                      TBidCase{"SmallSpadesAndNothingElseBidLow", "2S 3S 4S 5S 5H 7H 9H 6C 8C 10C 6D 8D 9D", 1, 4}),
    BidName);

TEST(ExpertBid, NilThatReachesTheScoreToWin)
{
    // South needs a hundred points: only a nil gets there this hand.
    TExpertView view = StartView("2S 3S 4S 2H 3H 4H 5H 2C 3C 4C 2D 3D 4D");
    view.Score = {0, 120, 90, 160, 100};
    TExpertPlayer expert;
    EXPECT_EQ(expert.ChooseBid(view), 0);
}

// ---- Card play ----------------------------------------------------------------------------------

TEST(ExpertPlay, SameViewSameCardAndAlwaysLegal)
{
    TExpertView view = StartView("AS 5S 9H 2H KC 4C 3D 8D QD JH 7C 6S 10D");
    view.BidCount = 4;
    view.Bid = {0, 3, 2, 4, 3};
    AddPlays(view, "S:KC W:2C N:AC E:3C");
    view.Held &= ~Set("KC");
    view.Tricks = {0, 1, 0, 0, 0};
    TExpertPlayer a;
    TExpertPlayer b;
    const int card = a.ChooseCard(view);
    EXPECT_EQ(card, b.ChooseCard(view));
    EXPECT_EQ(card, a.ChooseCard(view));
    EXPECT_NE(LegalCards(view, KnowledgeOf(view)) & CardBit(card), 0u);
}

TEST(ExpertPlay, NilBidderDucksUnderTheTrick)
{
    // South bid nil; hearts are led with the king on the table: any heart
    // below the king keeps the nil, the ace would take the trick.
    TExpertView view = StartView("AH 3H 2C 3C 4C 5C 6C 7C 8C 9C 2D 3D 4D");
    view.BidCount = 4;
    view.Bid = {0, 3, 3, 0, 3};
    view.Order = {0, North, East, South, West};
    AddPlays(view, "N:QH E:KH");
    TExpertPlayer expert;
    EXPECT_EQ(CardText(expert.ChooseCard(view)), "3H");
}

}  // namespace
