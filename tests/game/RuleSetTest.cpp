#include <gmock/gmock.h>

#include "ClassicRules.h"
#include "Expert.h"
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

// ---- The computer players beside a partner ----------------------------------------------------

enum TWho : unsigned { ClassicOnly = 1, ExpertOnly = 2, Both = 3 };

struct TPartnerCase {
    const char* name;
    unsigned who;       // the players the case checks
    const char* rules;  // beside variant=partnership
    const char* hand;   // South's, still held
    // The hand so far in order of play ("W:5H N:KH"), South next; the first seat
    // led. Empty: the first seat bids first, and South leads or bids.
    const char* plays;
    int first;
    int bidsMade;                  // in order from the first seat; 4 while playing
    std::array<int, 4> bids;       // North, East, South, West
    int sideBags;                  // North-South's bags so far
    const char* expected;          // the cards that are right, or "a contract" for a bid
};

struct TPlay {
    int seat, card;
};

std::vector<TPlay> PlaysOf(const std::string& text)
{
    std::vector<TPlay> plays;
    std::istringstream in(text);
    for (std::string word; in >> word;)
        plays.push_back({static_cast<int>(std::string_view("?NESW").find(word[0])), Card(word.substr(2))});
    return plays;
}

// The highest spade, else the highest card of the suit led.
int WinnerOf(const TPlay* trick)
{
    const auto strength = [&](int card) {
        const int suit = CardSuit(static_cast<uint8_t>(card)), rank = CardRank(static_cast<uint8_t>(card));
        const int high = rank == Ace ? 14 : rank;
        return suit == Spades ? 200 + high : suit == CardSuit(static_cast<uint8_t>(trick[0].card)) ? 100 + high : 0;
    };
    return std::max_element(trick, trick + 4, [&](const TPlay& a, const TPlay& b) {
               return strength(a.card) < strength(b.card);
           })->seat;
}

std::string BidText(int bid) { return bid == 0 ? "Nil" : bid == BlindNilBid ? "Blind Nil" : "a contract"; }

class PartnerCases : public ::testing::TestWithParam<TPartnerCase> {};

