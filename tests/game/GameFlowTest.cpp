#include <gmock/gmock.h>

#include <set>

#include "SpadesGame.h"
#include "TestTable.h"

using namespace spades;
using namespace spades::testing;
using ::testing::ElementsAre;

namespace {

class GameFlow : public ::testing::Test {
protected:
    TFakeHost host;
    TSpadesGame game{host, 2024};

    void SetUp() override
    {
        static const char* names[] = {"", "North", "East", "South", "West"};
        for (int seat = 1; seat <= 4; ++seat) {
            game.Table.Player(seat).SetName(names[seat]);
            game.Table.Player(seat).SetHandRect({100 * seat, 50, 71, 96});
        }
    }

    // Bids and plays a whole hand with every seat computer-played.
    void PlayHand()
    {
        game.BeginHand();
        for (int i = 1; i <= 4; ++i)
            game.ComputerBid(game.Bidder(i));
        game.StartPlay();
        EXPECT_EQ(game.SeatToPlay(), game.Bidder(1)) << "the first bidder leads";
        for (;;) {
            const int winner = PlayTrick();
            game.HideTrickCards();
            if (game.HandOver())
                return;
            game.ClearTrick();
            game.StartNextTrick(winner);
        }
    }

    // Plays computer turns until the trick is full; returns the winner.
    int PlayTrick()
    {
        while (!game.TrickFull())
            game.PlayComputerTurn();
        return game.ResolveTrick();
    }
};

TEST_F(GameFlow, NewGameResetsSeatsAndStartsWithSouth)
{
    game.Table.Player(East).FScore = 120;
    game.Table.Player(East).FTotalBags = 7;
    game.FTurnOrder = TurnOrderFrom(North);
    game.NewGame({false, false, false, true, false});
    EXPECT_EQ(game.FTurnOrder, NewGameOrder);
    EXPECT_EQ(game.Table.Player(East).FScore, 0);
    EXPECT_EQ(game.Table.Player(East).FTotalBags, 0);
    EXPECT_TRUE(game.Table.Player(South).FHuman);
    EXPECT_TRUE(game.Table.Player(South).FFaceUp);
    EXPECT_FALSE(game.Table.Player(North).FHuman);
    EXPECT_FALSE(game.Table.Player(North).FFaceUp);
    EXPECT_EQ(game.Table.Player(West).FName, "West") << "names stay";
}

TEST_F(GameFlow, BeginHandDealsSortsAndLaysOutEveryHand)
{
    game.NewGame({false, false, false, true, false});
    game.Table.SpadesBroken = game.Table.NilInPlay = true;
    game.Table.CardsPlayed[5] = true;
    game.Table.Place(1).SetValue(5);
    game.Table.Player(West).FBid = 5;

    game.BeginHand();
    EXPECT_FALSE(game.Table.SpadesBroken);
    EXPECT_FALSE(game.Table.NilInPlay);
    EXPECT_FALSE(game.Table.CardsPlayed[5]);
    EXPECT_FALSE(game.Table.Place(1).HasCard());
    EXPECT_EQ(game.Table.Player(West).FBid, 0);
    EXPECT_EQ(host.Suspended, 0) << "every suspend is resumed";
    EXPECT_EQ(game.FNextFirstSeat, West);

    std::set<int> dealt;
    for (int seat = 1; seat <= 4; ++seat) {
        const TPlayer& player = game.Table.Player(seat);
        ASSERT_EQ(player.FCardCount, 13);
        for (int slot = 1; slot <= 13; ++slot) {
            const int card = player.FHand[static_cast<size_t>(slot)];
            dealt.insert(card);
            if (slot > 1) {
                const int before = player.FHand[static_cast<size_t>(slot - 1)];
                const auto key = [](int v) {
                    const int r = CardRank(static_cast<uint8_t>(v));
                    return CardSuit(static_cast<uint8_t>(v)) * 20 + (r == Ace ? 14 : r);
                };
                EXPECT_LT(key(before), key(card)) << "sorted";
            }
            const TFakeCard& control = host.At(seat, slot);
            EXPECT_TRUE(control.FVisible);
            EXPECT_EQ(control.FValue, seat == South ? card : game.Table.CardBack);
        }
    }
    EXPECT_EQ(dealt.size(), 52u);
}

TEST_F(GameFlow, FirstSeatRotatesClockwiseFromSouth)
{
    game.NewGame({});
    std::vector<int> firstSeats;
    for (int hand = 0; hand < 5; ++hand) {
        firstSeats.push_back(game.Bidder(1));
        PlayHand();
        game.ScoreHand();
        game.PrepareNextHand();
    }
    EXPECT_THAT(firstSeats, ElementsAre(South, West, North, East, South));
}

TEST_F(GameFlow, TheWinnerLeadsTheNextTrick)
{
    game.NewGame({});
    game.BeginHand();
    for (int i = 1; i <= 4; ++i)
        game.ComputerBid(game.Bidder(i));
    game.StartPlay();
    const int winner = PlayTrick();
    game.HideTrickCards();
    game.ClearTrick();
    game.StartNextTrick(winner);
    EXPECT_EQ(game.SeatToPlay(), winner);
    EXPECT_EQ(game.FTurnOrder, TurnOrderFrom(winner));
    EXPECT_EQ(game.Table.Player(winner).FTricks, 1);

    game.StartNextTrick(East);
    EXPECT_THAT(game.FTurnOrder, ElementsAre(0, East, South, West, North));
}

TEST_F(GameFlow, ComputerTurnLaysItsCardFaceUpOnTheNextPlace)
{
    game.NewGame({});
    game.BeginHand();
    game.StartPlay();
    const int seat = game.SeatToPlay();
    TPlayer& player = game.Table.Player(seat);
    const int slot = player.ChooseCard();
    const int card = player.FHand[static_cast<size_t>(slot)];

    game.PlayComputerTurn();
    EXPECT_EQ(game.FTurn, 2);
    const TPlayStack& place = game.Table.Place(1);
    EXPECT_EQ(place.FSeat, seat);
    EXPECT_EQ(place.FValue, card);
    EXPECT_EQ(place.FCard, &host.At(seat, slot));
    const TFakeCard& control = host.At(seat, slot);
    EXPECT_EQ(control.FValue, card) << "turned face up";
    EXPECT_EQ(control.FBounds.Left, TrickPlaceRect(1).Left);
    EXPECT_EQ(control.FBounds.Top, TrickPlaceRect(1).Top);
    EXPECT_TRUE(game.Table.CardsPlayed[static_cast<size_t>(card)]);
    EXPECT_EQ(player.FHand[static_cast<size_t>(slot)], NoCard);
    EXPECT_EQ(player.FCardCount, 12);
    EXPECT_EQ(host.Suspended, 0);
}

TEST_F(GameFlow, PersonsCardGoesToTheTableWithoutItsHandler)
{
    game.NewGame({false, false, false, true, false});
    game.BeginHand();
    game.StartPlay();
    ASSERT_EQ(game.SeatToPlay(), South);
    TPlayer& south = game.Table.Player(South);
    for (int slot = 1; slot <= 13; ++slot)
        host.At(South, slot).FArmed = true;
    int slot = 1;
    while (game.CheckPersonCard(South, slot) != TPlayVerdict::Legal)
        ++slot;
    const int card = south.FHand[static_cast<size_t>(slot)];

    game.PlayPersonCard(South, slot);
    EXPECT_EQ(game.Table.Place(1).FValue, card);
    EXPECT_EQ(game.Table.Place(1).FSeat, South);
    EXPECT_TRUE(game.Table.CardsPlayed[static_cast<size_t>(card)]);
    for (int s = 1; s <= 13; ++s)
        EXPECT_FALSE(host.At(South, s).FArmed) << "slot " << s << " must not answer clicks any more";
    EXPECT_EQ(game.FTurn, 2);
}

TEST_F(GameFlow, SeatTurnedPersonInMidHandPlaysItsRealCard)
{
    game.NewGame({});
    game.BeginHand();
    game.StartPlay();
    TPlayer& south = game.Table.Player(South);
    south.SetHuman(true);  // the preferences changed, the hand stays face down
    const int card = south.FHand[13];
    ASSERT_EQ(host.At(South, 13).FValue, game.Table.CardBack);
    game.PlayPersonCard(South, 13);
    EXPECT_EQ(game.Table.Place(1).FValue, card);
    EXPECT_EQ(host.At(South, 13).FValue, card) << "shown face up on the table";
}

TEST_F(GameFlow, PersonBidStaysWithinNilAndThirteen)
{
    game.NewGame({});
    game.BeginHand();
    game.PersonBid(South, 14);
    EXPECT_EQ(game.Table.Player(South).FBid, 13);
    EXPECT_FALSE(game.Table.NilInPlay);
    game.PersonBid(South, -3);
    EXPECT_EQ(game.Table.Player(South).FBid, 0);
    EXPECT_TRUE(game.Table.NilInPlay);
}

TEST_F(GameFlow, HideTrickCardsTurnsThemBack)
{
    game.NewGame({});
    game.BeginHand();
    game.Table.CardBack = 57;
    game.StartPlay();
    PlayTrick();
    game.HideTrickCards();
    for (int place = 1; place <= 4; ++place) {
        const auto* control = static_cast<TFakeCard*>(game.Table.Place(place).FCard);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->FValue, 57);
        EXPECT_FALSE(control->FVisible);
    }
    EXPECT_TRUE(game.Table.Place(1).HasCard()) << "places are emptied only before the next trick";
    game.ClearTrick();
    EXPECT_FALSE(game.Table.Place(4).HasCard());
}

TEST_F(GameFlow, AWholeHandPlaysEveryCardOnce)
{
    game.NewGame({});
    game.BeginHand();
    for (int i = 1; i <= 4; ++i)
        game.ComputerBid(game.Bidder(i));
    game.StartPlay();
    int tricks = 0;
    std::set<int> played;
    for (;;) {
        const int winner = PlayTrick();
        ++tricks;
        for (int place = 1; place <= 4; ++place)
            played.insert(game.Table.Place(place).FValue);
        game.HideTrickCards();
        if (game.HandOver())
            break;
        game.ClearTrick();
        game.StartNextTrick(winner);
    }
    EXPECT_EQ(tricks, 13);
    EXPECT_EQ(played.size(), 52u);
    int taken = 0;
    for (int seat = 1; seat <= 4; ++seat) {
        taken += game.Table.Player(seat).FTricks;
        EXPECT_EQ(game.Table.Player(seat).FCardCount, 0);
    }
    EXPECT_EQ(taken, 13);
    EXPECT_TRUE(host.Messages.empty());
}

}  // namespace
