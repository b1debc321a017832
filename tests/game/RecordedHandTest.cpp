// A hand dealt from a given deck order, and a hand whose bids and cards come
// from a record instead of the seats' own choices.
#include <gmock/gmock.h>

#include <set>

#include "SpadesGame.h"
#include "TestTable.h"

using namespace spades;
using namespace spades::testing;

namespace {

struct TRecorded {
    std::array<uint8_t, 53> Deck{};
    int FirstSeat = South;
    std::array<int, 5> Bids{};
    std::vector<int> Plays;
    std::array<int, 5> Tricks{};
};

// Plays one hand with the seats' own choices and writes down what happened.
TRecorded PlayAndRecord(uint32_t seed, int firstSeat)
{
    TFakeHost host;
    TSpadesGame game(host, seed);
    game.NewGame({});
    game.FTurnOrder = TurnOrderFrom(firstSeat);
    game.BeginHand();
    TRecorded record;
    record.Deck = game.Deck.FDeck;
    record.FirstSeat = firstSeat;
    for (int i = 1; i <= 4; ++i)
        game.ComputerBid(game.Bidder(i));
    for (int seat = 1; seat <= 4; ++seat)
        record.Bids[static_cast<size_t>(seat)] = game.Table.Player(seat).FBid;
    game.StartPlay();
    for (;;) {
        while (!game.TrickFull())
            game.PlayComputerTurn();
        for (int place = 1; place <= 4; ++place)
            record.Plays.push_back(game.Table.Place(place).FValue);
        const int winner = game.ResolveTrick();
        if (game.HandOver())
            break;
        game.ClearTrick();
        game.StartNextTrick(winner);
    }
    for (int seat = 1; seat <= 4; ++seat)
        record.Tricks[static_cast<size_t>(seat)] = game.Table.Player(seat).FTricks;
    return record;
}

struct TCase {
    uint32_t Seed;
    int FirstSeat;
};

class RecordedHand : public ::testing::TestWithParam<TCase> {};

TEST_P(RecordedHand, DealsTheGivenOrderOneCardAtATimeFromNorth)
{
    TFakeHost host;
    TSpadesGame game(host, 1);
    const TRecorded record = PlayAndRecord(GetParam().Seed, GetParam().FirstSeat);
    game.NewGame({});
    game.NextDeal = record.Deck;
    game.BeginHand();
    EXPECT_FALSE(game.NextDeal.has_value()) << "used once";
    for (int seat = 1; seat <= 4; ++seat) {
        std::set<int> held, dealt;
        for (int slot = 1; slot <= 13; ++slot) {
            held.insert(game.Table.Player(seat).FHand[static_cast<size_t>(slot)]);
            dealt.insert(record.Deck[static_cast<size_t>(4 * (slot - 1) + seat)]);
        }
        EXPECT_EQ(held, dealt) << "seat " << seat;
    }
    EXPECT_EQ(game.Random.Seed(), 1u) << "a given deal draws nothing from the generator";
    // The next hand shuffles again.
    game.BeginHand();
    EXPECT_NE(game.Random.Seed(), 1u);
}

TEST_P(RecordedHand, AScriptedHandBidsAndPlaysTheRecordedCards)
{
    const TRecorded record = PlayAndRecord(GetParam().Seed, GetParam().FirstSeat);
    TFakeHost host;
    TSpadesGame game(host, 999);
    game.NewGame({});
    game.FTurnOrder = TurnOrderFrom(record.FirstSeat);
    game.NextDeal = record.Deck;
    // Bids a seat would never choose itself: the script decides.
    TSpadesGame::TScript script;
    script.Bids = record.Bids;
    script.Plays = record.Plays;
    game.Script = script;
    game.BeginHand();
    for (int i = 1; i <= 4; ++i)
        game.ComputerBid(game.Bidder(i));
    for (int seat = 1; seat <= 4; ++seat)
        EXPECT_EQ(game.Table.Player(seat).FBid, record.Bids[static_cast<size_t>(seat)]);
    game.StartPlay();
    std::vector<int> plays;
    for (;;) {
        while (!game.TrickFull())
            game.PlayComputerTurn();
        for (int place = 1; place <= 4; ++place)
            plays.push_back(game.Table.Place(place).FValue);
        const int winner = game.ResolveTrick();
        if (game.HandOver())
            break;
        game.ClearTrick();
        game.StartNextTrick(winner);
    }
    EXPECT_EQ(plays, record.Plays);
    for (int seat = 1; seat <= 4; ++seat)
        EXPECT_EQ(game.Table.Player(seat).FTricks, record.Tricks[static_cast<size_t>(seat)]);
}

INSTANTIATE_TEST_SUITE_P(Hands, RecordedHand,
                         ::testing::Values(TCase{1, South}, TCase{77, West}, TCase{4242, North}, TCase{31337, East}),
                         [](const auto& info) {
                             return "Seed" + std::to_string(info.param.Seed) + "First" +
                                    std::to_string(info.param.FirstSeat);
                         });

TEST(RecordedScript, ScriptedBidsAreKeptWithinNilToThirteenAndNilIsNoted)
{
    TFakeHost host;
    TSpadesGame game(host, 5);
    game.NewGame({});
    game.BeginHand();
    TSpadesGame::TScript script;
    script.Bids = {0, 0, 20, -3, 13};
    game.Script = script;
    for (int seat = 1; seat <= 4; ++seat)
        game.ComputerBid(seat);
    EXPECT_EQ(game.Table.Player(North).FBid, 0);
    EXPECT_EQ(game.Table.Player(East).FBid, 13);
    EXPECT_EQ(game.Table.Player(South).FBid, 0);
    EXPECT_EQ(game.Table.Player(West).FBid, 13);
    EXPECT_TRUE(game.Table.NilInPlay);
}

TEST(RecordedScript, ACardTheSeatDoesNotHoldFallsBackToItsOwnChoiceAndNewGameDropsTheScript)
{
    TFakeHost host;
    TSpadesGame game(host, 8);
    game.NewGame({});
    game.BeginHand();
    const int seat = game.SeatToPlay();
    // A card of another seat's hand.
    const int foreign = game.Table.Player(NextSeat(seat)).FHand[1];
    TSpadesGame::TScript script;
    script.Plays = {foreign};
    game.Script = script;
    game.StartPlay();
    const int own = [&] {
        TFakeHost other;
        TSpadesGame copy(other, 8);
        copy.NewGame({});
        copy.BeginHand();
        copy.StartPlay();
        copy.PlayComputerTurn();
        return copy.Table.Place(1).FValue;
    }();
    game.PlayComputerTurn();
    EXPECT_EQ(game.Table.Place(1).FSeat, seat);
    EXPECT_EQ(game.Table.Place(1).FValue, own);
    game.NewGame({});
    EXPECT_FALSE(game.Script.has_value());
}

}  // namespace
