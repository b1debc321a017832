#include <gmock/gmock.h>

#include "TestTable.h"

using namespace spades;
using namespace spades::testing;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

// South chooses; the cards already on the table were laid by the seats before it
// in clockwise order. A card written "4H!" was laid by a seat that bid nil.
struct TChoiceCase {
    const char* name;
    const char* hand;
    const char* table;
    const char* playedBefore;  // cards of earlier tricks
    bool nilInPlay;
    bool spadesBroken;
    int bid;  // South's bid
    const char* expected;
};

std::string Describe(const ::testing::TestParamInfo<TChoiceCase>& info) { return info.param.name; }

class ChooseCardCases : public ::testing::TestWithParam<TChoiceCase> {};

TEST_P(ChooseCardCases, PlaysTheExpectedCard)
{
    const TChoiceCase& c = GetParam();
    TTestTable t;
    for (int seat = 1; seat <= 4; ++seat)
        t.Seat(seat).FBid = 3;
    TPlayer& south = t.Give(South, c.hand);
    south.FBid = c.bid;
    t.Played(c.playedBefore);
    t.Table.NilInPlay = c.nilInPlay;
    t.Table.SpadesBroken = c.spadesBroken;

    std::vector<std::string> cards;
    std::istringstream in(c.table);
    for (std::string word; in >> word;)
        cards.push_back(word);
    const int k = static_cast<int>(cards.size());
    for (int i = 0; i < k; ++i) {
        const int seat = ((3 - k + i - 1) % 4 + 4) % 4 + 1;
        std::string card = cards[static_cast<size_t>(i)];
        if (card.back() == '!') {
            card.pop_back();
            t.Seat(seat).FBid = 0;
        }
        t.Lay(seat, card);
    }

    const int slot = south.ChooseCard();
    ASSERT_GE(slot, 1);
    ASSERT_LE(slot, 13);
    EXPECT_EQ(t.At(South, slot), c.expected);
    EXPECT_THAT(t.Host.Messages, IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Follow, ChooseCardCases,
    ::testing::Values(
        TChoiceCase{"WinsCheaplyWhileTheAceIsOut", "KH 10H 3H 5C", "5H 9H", "", false, false, 3, "10H"},
        TChoiceCase{"KingIsTopOnceTheAceIsGone", "KH 10H 3H 5C", "5H 9H", "AH 2H 4H 6H", false, false, 3, "KH"},
        TChoiceCase{"FourthSeatWinsCheaply", "KH 10H 3H 5C", "5H 9H 7H", "AH 2H 4H 6H", false, false, 3, "10H"},
        TChoiceCase{"FourthSeatKeepsItsAce", "AH 10H 3H", "5H 9H 7H", "", false, false, 3, "AH"},
        TChoiceCase{"AceOnTheTablePlaysLow", "KH 10H 3H", "AH 9H", "", false, false, 3, "3H"},
        TChoiceCase{"CannotWinPlaysLow", "10H 3H", "5H QH", "", false, false, 3, "3H"},
        TChoiceCase{"TrumpedTrickPlaysLow", "KH 3H", "5H 2S", "", false, false, 3, "3H"},
        TChoiceCase{"VoidTrumpsWithTheLowestSpade", "4S QS 5C 9C", "5H", "", false, false, 3, "4S"},
        TChoiceCase{"VoidOvertrumpsCheaply", "4S QS 5C 9C", "5H 6S", "", false, false, 3, "QS"},
        TChoiceCase{"AceOfSpadesOnTableAnySpadeQualifies", "4S QS 5C 9C", "5H AS", "", false, false, 3, "4S"},
        TChoiceCase{"NoSpadeBeatsTheTableDiscards", "3S 5S 5C 9C 2D 6D 8D", "5H 6S", "", false, false, 3, "5C"},
        TChoiceCase{"RunFromTheKingKeepsTheNextCard", "QH 10H", "5H 9H", "KH 2H 3H", false, false, 3, "QH"},
        TChoiceCase{"AceAndKingGoneStillWinsCheaply", "QH 10H", "5H 9H", "AH KH", false, false, 3, "10H"},
        TChoiceCase{"BrokenRunWinsCheaply", "QH 10H", "5H 9H", "AH 2H 3H", false, false, 3, "10H"},
        TChoiceCase{"SpadeLeadFollowsInSpades", "3S 9S KS 2H", "5S", "", false, true, 3, "9S"},
        TChoiceCase{"SpadeLeadVoidDiscards", "2H 3H 4C", "5S", "", false, true, 3, "4C"},
        TChoiceCase{"FollowsLowWhenOverTopIsPointless", "JH 2H", "QH", "", false, false, 3, "2H"}),
    Describe);

INSTANTIATE_TEST_SUITE_P(
    Lead, ChooseCardCases,
    ::testing::Values(
        TChoiceCase{"KingAfterTheAce", "KH 4H 2C 3C 5C 2D 3D 6D", "", "AH", false, false, 3, "KH"},
        TChoiceCase{"LowFromTheShortestSuit", "KH 4H 2C 3C 5C 2D 3D 6D", "", "", false, false, 3, "4H"},
        TChoiceCase{"QueenAfterAceAndKing", "QH 4H 2C 3C 5C 2D 3D 6D", "", "AH KH", false, false, 3, "QH"},
        TChoiceCase{"QueenWithOnlyTheAceGone", "QH 4H 2C 3C 5C 2D 3D 6D", "", "AH", false, false, 3, "4H"},
        TChoiceCase{"SideAceWhileSpadesAreClosed", "AS 4S 9H 2C 3C AD", "", "", false, false, 3, "AD"},
        TChoiceCase{"SpadeAceOnceBroken", "AS 4S 9H 2C 3C AD", "", "", false, true, 3, "AS"},
        TChoiceCase{"OnlySpadesLeft", "9S AS 3S", "", "", false, false, 3, "3S"},
        TChoiceCase{"JudgedOnTheSingleHighestCard", "KD 2D QC 3H", "", "AC KC", false, false, 3, "3H"},
        TChoiceCase{"KingOfDiamondsAfterItsAce", "KD 2D QC 3H", "", "AD", false, false, 3, "KD"},
        TChoiceCase{"NilAliveLeadsLowest", "AS 2H 2C 5D", "", "", true, false, 3, "2H"},
        TChoiceCase{"NilAliveLeadsNoClosedSpade", "2S AH 5C 5D", "", "", true, false, 3, "5C"},
        TChoiceCase{"NilAliveLeadsALowSpadeOnceBroken", "2S AH 5C 5D", "", "", true, true, 3, "2S"}),
    Describe);

INSTANTIATE_TEST_SUITE_P(
    FollowWhileNil, ChooseCardCases,
    ::testing::Values(
        TChoiceCase{"CoverTheNilBidderHigh", "3H 10H QH", "9H 4H!", "", true, false, 3, "QH"},
        TChoiceCase{"NoNilCardStaysUnder", "3H 10H QH", "9H JH", "", true, false, 3, "10H"},
        TChoiceCase{"NilBidderDucksWithTheAce", "3H 10H AH", "9H", "", true, false, 0, "AH"},
        TChoiceCase{"NilBidderDucksUnderTheSpade", "3S 7S KS 2C", "5H 6S", "", true, false, 0, "3S"},
        TChoiceCase{"OthersOvertrumpTheSpade", "3S 7S KS 2C", "5H 6S", "", true, false, 3, "7S"},
        TChoiceCase{"TrumpedShedsTheHighestOfTheSuit", "3H JH 2C", "5H 6S", "", true, false, 3, "JH"},
        TChoiceCase{"AceOnTableShedsHighest", "3H JH", "AH", "", true, false, 0, "JH"},
        TChoiceCase{"NothingBelowPlaysLowest", "JH QH", "9H", "", true, false, 0, "JH"},
        TChoiceCase{"VoidDiscardsTheHighestCard", "2C KD 4D", "9H", "", true, false, 0, "KD"},
        TChoiceCase{"OnlyClosedSpadesLeftPlaysTheLowest", "9S 4S KS", "5H", "", true, false, 0, "4S"},
        TChoiceCase{"OnlyTheFirstNilCardIsExamined", "3H 10H QH", "9H! 4H!", "", true, false, 3, "3H"}),
    Describe);

// ---- Queries -------------------------------------------------------------------------------------

TEST(HighestOnTable, StopsAtTheAceAndIgnoresOtherSuits)
{
    TTestTable t;
    EXPECT_EQ(HighestOnTable(t.Table, Hearts), -1);
    t.Lay(West, "5H");
    t.Lay(North, "KS");
    t.Lay(East, "9H");
    EXPECT_EQ(HighestOnTable(t.Table, Hearts), 9);
    EXPECT_EQ(HighestOnTable(t.Table, Spades), 13);
    EXPECT_EQ(HighestOnTable(t.Table, Clubs), -1);
    t.Lay(South, "AH");
    EXPECT_EQ(HighestOnTable(t.Table, Hearts), 1);
}

TEST(PlayedRunFromTop, WalksDownFromTheKing)
{
    TTestTable t;
    EXPECT_EQ(PlayedRunFromTop(t.Table, Clubs), -1);
    t.Played("QC JC");
    EXPECT_EQ(PlayedRunFromTop(t.Table, Clubs), -1) << "the King is still out";
    t.Played("KC");
    EXPECT_EQ(PlayedRunFromTop(t.Table, Clubs), 11);
    t.Played("2C 3C 4C 5C 6C 7C 8C 9C 10C");
    EXPECT_EQ(PlayedRunFromTop(t.Table, Clubs), 2);
    t.Played("AC");
    EXPECT_EQ(PlayedRunFromTop(t.Table, Clubs), 14);
    EXPECT_EQ(PlayedRunFromTop(t.Table, Hearts), -1);
}

TEST(HandQueries, FindSlotsByRankAndSuit)
{
    TTestTable t;
    TPlayer& seat = t.Give(South, "3H 10H QH AH 4C");
    EXPECT_EQ(t.At(South, seat.CheapestAbove(3, Hearts)), "10H");
    EXPECT_EQ(seat.CheapestAbove(12, Hearts), -1) << "the Ace is rank 1 here";
    EXPECT_EQ(t.At(South, seat.HighestBelow(12, Hearts)), "AH");
    EXPECT_EQ(seat.HighestBelow(1, Hearts), -1);
    EXPECT_EQ(t.At(South, seat.HighestOfSuit(Hearts)), "AH");
    EXPECT_EQ(t.At(South, seat.LowestOfSuit(Hearts)), "3H");
    EXPECT_EQ(seat.HighestOfSuit(Spades), -1);
    EXPECT_EQ(seat.LowestOfSuit(Diamonds), -1);
    seat.PlayCard("imgPlayer34");
    EXPECT_EQ(t.At(South, seat.HighestOfSuit(Hearts)), "QH") << "played slots are skipped";
}

TEST(HandQueries, SlotsBySuitMatchAPlainScanOfAnyHand)
{
    // Unsorted hands with played and empty slots: every suit's highest and lowest
    // slot is the one a slot-by-slot scan finds.
    TTestTable t;
    TPlayer& seat = t.Seat(South);
    TRandom random(2718);
    for (int trial = 0; trial < 500; ++trial) {
        for (int slot = 1; slot <= 13; ++slot) {
            const uint32_t pick = random.Below(60);
            seat.FHand[static_cast<size_t>(slot)] = pick < 52 ? static_cast<int>(pick) + 1 : pick < 56 ? NoCard : 0;
        }
        for (int suit = Spades; suit <= Diamonds; ++suit) {
            int lowest = -1, highest = -1;
            for (int slot = 1; slot <= 13; ++slot) {
                const int card = seat.FHand[static_cast<size_t>(slot)];
                if (card >= 1 && card <= 52 && CardSuit(static_cast<uint8_t>(card)) == suit) {
                    lowest = lowest == -1 ? slot : lowest;
                    highest = slot;
                }
            }
            ASSERT_EQ(seat.LowestOfSuit(suit), lowest) << "trial " << trial << " suit " << suit;
            ASSERT_EQ(seat.HighestOfSuit(suit), highest) << "trial " << trial << " suit " << suit;
        }
        EXPECT_EQ(seat.LowestOfSuit(NoSuit), -1);
    }
}

TEST(HighestCard, TakesTheFirstAceOrTheEarliestHighest)
{
    TTestTable t;
    TPlayer& seat = t.Give(South, "KS 10H KC KD");
    EXPECT_EQ(t.At(South, seat.HighestCard()), "KC") << "spades closed: the earlier of equal Kings";
    t.Table.SpadesBroken = true;
    EXPECT_EQ(t.At(South, seat.HighestCard()), "KS");
    TPlayer& aces = t.Give(West, "2S AH AD");
    EXPECT_EQ(t.At(West, aces.HighestCard()), "AH");
    t.Table.SpadesBroken = false;
    TPlayer& spades = t.Give(North, "2S AS");
    EXPECT_EQ(spades.HighestCard(), -1);
}

TEST(ChooseDiscard, LowestOfTheShortestSideSuit)
{
    TTestTable t;
    TPlayer& seat = t.Give(South, "9H KH 3C QC 4D 5D 6D");
    EXPECT_EQ(t.At(South, seat.ChooseDiscard()), "9H") << "hearts and clubs tie: hearts";
    TPlayer& withAce = t.Give(East, "2S AH KH QD JD 10D");
    EXPECT_EQ(t.At(East, withAce.ChooseDiscard()), "KH") << "the Ace counts highest";
    TPlayer& twoAces = t.Give(North, "AH AC");
    t.Table.NilInPlay = true;
    EXPECT_EQ(t.At(North, twoAces.ChooseDiscard()), "AC") << "of two Aces the later";
    TPlayer empty(t.Host, t.Table);
    for (int slot = 1; slot <= 13; ++slot)
        empty.FHand[static_cast<size_t>(slot)] = NoCard;
    EXPECT_EQ(empty.ChooseDiscard(), -1);
}

TEST(ChooseDiscard, WholeHandWhileANilIsAlive)
{
    TTestTable t;
    TPlayer& seat = t.Give(South, "2S 9H KH 3C QC");
    EXPECT_EQ(t.At(South, seat.ChooseDiscard()), "9H");
    t.Table.NilInPlay = true;
    EXPECT_EQ(t.At(South, seat.ChooseDiscard()), "3C") << "a lead keeps closed spades back";
    t.Lay(East, "5D");
    EXPECT_EQ(t.At(South, seat.ChooseDiscard()), "2S") << "void in the led suit: any card";
}

TEST(FollowCheck, ReportsAHandRecordThatDisagrees)
{
    TTestTable t;
    TPlayer& south = t.Give(South, "5C 9C 2D");
    south.FSuitCount[Hearts] = 5;  // a damaged record: says hearts are held
    t.Lay(East, "5H");
    const int slot = south.ChooseCard();
    EXPECT_EQ(t.At(South, slot), "2D") << "the choice stands";
    EXPECT_THAT(t.Host.Messages, ElementsAre("Internal Error: Did not follow suit\rPlayer=South\rLead Suit=Hearts\r"
                                             "# In Hand=5\rCard Played=2 of Diamonds"));
}

}  // namespace
