#include <gmock/gmock.h>

#include "ClassicRules.h"
#include "RuleText.h"
#include "TestTable.h"

using namespace spades;
using namespace spades::testing;
using ::testing::HasSubstr;

namespace {

TRuleSet Rules(const char* text)
{
    TRuleSet rules;
    EXPECT_EQ(ParseRules(rules, text), "") << text;
    return rules;
}

// ---- Scoring a hand by the options -------------------------------------------------------------

struct TScoreCase {
    const char* name;
    const char* rules;
    std::array<int, 4> bids, tricks;  // North, East, South, West; 0 is Nil
    std::array<bool, 4> blind;
    std::array<int, 4> scoresBefore, bagsBefore;
    std::array<int, 4> scores, bags;
    int winner;  // seat, or a side's first seat
    size_t notices;
};

class ScoreCases : public ::testing::TestWithParam<TScoreCase> {};

TEST_P(ScoreCases, ScoreTheHand)
{
    const TScoreCase& c = GetParam();
    TTestTable t;
    for (int seat = North; seat <= West; ++seat) {
        const size_t s = static_cast<size_t>(seat - 1);
        TPlayer& player = t.Seat(seat);
        player.FBid = c.bids[s];
        player.FTricks = c.tricks[s];
        player.FBags = c.bids[s] > 0 && c.tricks[s] > c.bids[s] ? c.tricks[s] - c.bids[s] : 0;
        player.FScore = c.scoresBefore[s];
        player.FTotalBags = c.bagsBefore[s];
        t.Table.BlindNil[static_cast<size_t>(seat)] = c.blind[s];
    }
    const TScoreResult result = Rules(c.rules).Score(t.Table);
    for (int seat = North; seat <= West; ++seat) {
        EXPECT_EQ(t.Seat(seat).FScore, c.scores[static_cast<size_t>(seat - 1)]) << c.name << " seat " << seat;
        EXPECT_EQ(t.Seat(seat).FTotalBags, c.bags[static_cast<size_t>(seat - 1)]) << c.name << " seat " << seat;
    }
    EXPECT_EQ(result.WinnerSeat, c.winner) << c.name;
    EXPECT_EQ(result.Notices.size(), c.notices) << c.name;
}

constexpr std::array<bool, 4> Sighted{};
constexpr std::array<int, 4> Zero{};

INSTANTIATE_TEST_SUITE_P(
    Hands, ScoreCases,
    ::testing::Values(
        // NS 7 bid, 8 taken; EW's Nil fails and its trick makes East's 5.
        TScoreCase{"side bids", "variant=partnership", {4, 5, 3, 0}, {5, 4, 3, 1}, Sighted, Zero, Zero,
                   {71, -50, 71, -50}, {1, 0, 1, 0}, 0, 0},
        TScoreCase{"a Nil made beside a set partner", "variant=partnership", {0, 3, 4, 3}, {0, 5, 3, 5}, Sighted,
                   Zero, Zero, {60, 64, 60, 64}, {0, 4, 0, 4}, 0, 0},
        TScoreCase{"ten bags cost 100 and go", "variant=partnership bags=ten", {3, 2, 3, 2}, {4, 2, 5, 2}, Sighted,
                   Zero, {8, 0, 8, 0}, {-37, 40, -37, 40}, {1, 0, 1, 0}, 0, 1},
        TScoreCase{"the 100-bag limit stays", "variant=partnership", {3, 2, 3, 2}, {4, 2, 5, 2}, Sighted, Zero,
                   {98, 0, 98, 0}, {-37, 40, -37, 40}, {101, 0, 101, 0}, 0, 1},
        TScoreCase{"no bag penalty", "bags=none", {3, 2, 3, 2}, {4, 2, 5, 2}, Sighted, Zero, {99, 0, 99, 0},
                   {31, 20, 32, 20}, {100, 0, 101, 0}, 0, 0},
        TScoreCase{"Nil worth 50", "nil=50", {0, 0, 5, 6}, {0, 1, 6, 6}, Sighted, Zero, Zero, {50, -50, 51, 60},
                   {0, 0, 1, 0}, 0, 0},
        TScoreCase{"Blind Nil worth 200", "blindnil=behind", {0, 0, 5, 6}, {0, 2, 5, 6}, {true, true, false, false},
                   Zero, Zero, {200, -200, 50, 60}, Zero, 0, 0},
        TScoreCase{"a side's Blind Nil", "variant=partnership blindnil=behind", {0, 4, 4, 4}, {0, 4, 5, 4},
                   {true, false, false, false}, Zero, Zero, {241, 80, 241, 80}, {1, 0, 1, 0}, 0, 0},
        TScoreCase{"losing score: the highest wins", "losescore=-200", {5, 3, 3, 2}, {2, 3, 4, 4}, Sighted,
                   {-150, 100, 120, 80}, Zero, {-200, 130, 151, 102}, {0, 0, 1, 2}, South, 0},
        TScoreCase{"losing score off plays on", "", {5, 3, 3, 2}, {2, 3, 4, 4}, Sighted, {-150, 100, 120, 80}, Zero,
                   {-200, 130, 151, 102}, {0, 0, 1, 2}, 0, 0},
        TScoreCase{"a side at the losing score", "variant=partnership losescore=-200", {3, 4, 2, 4}, {1, 6, 1, 5},
                   Sighted, {-170, 50, -170, 50}, Zero, {-220, 133, -220, 133}, {0, 3, 0, 3}, East, 0},
        TScoreCase{"300 to win", "winscore=300", {3, 3, 3, 4}, {3, 4, 2, 4}, Sighted, {240, 290, 0, 0}, Zero,
                   {270, 321, -30, 40}, {0, 1, 0, 0}, East, 0},
        TScoreCase{"a side reaches 500", "variant=partnership winscore=500", {4, 4, 4, 1}, {4, 4, 4, 1}, Sighted,
                   {420, 480, 420, 480}, Zero, {500, 530, 500, 530}, Zero, East, 0}));

// ---- Rules as text ---------------------------------------------------------------------------

TEST(RuleText, WritesEveryOptionAndReadsItBack)
{
    const TRuleSet rules = Rules("variant=partnership bags=ten nil=50 blindnil=behind winscore=500 losescore=-200 "
                                 "spades=anytime firsttrick=clean bidding=suicide");
    EXPECT_EQ(RulesText(rules), "variant=partnership bags=ten nil=50 blindnil=behind winscore=500 losescore=-200 "
                                "spades=anytime firsttrick=clean bidding=suicide");
    EXPECT_EQ(Rules(RulesText(rules).c_str()), rules);
    EXPECT_EQ(Rules(RulesText(TRuleSet{}).c_str()), TRuleSet{});
    EXPECT_EQ(Rules(RulesText(TRuleSet::WithWinScore(1000)).c_str()), TRuleSet::WithWinScore(1000));
    EXPECT_EQ(RulesText(TRuleSet{}), "variant=individual bags=table nil=100 blindnil=off winscore=250 losescore=off "
                                     "spades=broken firsttrick=open bidding=normal");
    // House rules: only what differs, never the score to win.
    EXPECT_EQ(HouseRulesText(TRuleSet::WithWinScore(500)), "");
    EXPECT_EQ(HouseRulesText(Rules("variant=partnership bags=ten winscore=300")), "variant=partnership bags=ten");
    EXPECT_EQ(Rules(HouseRulesText(rules).c_str()), Rules("variant=partnership bags=ten nil=50 blindnil=behind "
                                                         "losescore=-200 spades=anytime firsttrick=clean bidding=suicide"));
}

struct TBadRule {
    const char* text;
    const char* reason;
};

class BadRules : public ::testing::TestWithParam<TBadRule> {};

TEST_P(BadRules, AreRefusedWithTheReasonAndChangeNothing)
{
    TRuleSet rules;
    EXPECT_THAT(ParseRules(rules, GetParam().text), HasSubstr(GetParam().reason));
    EXPECT_EQ(rules, TRuleSet{});
}

INSTANTIATE_TEST_SUITE_P(
    Texts, BadRules,
    ::testing::Values(TBadRule{"bags=eleven", "rule bags takes table, ten or none, not \"eleven\""},
                      TBadRule{"colour=red", "no rule is named \"colour\""},
                      TBadRule{"variant", "a rule is NAME=VALUE"},
                      TBadRule{"winscore=0", "takes 250, 300 or 500 (or another score up to 32767), not \"0\""},
                      TBadRule{"winscore=40x", "not \"40x\""},
                      TBadRule{"nil=50 bidding=suicide", "bidding=suicide needs variant=partnership"},
                      TBadRule{"variant=partnership,spades=sometimes", "rule spades takes broken or anytime"}));

// ---- The table's checks under the options -------------------------------------------------------

TEST(TableRules, LeadAndFirstTrick)
{
    TTestTable t;
    TPlayer& south = t.Give(South, "2S 5H");
    t.Table.Rules.Lead = TLeadRule::Anytime;
    EXPECT_EQ(CheckPlay(t.Table, south, Card("2S")), TPlayVerdict::Legal);
    t.Table.Rules.FirstTrick = TFirstTrick::Clean;
    EXPECT_EQ(CheckPlay(t.Table, south, Card("2S")), TPlayVerdict::SpadesNotOpened);
    t.Give(South, "2S 5C");
    t.Lay(East, "9H");
    EXPECT_EQ(CheckPlay(t.Table, south, Card("2S")), TPlayVerdict::SpadesNotOpened) << "no trumping either";
    t.Seat(North).FTricks = 1;
    EXPECT_EQ(CheckPlay(t.Table, south, Card("2S")), TPlayVerdict::Legal) << "after the first trick";
}

// ---- The classic computer beside a partner -----------------------------------------------------

struct TPartnerCase {
    const char* name;
    const char* hand;                   // South's
    std::vector<std::pair<int, const char*>> trick;  // seat and card, in order of play
    std::array<int, 4> bids, tricks;    // North, East, South, West
    const char* expected;
};

class PartnerCases : public ::testing::TestWithParam<TPartnerCase> {};

TEST_P(PartnerCases, ClassicPlaysForTheSide)
{
    const TPartnerCase& c = GetParam();
    TTestTable t;
    t.Table.Rules.Variant = TVariant::Partnership;
    TPlayer& south = t.Give(South, c.hand);
    for (int seat = North; seat <= West; ++seat) {
        t.Seat(seat).FBid = c.bids[static_cast<size_t>(seat - 1)];
        t.Seat(seat).FTricks = c.tricks[static_cast<size_t>(seat - 1)];
    }
    for (const auto& [seat, card] : c.trick)
        t.Lay(seat, card);
    RecomputeNilInPlay(t.Table);
    EXPECT_EQ(t.At(South, ClassicSlot(south)), c.expected) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Positions, PartnerCases,
    ::testing::Values(
        TPartnerCase{"partner winning: no overtaking", "AH 3H", {{North, "KH"}, {East, "5H"}}, {3, 3, 3, 3},
                     {1, 1, 1, 1}, "3H"},
        TPartnerCase{"partner winning: no trumping", "2S 4C", {{North, "KH"}, {East, "5H"}}, {3, 3, 3, 3},
                     {1, 1, 1, 1}, "4C"},
        TPartnerCase{"overtaking when it must", "9H", {{North, "5H"}, {East, "2H"}}, {3, 3, 3, 3}, {1, 1, 1, 1},
                     "9H"},
        TPartnerCase{"covering the partner's Nil with the one card that can", "KH 3H",
                     {{West, "5H"}, {North, "QH"}}, {0, 3, 4, 3}, {0, 1, 1, 1}, "KH"},
        TPartnerCase{"high ahead of the partner's Nil", "KH 4H 2C", {{East, "10H"}}, {0, 3, 4, 3}, {0, 1, 1, 1},
                     "KH"},
        TPartnerCase{"leading high for the partner's Nil", "AD 4D 3C", {}, {0, 3, 4, 3}, {0, 1, 1, 1}, "AD"},
        TPartnerCase{"setting the other side's Nil", "KH 5H", {{West, "3H"}, {North, "2H"}, {East, "9H"}},
                     {2, 0, 2, 3}, {2, 0, 2, 1}, "5H"},
        TPartnerCase{"no trump over the other side's Nil", "2S 7C 9D", {{West, "3H"}, {North, "2H"}, {East, "9H"}},
                     {2, 0, 2, 3}, {2, 0, 2, 1}, "9D"}));

}  // namespace
