// A person's step taken back: possible only while nothing that may not be undone
// has followed it, and then the game stands as it did before that step.
#include <gmock/gmock.h>

#include "TakeBack.h"
#include "TestTable.h"

using namespace spades;
using namespace spades::testing;

namespace {

using TKind = TTakeBack::TKind;
enum class TAfter { Nothing, TwoMoreBids, LastBid, NextCard, TrickTaken, NextHand };
struct TBackCase {
    const char* Name;
    TKind Kind;
    int Leader;  // of the trick: South plays first after South, fourth after West
    TAfter After;
    bool Possible;
};

class TakeBack : public ::testing::TestWithParam<TBackCase> {};

TEST_P(TakeBack, OnlyWhileNothingFollowed)
{
    const TBackCase& c = GetParam();
    TFakeHost host;
    TSpadesGame game{host, 99};
    TTakeBack back;
    game.NewGame({false, false, false, true, false});
    game.BeginHand();  // South bids first
    int slot = 0, value = 5;
    if (c.Kind == TKind::Bid) {
        back.Before(game, South, TKind::Bid);
        game.PersonBid(South, value);
    } else {
        for (int i = 1; i <= 4; ++i)
            game.ComputerBid(game.Bidder(i));
        game.FTurnOrder = TurnOrderFrom(c.Leader);
        game.StartPlay();
        while (game.SeatToPlay() != South)
            game.PlayComputerTurn();
        for (slot = 13; slot > 0 && (game.Table.Player(South).FHand[static_cast<size_t>(slot)] == NoCard ||
                                     game.CheckPersonCard(South, slot) != TPlayVerdict::Legal);)
            --slot;
        ASSERT_GT(slot, 0);
        value = game.Table.Player(South).FHand[static_cast<size_t>(slot)];
        back.Before(game, South, TKind::Card);
        game.PlayPersonCard(South, slot);
    }
    const int plays = c.Kind == TKind::Card ? game.FPlayCount - 1 : 0;
    for (int i = 2; i <= (c.After == TAfter::TwoMoreBids ? 3 : c.After == TAfter::LastBid ? 4 : 1); ++i)
        game.ComputerBid(game.Bidder(i));
    if (c.After == TAfter::NextCard)
        game.PlayComputerTurn();
    if (c.After == TAfter::TrickTaken)
        game.ResolveTrick();
    if (c.After == TAfter::NextHand)
        game.BeginHand();

    ASSERT_EQ(back.Possible(game), c.Possible);
    const auto undone = back.TakeBack(game, host);
    ASSERT_EQ(undone.has_value(), c.Possible);
    if (!undone)
        return;
    EXPECT_EQ(undone->Value, value);
    EXPECT_FALSE(back.Possible(game)) << "one step back, once";
    if (c.Kind == TKind::Bid) {
        EXPECT_EQ(game.FBidCount, 0);
        EXPECT_EQ(game.Bidder(1), South);
        return;
    }
    EXPECT_EQ(game.FPlayCount, plays);
    EXPECT_EQ(game.Table.Player(South).FHand[static_cast<size_t>(slot)], value);
    EXPECT_FALSE(game.Table.CardsPlayed[static_cast<size_t>(value)]);
    EXPECT_EQ(game.SeatToPlay(), South);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TakeBack,
    ::testing::Values(TBackCase{"BidAtOnce", TKind::Bid, South, TAfter::Nothing, true},
                      TBackCase{"BidWithTwoMore", TKind::Bid, South, TAfter::TwoMoreBids, true},
                      TBackCase{"BidRoundClosed", TKind::Bid, South, TAfter::LastBid, false},
                      TBackCase{"LeadAtOnce", TKind::Card, South, TAfter::Nothing, true},
                      TBackCase{"FourthBeforeTheTrickIsTaken", TKind::Card, West, TAfter::Nothing, true},
                      TBackCase{"CardThenTheNextCard", TKind::Card, South, TAfter::NextCard, false},
                      TBackCase{"CardThenTheTrickTaken", TKind::Card, West, TAfter::TrickTaken, false},
                      TBackCase{"CardThenTheNextHand", TKind::Card, South, TAfter::NextHand, false}),
    [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