TEST_P(PartnerCases, ThePlayersPlayForTheSide)
{
    const TPartnerCase& c = GetParam();
    const TRuleSet rules = Rules((std::string("variant=partnership ") + c.rules).c_str());
    const std::vector<TPlay> plays = PlaysOf(c.plays);
    const size_t done = plays.size() / 4 * 4;
    std::array<int, 5> tricks{};
    for (size_t i = 0; i < done; i += 4)
        ++tricks[static_cast<size_t>(WinnerOf(&plays[i]))];
    const bool bidding = c.bidsMade < 4;
    const std::vector<std::string> right = [&] {
        std::vector<std::string> words;
        std::istringstream in(c.expected);
        for (std::string word; in >> word;)
            words.push_back(word);
        return std::string_view(c.expected) == "a contract" ? std::vector<std::string>{c.expected} : words;
    }();
    const auto bidAt = [&](int seat) { return c.bids[static_cast<size_t>(seat - 1)]; };

    if (c.who & ClassicOnly) {
        TTestTable t;
        t.Table.Rules = rules.Table;
        TPlayer& south = t.Give(South, c.hand);
        for (int seat = North; seat <= West; ++seat) {
            t.Seat(seat).FBid = bidAt(seat);
            t.Seat(seat).FTricks = tricks[static_cast<size_t>(seat)];
            t.Seat(seat).FTotalBags = seat % 2 == 1 ? c.sideBags : 0;
        }
        for (size_t i = 0; i < plays.size(); ++i) {
            t.Table.SpadesBroken = t.Table.SpadesBroken || CardSuit(static_cast<uint8_t>(plays[i].card)) == Spades;
            if (i < done)
                t.Table.CardsPlayed[static_cast<size_t>(plays[i].card)] = true;
            else
                t.Lay(plays[i].seat, CardText(plays[i].card));
        }
        RecomputeNilInPlay(t.Table);
        const std::string got = bidding ? BidText(ClassicBidBeside(south, c.first == North && c.bidsMade >= 1))
                                        : t.At(South, ClassicSlot(south));
        EXPECT_THAT(right, ::testing::Contains(got)) << c.name << ": the classic computer";
    }
    if (c.who & ExpertOnly) {
        TExpertView view;
        view.Seat = South;
        view.Kind.fill(TSeatKind::Human);  // nobody whose habits are known
        view.Kind[South] = TSeatKind::Expert;
        for (int card : Cards(c.hand))
            view.Held |= CardBit(card);
        view.Order = TurnOrderFrom(c.first);
        view.BidCount = c.bidsMade;
        for (int seat = North; seat <= West; ++seat) {
            if (view.HasBid(seat))
                view.Bid[static_cast<size_t>(seat)] = bidAt(seat);
            view.Tricks[static_cast<size_t>(seat)] = tricks[static_cast<size_t>(seat)];
            view.TotalBags[static_cast<size_t>(seat)] = seat % 2 == 1 ? c.sideBags : 0;
        }
        for (const TPlay& play : plays)
            view.Plays[static_cast<size_t>(view.PlayCount++)] = {static_cast<uint8_t>(play.seat),
                                                                 static_cast<uint8_t>(play.card)};
        view.Rules = rules;
        view.WinScore = rules.WinScore;
        view.GameSeed = 2027;
        TExpertPlayer expert;
        const std::string got = bidding ? BidText(expert.ChooseBid(view)) : CardText(expert.ChooseCard(view));
        EXPECT_THAT(right, ::testing::Contains(got)) << c.name << ": the Expert";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Positions, PartnerCases,
    ::testing::Values(
        TPartnerCase{"partner winning: no overtaking", Both, "", "AH 3H 4S 7S 2C 5C 8C JC 3D 6D 9D QD KD",
                     "W:5H N:KH E:2H", West, 4, {3, 3, 3, 3}, 0, "3H"},
        TPartnerCase{"partner winning: no trumping", Both, "", "2S 6S 9S JS 4C 7C 9C QC 3D 6D 8D JD KD",
                     "W:5H N:KH E:2H", West, 4, {3, 3, 3, 3}, 0, "3D 4C 6D 7C 8D 9C JD QC KD"},
        TPartnerCase{"overtaking when it must", Both, "", "9H 2S 5S 8S 3C 6C 9C QC 4D 7D 10D KD AD", "N:5H E:2H",
                     North, 4, {3, 3, 3, 3}, 0, "9H"},
        TPartnerCase{"covering the partner's Nil with the one card that can", Both, "",
                     "KH 3H 4S 8S JS 2C 6C 9C KC 5D 7D 10D QD", "W:5H N:QH E:2H", West, 4, {0, 3, 4, 3}, 0, "KH"},
        // The Expert still plays low in the next two: its playouts do not yet see the cover.
        TPartnerCase{"high ahead of the partner's Nil", ClassicOnly, "", "KH 4H 2C 6C 9C JC 3D 5D 8D QD 2S 7S 10S",
                     "E:10H", East, 4, {0, 3, 4, 3}, 0, "KH"},
        TPartnerCase{"leading high for the partner's Nil", ClassicOnly, "", "AD 4D 3C 5C 10C 2H 6H 8H 3S 5S 7S 9S JS", "",
                     South, 4, {0, 3, 4, 3}, 0, "AD"},
        TPartnerCase{"setting the other side's Nil", Both, "", "KH 5H 2S 4S 8S 3C 7C 10C JC 2D 6D 9D QD",
                     "W:3H N:2H E:9H", West, 4, {2, 0, 2, 3}, 0, "5H"},
        TPartnerCase{"no trump over the other side's Nil", Both, "", "2S 4S 6S 8S 10S 7C 9C JC 3D 5D 9D QD KD",
                     "W:3H N:2H E:9H", West, 4, {2, 0, 2, 3}, 0, "7C 9C JC 3D 5D 9D QD KD"},
        // The contract is made and the side holds nine bags: a tenth costs 100.
        TPartnerCase{"no Nil beside the partner's Nil", Both, "", "2S 3S 4S 2H 3H 4H 5H 2C 3C 4C 2D 3D 4D", "",
                     North, 2, {0, 3, 0, 0}, 0, "a contract"}),
    [](const ::testing::TestParamInfo<TPartnerCase>& info) {
        std::string name = info.param.name;
        for (char& ch : name)
            if (!std::isalnum(static_cast<unsigned char>(ch)))
                ch = '_';
        return name;
    });

}  // namespace
