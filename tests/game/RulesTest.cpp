#include <gmock/gmock.h>

#include "Rules.h"
#include "ScoreSheet.h"
#include "TestTable.h"

using namespace spades;
using namespace spades::testing;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

TEST(TurnOrder, NewGameStartsWithSouth)
{
    EXPECT_THAT(NewGameOrder, ElementsAre(0, South, West, North, East));
}

TEST(TurnOrder, GoesClockwiseFromTheFirstSeat)
{
    EXPECT_THAT(TurnOrderFrom(East), ElementsAre(0, East, South, West, North));
    EXPECT_THAT(TurnOrderFrom(West), ElementsAre(0, West, North, East, South));
    EXPECT_THAT(TurnOrderFrom(North), ElementsAre(0, North, East, South, West));
    EXPECT_EQ(NextSeat(West), North);
}

// ---- The trick winner ---------------------------------------------------------------------------

struct TTrickCase {
    const char* cards;  // in order of play: North leads, then East, South, West
    int winner;
};

class TrickWinnerCases : public ::testing::TestWithParam<TTrickCase> {};

TEST_P(TrickWinnerCases, FindsTheWinningSeat)
{
    TTestTable t;
    std::istringstream in(GetParam().cards);
    int seat = North;
    for (std::string card; in >> card; seat = NextSeat(seat))
        t.Lay(seat, card);
    EXPECT_EQ(TrickWinner(t.Table), GetParam().winner) << GetParam().cards;
}

INSTANTIATE_TEST_SUITE_P(Tricks, TrickWinnerCases,
                         ::testing::Values(TTrickCase{"7H KH AD 2S", West},   // the only spade
                                           TTrickCase{"QC AC KC 3H", East},   // the Ace ranks above the King
                                           TTrickCase{"5S 9S AS KH", South},  // the Ace of spades
                                           TTrickCase{"2D 3D 4D 5D", West},
                                           TTrickCase{"KD AH AC AS", West},   // off-suit Aces never win
                                           TTrickCase{"9H AD AC QH", West},
                                           TTrickCase{"9H 3S 2S QH", East},   // highest spade, not first
                                           TTrickCase{"AH 2H 3H 4H", North},
                                           TTrickCase{"2C 10C JC 9C", South}));

// ---- What a person may play ----------------------------------------------------------------------

struct TLegalCase {
    const char* hand;
    const char* table;  // cards already laid
    bool spadesBroken;
    const char* card;
    TPlayVerdict verdict;
};

class CheckPlayCases : public ::testing::TestWithParam<TLegalCase> {};

TEST_P(CheckPlayCases, JudgesTheClickedCard)
{
    const TLegalCase& c = GetParam();
    TTestTable t;
    TPlayer& south = t.Give(South, c.hand);
    std::istringstream in(c.table);
    int seat = East;
    for (std::string card; in >> card; seat = NextSeat(seat))
        t.Lay(seat, card);
    t.Table.SpadesBroken = c.spadesBroken;
    EXPECT_EQ(CheckPlay(t.Table, south, Card(c.card)), c.verdict) << c.hand << " / " << c.table << " / " << c.card;
}

INSTANTIATE_TEST_SUITE_P(
    Clicks, CheckPlayCases,
    ::testing::Values(TLegalCase{"2S 5H", "", false, "2S", TPlayVerdict::SpadesNotOpened},
                      TLegalCase{"2S 5H", "", false, "5H", TPlayVerdict::Legal},
                      TLegalCase{"2S 5S", "", false, "2S", TPlayVerdict::Legal},  // nothing but spades
                      TLegalCase{"2S 5H", "", true, "2S", TPlayVerdict::Legal},
                      TLegalCase{"3H 4C", "9H", false, "4C", TPlayVerdict::MustFollowSuit},
                      TLegalCase{"3H 4C", "9H", false, "3H", TPlayVerdict::Legal},
                      TLegalCase{"4C 2S", "9H", false, "4C", TPlayVerdict::Legal},  // void: anything goes
                      TLegalCase{"4C 2S", "9H", false, "2S", TPlayVerdict::Legal},  // trumping while closed
                      TLegalCase{"3H 2S", "9H", false, "2S", TPlayVerdict::MustFollowSuit},
                      TLegalCase{"3S 4H", "9S", false, "4H", TPlayVerdict::MustFollowSuit},
                      TLegalCase{"3S 4H", "9H KH 2S", false, "3S", TPlayVerdict::MustFollowSuit}));

TEST(CheckPlay, TrumpingOpensSpadesForLaterLeads)
{
    TTestTable t;
    TPlayer& south = t.Give(South, "2S 3S 4C");
    t.Lay(East, "9H");
    ASSERT_EQ(CheckPlay(t.Table, south, Card("2S")), TPlayVerdict::Legal);
    south.PlayCard("imgPlayer31");
    EXPECT_TRUE(t.Table.SpadesBroken);
    for (int place = 1; place <= 4; ++place)
        t.Table.Place(place).Clear();
    EXPECT_EQ(CheckPlay(t.Table, south, Card("3S")), TPlayVerdict::Legal);
}

