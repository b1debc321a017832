// A person's step taken back: possible only while nothing has followed it that
// may not be undone, and then the game stands exactly as before that step.
#include <gmock/gmock.h>

#include "TakeBack.h"
#include "TestTable.h"

using namespace spades;
using namespace spades::testing;

namespace {

class TakeBackGame : public ::testing::Test {
protected:
    TFakeHost Host;
    TSpadesGame Game{Host, 99};
    TTakeBack Back;

    void SetUp() override
    {
        std::array<bool, 5> human{};
        human[South] = true;
        Game.NewGame(human);
        Game.BeginHand();  // South bids first
    }
    int LegalSlot(int seat) const
    {
        for (int slot = 1; slot <= 13; ++slot)
            if (Game.Table.Player(seat).FHand[static_cast<size_t>(slot)] != NoCard &&
                Game.CheckPersonCard(seat, slot) == TPlayVerdict::Legal)
                return slot;
        return 0;
    }
};

struct TBidCase {
    const char* Name;
    int LaterBids;
    bool Possible;
};

class TakeBackBid : public TakeBackGame, public ::testing::WithParamInterface<TBidCase> {};

TEST_P(TakeBackBid, WhileTheRoundIsOpen)
{
    Back.Before(Game, South, TTakeBack::TKind::Bid);
    Game.PersonBid(South, 5);
    for (int i = 2; i <= 1 + GetParam().LaterBids; ++i)
        Game.ComputerBid(Game.Bidder(i));
    ASSERT_EQ(Back.Possible(Game), GetParam().Possible);
    const auto undone = Back.TakeBack(Game, Host);
    ASSERT_EQ(undone.has_value(), GetParam().Possible);
    if (!undone)
        return;
    EXPECT_EQ(undone->Value, 5);
    EXPECT_EQ(Game.FBidCount, 0);
    EXPECT_EQ(Game.Table.Player(South).FBid, 0);
    EXPECT_FALSE(Back.Possible(Game)) << "one step back, once";
}

INSTANTIATE_TEST_SUITE_P(Cases, TakeBackBid,
                         ::testing::Values(TBidCase{"AtOnce", 0, true}, TBidCase{"AfterTwoMore", 2, true},
                                           TBidCase{"RoundClosed", 3, false}),
                         [](const auto& info) { return std::string(info.param.Name); });

enum class TAfter { Nothing, NextCard, TrickTaken, NextHand };
struct TCardCase {
    const char* Name;
    int Leader;  // South plays first after South, fourth after West
    TAfter After;
    bool Possible;
};

class TakeBackCard : public TakeBackGame, public ::testing::WithParamInterface<TCardCase> {};

TEST_P(TakeBackCard, WhileNothingFollowed)
{
    for (int i = 1; i <= 4; ++i)
        Game.ComputerBid(Game.Bidder(i));
    Game.FTurnOrder = TurnOrderFrom(GetParam().Leader);
    Game.StartPlay();
    while (Game.SeatToPlay() != South)
        Game.PlayComputerTurn();
    const int slot = LegalSlot(South);
    ASSERT_NE(slot, 0);
    const int card = Game.Table.Player(South).FHand[static_cast<size_t>(slot)];
    const int plays = Game.FPlayCount;
    Back.Before(Game, South, TTakeBack::TKind::Card);
    Game.PlayPersonCard(South, slot);
    switch (GetParam().After) {
    case TAfter::Nothing:
        break;
    case TAfter::NextCard:
        Game.PlayComputerTurn();
        break;
    case TAfter::TrickTaken:
        Game.ResolveTrick();
        break;
    case TAfter::NextHand:
        Game.BeginHand();
        break;
    }
    ASSERT_EQ(Back.Possible(Game), GetParam().Possible);
    const auto undone = Back.TakeBack(Game, Host);
    ASSERT_EQ(undone.has_value(), GetParam().Possible);
    if (!undone)
        return;
    EXPECT_EQ(undone->Value, card);
    EXPECT_EQ(Game.FPlayCount, plays);
    EXPECT_EQ(Game.Table.Player(South).FHand[static_cast<size_t>(slot)], card);
    EXPECT_FALSE(Game.Table.CardsPlayed[static_cast<size_t>(card)]);
    EXPECT_EQ(Game.SeatToPlay(), South);
    EXPECT_FALSE(Game.Table.Place(Game.Table.FirstEmptyPlace()).HasCard());
}

INSTANTIATE_TEST_SUITE_P(Cases, TakeBackCard,
                         ::testing::Values(TCardCase{"LeadAtOnce", South, TAfter::Nothing, true},
                                           TCardCase{"FourthBeforeTheTrickIsTaken", West, TAfter::Nothing, true},
                                           TCardCase{"AfterTheNextCard", South, TAfter::NextCard, false},
                                           TCardCase{"AfterTheTrickIsTaken", West, TAfter::TrickTaken, false},
                                           TCardCase{"InTheNextHand", South, TAfter::NextHand, false}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(TakeBackGame, SameDealAgainIsANewGameOfTheSameHand)
{
    std::array<std::array<int, 14>, 5> hands{};
    Game.NewGame({false, false, false, true, false});
    Game.FTurnOrder = TurnOrderFrom(North);
    Game.BeginHand();  // a deal bid first by North
    Game.Table.Player(East).FScore = 120;
    for (int seat = North; seat <= West; ++seat)
        hands[static_cast<size_t>(seat)] = Game.Table.Player(seat).FHand;

    Game.NewGameSameDeal({false, false, false, true, false});
    Game.BeginHand();
    EXPECT_EQ(Game.Bidder(1), North);
    EXPECT_EQ(Game.Table.Player(East).FScore, 0);
    for (int seat = North; seat <= West; ++seat)
        EXPECT_EQ(Game.Table.Player(seat).FHand, hands[static_cast<size_t>(seat)]) << "seat " << seat;
}

}  // namespace
