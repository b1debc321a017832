#include <gmock/gmock.h>

#include <set>

#include "Deck.h"
#include "Random.h"
#include "TestTable.h"

using namespace spades;
using namespace spades::testing;
using ::testing::ElementsAre;

namespace {

struct TSuitRankCase {
    int value;
    int suit;
    int rank;
};

class CardSuitRank : public ::testing::TestWithParam<TSuitRankCase> {};

TEST_P(CardSuitRank, MapsValueToSuitAndRank)
{
    const auto [value, suit, rank] = GetParam();
    EXPECT_EQ(CardSuit(static_cast<uint8_t>(value)), suit);
    EXPECT_EQ(CardRank(static_cast<uint8_t>(value)), rank);
}

INSTANTIATE_TEST_SUITE_P(Values, CardSuitRank,
                         ::testing::Values(TSuitRankCase{1, 1, 1}, TSuitRankCase{13, 1, 13}, TSuitRankCase{14, 2, 1},
                                           TSuitRankCase{26, 2, 13}, TSuitRankCase{27, 3, 1},
                                           TSuitRankCase{39, 3, 13}, TSuitRankCase{40, 4, 1},
                                           TSuitRankCase{52, 4, 13}, TSuitRankCase{0, 0, 0},
                                           TSuitRankCase{53, 0, 0}, TSuitRankCase{62, 0, 0},
                                           TSuitRankCase{255, 0, 0}, TSuitRankCase{-1, 0, 0}));

struct TNameCase {
    int value;
    const char* name;
};

class CardImageNames : public ::testing::TestWithParam<TNameCase> {};

TEST_P(CardImageNames, NamesTheResource)
{
    EXPECT_EQ(CardImageName(static_cast<uint8_t>(GetParam().value)), GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(
    Values, CardImageNames,
    ::testing::Values(TNameCase{1, "cdAceofSpades"}, TNameCase{2, "cd2ofSpades"}, TNameCase{11, "cdJackofSpades"},
                      TNameCase{23, "cd10ofHearts"}, TNameCase{38, "cdQueenofClubs"},
                      TNameCase{52, "cdKingofDiamonds"}, TNameCase{53, "CdJoker"}, TNameCase{54, "cdCardBack1"},
                      TNameCase{62, "cdCardBack9"}, TNameCase{0, "$00000000"}, TNameCase{63, "$0000003f"},
                      TNameCase{255, "$000000ff"}));

TEST(CardImageNames, EveryNameFitsEighteenCharactersAndIsUnique)
{
    std::set<std::string> names;
    for (int value = 1; value <= 62; ++value) {
        const std::string name = CardImageName(static_cast<uint8_t>(value));
        EXPECT_LE(name.size(), 18u) << name;
        names.insert(name);
    }
    EXPECT_EQ(names.size(), 62u);
}

TEST(SuitNamesTable, ListsTheFourSuitsInOrder)
{
    EXPECT_THAT(SuitNames, ElementsAre("", "Spades", "Hearts", "Clubs", "Diamonds"));
}

TEST(CardNames, SpellSeatAndSlot)
{
    EXPECT_EQ(TCardName(1, 1).View(), "imgPlayer11");
    EXPECT_EQ(TCardName(4, 13).View(), "imgPlayer413");
    EXPECT_EQ(TCardName(3, 0).View(), "imgPlayer30");
    EXPECT_EQ(TCardName(12, 345).View(), "imgPlayer12345");
    EXPECT_EQ(TCardName(-1, 2).View(), "imgPlayer-12");
}

// ---- The generator -------------------------------------------------------------------------

TEST(RandomGenerator, StepsTheSeedAndTakesTheHighWord)
{
    TRandom random(0);
    // seed 0 -> 1: 1 * 51 >> 32 = 0
    EXPECT_EQ(random.Below(51), 0u);
    EXPECT_EQ(random.Seed(), 1u);
    // 1 -> 134775814
    EXPECT_EQ(random.Below(1000), static_cast<uint32_t>((134775814ull * 1000) >> 32));
    EXPECT_EQ(random.Seed(), 134775814u);
}

TEST(RandomGenerator, WrapsModuloTwoToTheThirtySecond)
{
    TRandom random(0xFFFFFFFFu);
    random.Below(10);
    EXPECT_EQ(random.Seed(), static_cast<uint32_t>(0xFFFFFFFFull * 134775813ull + 1));
}

TEST(RandomGenerator, StaysBelowItsBound)
{
    TRandom random(12345);
    for (int i = 0; i < 10000; ++i)
        ASSERT_LT(random.Below(51), 51u);
}

TEST(RandomGenerator, ClockSeedIsWithinOneDay)
{
    EXPECT_LT(TRandom::SeedFromClock(), 24u * 60 * 60 * 1000);
}

// ---- Shuffle and deal ------------------------------------------------------------------------

TEST(Shuffle, MatchesTheSwapsByHand)
{
    TDeck deck;
    TRandom random(777);
    TRandom replay(777);
    std::array<uint8_t, 53> expected{};
    for (int i = 1; i <= 52; ++i)
        expected[static_cast<size_t>(i)] = static_cast<uint8_t>(i);
    for (int pass = 0; pass < 10; ++pass)
        for (size_t i = 1; i <= 52; ++i)
            std::swap(expected[i], expected[1 + replay.Below(51)]);

    deck.FDealPos = 40;
    deck.ShuffleDeck(random);
    EXPECT_EQ(deck.FDeck, expected);
    EXPECT_EQ(deck.FDealPos, 1);
    EXPECT_EQ(random.Seed(), replay.Seed());
}

// Successive shuffles from seeds anywhere in the generator's range, the top of
// it included, match one draw at a time: the draws are taken several at once.
class ShuffleSeeds : public ::testing::TestWithParam<uint32_t> {};

TEST_P(ShuffleSeeds, SuccessiveShufflesMatchOneDrawAtATime)
{
    TDeck deck;
    TRandom random(GetParam());
    TRandom replay(GetParam());
    std::array<uint8_t, 53> expected = deck.FDeck;
    for (int hand = 0; hand < 20; ++hand) {
        for (int pass = 0; pass < 10; ++pass)
            for (size_t i = 1; i <= 52; ++i)
                std::swap(expected[i], expected[1 + replay.Below(51)]);
        deck.ShuffleDeck(random);
        ASSERT_EQ(deck.FDeck, expected) << "hand " << hand;
        ASSERT_EQ(random.Seed(), replay.Seed()) << "hand " << hand;
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, ShuffleSeeds, ::testing::Values(0u, 1u, 42u, 123456u, 0x7FFFFFFFu, 0xFFFFFFFEu, 0xFFFFFFFFu));

TEST(Shuffle, NeverPicksPositionFiftyTwoAsPartner)
{
    // Position 52 moves only at i = 52: start with a marker there and watch one pass.
    TRandom random(99);
    for (int trial = 0; trial < 200; ++trial) {
        std::array<int, 53> deck{};
        for (int i = 1; i <= 52; ++i)
            deck[static_cast<size_t>(i)] = i;
        for (size_t i = 1; i <= 51; ++i) {
            const size_t j = 1 + random.Below(51);
            ASSERT_NE(j, 52u);
            std::swap(deck[i], deck[j]);
            ASSERT_EQ(deck[52], 52);
        }
    }
}

TEST(Shuffle, KeepsEveryCardOnce)
{
    TDeck deck;
    TRandom random(4242);
    for (int hand = 0; hand < 50; ++hand) {
        deck.ShuffleDeck(random);
        std::set<int> seen(deck.FDeck.begin() + 1, deck.FDeck.end());
        ASSERT_EQ(seen.size(), 52u);
        ASSERT_EQ(*seen.begin(), 1);
        ASSERT_EQ(*seen.rbegin(), 52);
    }
}

TEST(Deal, GivesOneCardAtATimeFromNorth)
{
    TTestTable t;
    TDeck deck;
    TRandom random(5);
    TRandom replay(5);
    TDeck expected;
    expected.ShuffleDeck(replay);

    deck.DealHands(random, t.Table);
    EXPECT_EQ(deck.FDealPos, 53);
    for (int seat = 1; seat <= 4; ++seat) {
        const TPlayer& player = t.Seat(seat);
        EXPECT_EQ(player.FCardCount, 13);
        int suitTotal = 0;
        for (int suit = 1; suit <= 4; ++suit)
            suitTotal += player.FSuitCount[static_cast<size_t>(suit)];
        EXPECT_EQ(suitTotal, 13);
        for (int k = 1; k <= 13; ++k)
            EXPECT_EQ(player.FHand[static_cast<size_t>(k)], expected.FDeck[static_cast<size_t>((k - 1) * 4 + seat)]);
    }
}

TEST(Deal, LaterHandsShuffleTheOrderLeftBehind)
{
    TDeck deck;
    TRandom random(1);
    deck.ShuffleDeck(random);
    const auto afterFirst = deck.FDeck;
    const uint32_t seed = random.Seed();
    deck.ShuffleDeck(random);

    TDeck continued;
    continued.FDeck = afterFirst;
    TRandom same(seed);
    continued.ShuffleDeck(same);
    EXPECT_EQ(continued.FDeck, deck.FDeck);

    TDeck fresh;  // put back in order: a different result
    TRandom again(seed);
    fresh.ShuffleDeck(again);
    EXPECT_NE(fresh.FDeck, deck.FDeck);
}

// ---- Seat, hand and layout -------------------------------------------------------------------

TEST(Seat, StartsEmpty)
{
    TTestTable t;
    TPlayer player(t.Host, t.Table);
    EXPECT_EQ(player.FSeat, -1);
    EXPECT_EQ(player.FLastPlayed, -1);
    EXPECT_EQ(player.FBid, 0);
    EXPECT_EQ(player.FCardCount, 0);
    EXPECT_TRUE(player.FName.empty());
    EXPECT_EQ(player.FHandRect, TCardRect{});
    for (int slot = 1; slot <= 13; ++slot)
        EXPECT_EQ(player.FHand[static_cast<size_t>(slot)], 0);
    EXPECT_FALSE(player.FHuman);
    EXPECT_FALSE(player.FFaceUp);
}

TEST(Seat, ResetKeepsSeatNameAndRectButClearsTheRest)
{
    TTestTable t;
    TPlayer& player = t.Give(South, "AS KS QS JS 2H 3H 4H 5H 6C 7C 8C 9D 10D");
    player.SetName("Zoë");
    player.SetHandRect({352, 362, 71, 96});
    player.SetHuman(true);
    player.SetFaceUp(true);
    player.FBid = 4;
    player.FTricks = 6;
    player.FBags = 2;
    player.FTotalBags = 17;
    player.FScore = -30;
    player.FLastPlayed = 7;

    player.ResetSeat();
    EXPECT_EQ(player.FSeat, South);
    EXPECT_EQ(player.FName, "Zoë");
    EXPECT_EQ((player.FHandRect), (TCardRect{352, 362, 71, 96}));
    EXPECT_EQ(player.FCardCount, 0);
    EXPECT_EQ(player.FLastPlayed, -1);
    EXPECT_EQ(player.FBid + player.FTricks + player.FBags + player.FTotalBags + player.FScore, 0);
    EXPECT_FALSE(player.FHuman || player.FFaceUp);
    for (int s = 1; s <= 4; ++s)
        EXPECT_EQ(player.FSuitCount[static_cast<size_t>(s)], 0);
}

TEST(AddCard, NeverWritesPastTheThirteenthSlot)
{
    TTestTable t;
    TPlayer& player = t.Give(North, "2S 3S 4S 5S 6S 7S 8S 9S 10S JS QS KS AS");
    const auto before = player.FHand;
    player.AddCard(Card("2H"));
    EXPECT_EQ(player.FCardCount, 13);
    EXPECT_EQ(player.FHand, before);
    EXPECT_EQ(player.FSuitCount[Hearts], 0);
}

TEST(SortHand, OrdersSpadesHeartsClubsDiamondsWithAceHigh)
{
    TTestTable t;
    TPlayer& player = t.Seat(North);
    for (int card : Cards("AH 2H KH 3S 9D AD 2C 10S QC 5H JD 4S AS"))
        player.AddCard(card);
    player.SortHand("imgPlayer1");
    std::vector<std::string> order;
    for (int slot = 1; slot <= 13; ++slot)
        order.push_back(t.At(North, slot));
    EXPECT_THAT(order, ElementsAre("3S", "4S", "10S", "AS", "2H", "5H", "KH", "AH", "2C", "QC", "9D", "JD", "AD"));
}

TEST(RefreshCards, FansTheHandFromTheRectangle)
{
    TTestTable t;
    TPlayer& player = t.Give(South, "2S 3S 4S 5S 6S 7S 8S 9S 10S JS QS KS AS");
    player.SetHandRect({352, 362, 71, 96});
    player.SetFaceUp(true);
    player.RefreshCards("imgPlayer3");
    for (int slot = 1; slot <= 13; ++slot) {
        const TFakeCard& card = t.Host.At(South, slot);
        EXPECT_EQ(card.FBounds, (TCardRect{352 - 6 * 14 + 14 * (slot - 1), 362, 71, 96})) << slot;
        EXPECT_TRUE(card.FVisible);
        EXPECT_EQ(card.FValue, player.FHand[static_cast<size_t>(slot)]);
        if (slot > 1) {
            EXPECT_GT(card.FOrder, t.Host.At(South, slot - 1).FOrder) << "later cards overlap earlier ones";
        }
    }
}

TEST(RefreshCards, ShowsTheBackOnAFaceDownHand)
{
    TTestTable t;
    t.Table.CardBack = 58;
    TPlayer& player = t.Give(East, "2S 3S 4S 5S 6S 7S 8S 9S 10S JS QS KS AS");
    player.RefreshCards("imgPlayer2");
    for (int slot = 1; slot <= 13; ++slot)
        EXPECT_EQ(t.Host.At(East, slot).FValue, 58);
}

TEST(RefreshCards, ReportsAMissingControlAndGoesOn)
{
    TTestTable t;
    TPlayer& player = t.Give(West, "2S 3S 4S 5S 6S 7S 8S 9S 10S JS QS KS AS");
    t.Host.Remove("imgPlayer45");
    t.Host.Messages.clear();
    for (auto& [name, card] : t.Host.FCards)
        card.FLayOuts = 0;
    player.RefreshCards("imgPlayer4");
    EXPECT_THAT(t.Host.Messages, ElementsAre("Error occurred while refreshing cards\ri = 5\rName = imgPlayer4"));
    EXPECT_EQ(t.Host.At(West, 6).FLayOuts, 1);
    EXPECT_EQ(t.Host.At(West, 13).FLayOuts, 1);
}

TEST(RefreshCards, FindsOtherPrefixesByName)
{
    TTestTable t;
    TPlayer& player = t.Give(West, "2S 3S");
    t.Host.Add("pile1");
    player.RefreshCards("pile");
    EXPECT_EQ(t.Host.FCards.at("pile1").FLayOuts, 1);
    EXPECT_THAT(t.Host.Messages, ElementsAre("Error occurred while refreshing cards\ri = 2\rName = pile"));
}

TEST(PlayCard, TakesTheSlotAndClosesTheFan)
{
    TTestTable t;
    TPlayer& player = t.Give(South, "2S 3S 4S 5S 2H 3H 4H 5H 6H 2C 3C 4C 2D");
    player.SetHandRect({352, 362, 71, 96});
    player.SetFaceUp(true);
    player.RefreshCards("imgPlayer3");
    const TCardRect playedBounds = t.Host.At(South, 5).FBounds;

    player.PlayCard("imgPlayer35");
    EXPECT_EQ(player.FHand[5], NoCard);
    EXPECT_EQ(player.FLastPlayed, Card("2H"));
    EXPECT_EQ(player.FCardCount, 12);
    EXPECT_EQ(player.FSuitCount[Hearts], 4);
    EXPECT_FALSE(t.Table.SpadesBroken);
    // Twelve cards from 84 pixels left of the rectangle, no gap where slot 5 was.
    int n = 0;
    for (int slot = 1; slot <= 13; ++slot) {
        if (slot == 5)
            continue;
        EXPECT_EQ(t.Host.At(South, slot).FBounds.Left, 352 - 84 + 14 * n) << slot;
        ++n;
    }
    EXPECT_EQ(t.Host.At(South, 5).FBounds, playedBounds) << "the played card's control is left alone";
}

TEST(PlayCard, FirstSpadeBreaksSpades)
{
    TTestTable t;
    TPlayer& player = t.Give(South, "2S 3S 4H");
    player.PlayCard("imgPlayer33");
    EXPECT_FALSE(t.Table.SpadesBroken);
    player.PlayCard("imgPlayer31");
    EXPECT_TRUE(t.Table.SpadesBroken);
    t.Table.SpadesBroken = true;
    player.PlayCard("imgPlayer32");
    EXPECT_TRUE(t.Table.SpadesBroken);
}

struct TBadPlayCase {
    const char* name;
    const char* message;
};

class PlayCardRefuses : public ::testing::TestWithParam<TBadPlayCase> {};

TEST_P(PlayCardRefuses, ReportsAndChangesNothing)
{
    TTestTable t;
    TPlayer& player = t.Give(South, "2S 3S 4H");
    player.PlayCard("imgPlayer32");
    t.Host.Messages.clear();
    const auto hand = player.FHand;
    const auto counts = player.FSuitCount;
    const int last = player.FLastPlayed;

    player.PlayCard(GetParam().name);
    EXPECT_THAT(t.Host.Messages, ElementsAre(GetParam().message));
    EXPECT_EQ(player.FHand, hand);
    EXPECT_EQ(player.FSuitCount, counts);
    EXPECT_EQ(player.FLastPlayed, last);
    EXPECT_EQ(player.FCardCount, 2);
}

INSTANTIATE_TEST_SUITE_P(
    Names, PlayCardRefuses,
    ::testing::Values(TBadPlayCase{"imgPlayer30", "Something is very wrong here:\rCard number to play = 0"},
                      TBadPlayCase{"imgPlayer314", "Something is very wrong here:\rCard number to play = 14"},
                      TBadPlayCase{"imgPlayer3", "Something is very wrong here:\rCard number to play = 0"},
                      TBadPlayCase{"imgPlayer3x", "Something is very wrong here:\rCard number to play = 0"},
                      TBadPlayCase{"imgPlayer399999999999", "Something is very wrong here:\rCard number to play = 1000000"},
                      TBadPlayCase{"imgPlayer32", "Something is very wrong here:\rCard value to play  = -1"}));

TEST(PlayStack, EmptyPlaceHasNoSuit)
{
    TPlayStack place({254, 184, 71, 96});
    EXPECT_FALSE(place.HasCard());
    EXPECT_EQ(place.Suit(), 0);
    EXPECT_EQ(place.FSeat, 0);
    EXPECT_EQ(place.FCard, nullptr);
    place.SetValue(Card("QH"));
    place.SetSeat(East);
    EXPECT_TRUE(place.HasCard());
    EXPECT_EQ(place.Suit(), Hearts);
    place.SetValue(0);
    EXPECT_TRUE(place.HasCard()) << "only -1 means empty";
    EXPECT_EQ(place.Suit(), 0);
    place.Clear();
    EXPECT_FALSE(place.HasCard());
    EXPECT_EQ(place.FSeat, 0);
}

}  // namespace