TEST(VerdictText, UsesTheTablesMessages)
{
    EXPECT_EQ(VerdictText(TPlayVerdict::MustFollowSuit), "You must follow suit");
    EXPECT_EQ(VerdictText(TPlayVerdict::SpadesNotOpened), "Spades have not been opened!");
    EXPECT_TRUE(VerdictText(TPlayVerdict::Legal).empty());
}

// ---- Tricks, bags and the nil flag -------------------------------------------------------------------

TEST(CountTrick, BagsAreTheOvertricksOfAPositiveBid)
{
    TTestTable t;
    TPlayer& seat = t.Seat(East);
    seat.FBid = 4;
    std::vector<int> bags;
    for (int trick = 0; trick < 6; ++trick) {
        CountTrick(seat);
        bags.push_back(seat.FBags);
    }
    EXPECT_EQ(seat.FTricks, 6);
    EXPECT_THAT(bags, ElementsAre(0, 0, 0, 0, 1, 2));

    TPlayer& nil = t.Seat(West);
    nil.FBid = 0;
    CountTrick(nil);
    CountTrick(nil);
    EXPECT_EQ(nil.FTricks, 2);
    EXPECT_EQ(nil.FBags, 0) << "a nil bidder collects no bags";
}

TEST(NilInPlay, StaysWhileSomeNilBidderHasNoTrick)
{
    TTestTable t;
    for (int seat = 1; seat <= 4; ++seat)
        t.Seat(seat).FBid = 3;
    RecomputeNilInPlay(t.Table);
    EXPECT_FALSE(t.Table.NilInPlay);
    t.Seat(North).FBid = 0;
    t.Seat(South).FBid = 0;
    RecomputeNilInPlay(t.Table);
    EXPECT_TRUE(t.Table.NilInPlay);
    CountTrick(t.Seat(North));
    RecomputeNilInPlay(t.Table);
    EXPECT_TRUE(t.Table.NilInPlay) << "South's nil is still alive";
    CountTrick(t.Seat(South));
    RecomputeNilInPlay(t.Table);
    EXPECT_FALSE(t.Table.NilInPlay);
}

TEST(HandOverTest, FollowsNorthsCards)
{
    TTestTable t;
    t.Give(North, "2S");
    EXPECT_FALSE(HandOver(t.Table));
    t.Seat(North).PlayCard("imgPlayer11");
    EXPECT_TRUE(HandOver(t.Table));
}

// ---- Scoring -------------------------------------------------------------------------------------------

struct TScoreCase {
    int bid;
    int tricks;
    int bags;
    int score;
};

class ScoreHandCases : public ::testing::TestWithParam<TScoreCase> {};

TEST_P(ScoreHandCases, ScoresOneSeat)
{
    TTestTable t;
    for (int seat = 1; seat <= 4; ++seat)
        t.Seat(seat).FBid = 1;
    TPlayer& east = t.Seat(East);
    east.FBid = 0;
    for (int i = 0; i < GetParam().tricks; ++i)
        CountTrick(east);
    east.FBid = GetParam().bid;
    east.FBags = GetParam().bags;
    east.FScore = 50;
    const TScoreResult result = ScoreHand(t.Table, 250);
    EXPECT_EQ(east.FScore - 50, GetParam().score);
    EXPECT_EQ(east.FTotalBags, GetParam().bags);
    EXPECT_THAT(result.Notices, IsEmpty());
    EXPECT_EQ(result.WinnerSeat, 0);
}

INSTANTIATE_TEST_SUITE_P(Contracts, ScoreHandCases,
                         ::testing::Values(TScoreCase{4, 4, 0, 40}, TScoreCase{4, 7, 3, 43}, TScoreCase{4, 3, 0, -40},
                                           TScoreCase{13, 13, 0, 130}, TScoreCase{1, 0, 0, -10},
                                           TScoreCase{0, 0, 0, 100}, TScoreCase{0, 1, 0, -100},
                                           TScoreCase{0, 5, 0, -100}, TScoreCase{2, 13, 11, 31}));

