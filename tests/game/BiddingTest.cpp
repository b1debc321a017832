#include <gmock/gmock.h>

#include "TestTable.h"

using namespace spades;
using namespace spades::testing;

namespace {

struct TBidCase {
    const char* hand;
    int bid;
    const char* why;
};

class ComputeBidCases : public ::testing::TestWithParam<TBidCase> {};

TEST_P(ComputeBidCases, CountsTheHand)
{
    TTestTable t;
    TPlayer& seat = t.Give(East, GetParam().hand);
    ASSERT_EQ(seat.FCardCount, 13) << "a bid is made on a full hand";
    seat.FBid = 99;
    seat.ComputeBid();
    EXPECT_EQ(seat.FBid, GetParam().bid) << GetParam().why;
}

INSTANTIATE_TEST_SUITE_P(
    Hands, ComputeBidCases,
    ::testing::Values(
        TBidCase{"2S 3S 4S 5S 6S 7S 8S 9S 10S JS QS KS AS", 11, "honours 4, three voids 3, long spades 4"},
        TBidCase{"AS KS QS JS 2H 3H 4H 2C 3C 4C 2D 3D 4D", 4, "the honours use up the spade length"},
        TBidCase{"2S 3S 4S 5S 6S 7S 2H 3H 4H 2C 3C 2D 3D", 4, "two doubletons, then two long spades"},
        TBidCase{"2S 3S 4S AH 2H 3H 4H KC 2C 2D 3D 4D 5D", 3, "Ace, King of a two-card suit, one doubleton"},
        TBidCase{"KS KH 2C 3C 4C 5C 6C 2D 3D 4D 5D 6D 7D", 1,
                 "lone Kings count nothing; Kings are too high for nil, so 1"},
        TBidCase{"2S 3S 4H 5H 6H 7H 2C 3C 4C 5C 2D 3D 4D", 0, "nothing counts and every suit is low: nil"},
        TBidCase{"2S 3S 4H 5H 6H 7H 2C 8C 9C 10C 2D 3D 4D", 1, "clubs average 29 div 4 = 7: no nil"},
        TBidCase{"2S KH 2H 2C 3C 4C 5C 6C 2D 3D 4D 5D 6D", 1, "a King with one more card counts 1"},
        TBidCase{"2S 5S QS 2H 3H 4H 5H 2C 3C 4C 5C 2D 3D", 1, "spade Queen with three spades; two spades left ruff nothing"},
        TBidCase{"5S QS 2H 3H 4H 5H 2C 3C 4C 5C 2D 3D 4D", 1, "spade Queen with two spades counts nothing"},
        TBidCase{"2S 3S JS 2H 3H 4H 5H 2C 3C 4C 5C 6D 7D", 1, "spade Jack with three spades counts nothing; a doubleton"},
        TBidCase{"2S 3S 4S JS 2H 3H 4H 2C 3C 4C 2D 3D 4D", 2, "spade Jack with four spades counts, then one long spade"},
        TBidCase{"2S 3S 4S 5S AH 2C 3C 4C 5C 6C 7C 8C 9C", 3, "Ace, then singleton hearts and void diamonds ruff"},
        TBidCase{"AS 2S 2H 3H 4H 5H 2C 3C 4C 5C 2D 3D 4D", 1, "a spade Ace counts and lowers the length"},
        TBidCase{"AH AC AD AS 2H 3H 4H 2C 3C 4C 2D 3D 4D", 4, "four Aces"},
        TBidCase{"2S 3S 4S KH QH JH 10H 9H AC KC QC AD KD", 6,
                 "Aces 2, three Kings of long suits 3, diamond doubleton 1; side Queens never count"}));

TEST(ComputeBid, ReadsOnlyTheSeatsOwnCards)
{
    TTestTable t;
    TPlayer& seat = t.Give(North, "2S 3S 4S 5S 6S 7S 2H 3H 4H 2C 3C 2D 3D");
    t.Seat(East).FBid = 13;
    t.Table.NilInPlay = true;
    t.Table.SpadesBroken = true;
    t.Played("AS KS");
    seat.ComputeBid();
    EXPECT_EQ(seat.FBid, 4);
}

struct TNilSafeCase {
    const char* hand;
    bool safe;
};

class NilSafeCases : public ::testing::TestWithParam<TNilSafeCase> {};

TEST_P(NilSafeCases, JudgesEveryHeldSuitByItsAverage)
{
    TTestTable t;
    EXPECT_EQ(t.Give(West, GetParam().hand).NilSafe(), GetParam().safe) << GetParam().hand;
}

INSTANTIATE_TEST_SUITE_P(Hands, NilSafeCases,
                         ::testing::Values(TNilSafeCase{"2H 3H 4H 5H 6H 7H 8H 9H 2C 3C 4C 5C 6C", true},
                                           TNilSafeCase{"2S 10S", true},   // 12 div 2 = 6
                                           TNilSafeCase{"2S JS", true},    // 13 div 2 truncates to 6
                                           TNilSafeCase{"3S JS", false},   // 14 div 2 = 7
                                           TNilSafeCase{"AS 2S", false},   // the Ace counts 14
                                           TNilSafeCase{"AD 2D 3D", true}, // 19 div 3 = 6
                                           TNilSafeCase{"6C", true},
                                           TNilSafeCase{"7C", false},
                                           TNilSafeCase{"7C 8D", false},
                                           TNilSafeCase{"", true}));

}  // namespace