TEST(ScoreHand, BagLimitChargesEveryHandOnceReached)
{
    TTestTable t;
    TPlayer& south = t.Seat(South);
    south.SetName("Zoë");
    south.FTotalBags = 98;
    south.FBid = 2;
    south.FTricks = 4;
    south.FBags = 2;
    TScoreResult result = ScoreHand(t.Table, 250);
    EXPECT_EQ(south.FTotalBags, 100);
    EXPECT_EQ(south.FScore, 22 - 100);
    EXPECT_THAT(result.Notices, ElementsAre("Zoë Exceeded bag limit:\rYou lose 100 points."));

    // Next hand, no overtricks: charged again; the total is not reduced.
    for (int seat = 1; seat <= 4; ++seat) {
        t.Seat(seat).FBid = 1;
        t.Seat(seat).FTricks = 1;
        t.Seat(seat).FBags = 0;
    }
    result = ScoreHand(t.Table, 250);
    EXPECT_EQ(south.FTotalBags, 100);
    EXPECT_EQ(south.FScore, 22 - 100 + 10 - 100);
    EXPECT_THAT(result.Notices, ElementsAre("Zoë Exceeded bag limit:\rYou lose 100 points."));
}

TEST(ScoreSheet, SplitsEveryHandIntoContractBagsAndPenalty)
{
    TTestTable t;
    TScoreSheet sheet;
    TPlayer& south = t.Seat(South);
    TPlayer& west = t.Seat(West);
    south.FTotalBags = 97;  // near the limit; the sheet counts the bags of its own hands
    // Hand 1: South makes 2 with 2 bags (99 in all), West's Nil is set.
    south.FBid = 2, south.FTricks = 4, south.FBags = 2;
    west.FBid = 0, west.FTricks = 1;
    ScoreHand(t.Table, 250);
    sheet.AddHand(t.Table);
    // Hand 2: South's one bag reaches the limit; West makes its Nil.
    south.FBid = 3, south.FTricks = 4, south.FBags = 1;
    west.FBid = 0, west.FTricks = 0;
    ScoreHand(t.Table, 250);
    sheet.AddHand(t.Table);

    ASSERT_EQ(sheet.Hands().size(), 2u);
    const auto& first = sheet.Hands()[0];
    const auto& second = sheet.Hands()[1];
    EXPECT_EQ(first.Number, 1);
    EXPECT_EQ(second.Number, 2);
    EXPECT_EQ(first.Seat(South), (TSheetEntry{2, 4, 22, 0, 2, 2, 22}));
    EXPECT_EQ(first.Seat(West), (TSheetEntry{0, 1, -100, 0, 0, 0, -100}));
    EXPECT_EQ(second.Seat(South), (TSheetEntry{3, 4, 31, -100, 1, 3, 22 + 31 - 100}));
    EXPECT_EQ(second.Seat(West), (TSheetEntry{0, 0, 100, 0, 0, 0, 0}));
}

TEST(ScoreHand, NoticesComeInSeatOrder)
{
    TTestTable t;
    for (int seat = 1; seat <= 4; ++seat) {
        t.Seat(seat).FBid = 1;
        t.Seat(seat).FTricks = 1;
    }
    t.Seat(West).FTotalBags = 100;
    t.Seat(East).FTotalBags = 150;
    const TScoreResult result = ScoreHand(t.Table, 250);
    EXPECT_THAT(result.Notices, ElementsAre("East Exceeded bag limit:\rYou lose 100 points.",
                                            "West Exceeded bag limit:\rYou lose 100 points."));
}

struct TWinCase {
    std::array<int, 5> scores;  // before the hand; every seat then makes a bid of 1 (+10)
    int winScore;
    int winner;
};

class WinTestCases : public ::testing::TestWithParam<TWinCase> {};

TEST_P(WinTestCases, HighestAtOrAboveTheTargetWinsLowerSeatOnTies)
{
    TTestTable t;
    for (int seat = 1; seat <= 4; ++seat) {
        t.Seat(seat).FBid = 1;
        t.Seat(seat).FTricks = 1;
        t.Seat(seat).FScore = GetParam().scores[static_cast<size_t>(seat)] - 10;
    }
    const TScoreResult result = ScoreHand(t.Table, GetParam().winScore);
    EXPECT_EQ(result.WinnerSeat, GetParam().winner);
    EXPECT_EQ(result.WinnerName, GetParam().winner ? t.Seat(GetParam().winner).FName : "");
}

INSTANTIATE_TEST_SUITE_P(Scores, WinTestCases,
                         ::testing::Values(TWinCase{{0, 100, 262, 270, 0}, 250, South},
                                           TWinCase{{0, 100, 262, 262, 0}, 250, East},
                                           TWinCase{{0, 250, 0, 0, 0}, 250, North},
                                           TWinCase{{0, 249, 240, 200, 100}, 250, 0},
                                           TWinCase{{0, 400, 499, 0, 0}, 500, 0},
                                           TWinCase{{0, 300, 320, 0, 510}, 500, West},
                                           TWinCase{{0, 300, 0, 0, 0}, 300, North}));

TEST(Notices, WinnerText)
{
    EXPECT_EQ(WinnerNotice("West"), "West has won the game.");
}

}  // namespace
