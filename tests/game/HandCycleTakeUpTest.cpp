// The cycle taken up again from a game put back as it stood, and a new game
// begun from a record: the table goes on exactly as if it had never left.
#include <gmock/gmock.h>

#include <functional>
#include <numeric>
#include <string>

#include "GameSnapshot.h"
#include "HandCycle.h"
#include "SeatController.h"
#include "TestTable.h"

using namespace spades;
using spades::testing::TFakeHost;

namespace {

using TTakeUp = THandCycle::TTakeUp;

std::array<uint8_t, 53> Unshuffled()
{
    std::array<uint8_t, 53> deck{};
    std::iota(deck.begin() + 1, deck.end(), uint8_t{1});
    return deck;
}

constexpr std::array<TSeatKind, 5> Computers{TSeatKind::Computer, TSeatKind::Computer, TSeatKind::Computer,
                                             TSeatKind::Computer, TSeatKind::Computer};

struct TPacedTable {
    explicit TPacedTable(uint32_t seed = 42) : Game(Host, seed), Cycle(Game)
    {
        Cycle.SetDealSource(&Deal);
        Cycle.SetPauses(true);
    }
    // One step the way a table takes it: a question to its seat, a pause ended.
    // Writes what happened; false at the end of a hand or of the game.
    bool Step(std::string& story)
    {
        const TWait wait = Cycle.Advance();
        switch (wait.Kind) {
        case TWaitKind::Bid:
        case TWaitKind::Card:
            Seats.Ask(Game, wait, Cycle);
            story += (wait.Kind == TWaitKind::Bid ? " b" : " c") + std::to_string(wait.Seat) + '=' +
                     std::to_string(wait.Kind == TWaitKind::Bid ? Game.Table.Player(wait.Seat).FBid
                                                                : Game.FPlays[static_cast<size_t>(Game.FPlayCount - 1)].Card);
            return true;
        case TWaitKind::Pause:
            story += " p" + std::to_string(static_cast<int>(wait.Pause)) + '/' + std::to_string(wait.Seat);
            Cycle.Resume(wait.Turn);
            return true;
        default:
            for (int seat = North; seat <= West; ++seat)
                story += " s" + std::to_string(Game.Table.Player(seat).FScore);
            return false;
        }
    }
    TFakeHost Host;
    TSpadesGame Game;
    TFixedDeal Deal{Unshuffled()};
    TSeatControllers Seats;  // every seat classic
    THandCycle Cycle;
};

struct TTakeUpCase {
    const char* Name;
    TTakeUp At;
    // Where the first table is left, looking at what it waits for.
    std::function<bool(const TSpadesGame&, const TWait&)> There;
};

class CycleTakeUp : public ::testing::TestWithParam<TTakeUpCase> {};

TEST_P(CycleTakeUp, GoesOnAsTheGameWouldHave)
{
    const TTakeUpCase& c = GetParam();
    TPacedTable left;
    left.Cycle.NewGame(1, Computers);
    std::string before;
    TWait wait;
    while (!c.There(left.Game, wait = left.Cycle.Advance()))
        ASSERT_TRUE(left.Step(before)) << "the case's moment came in the first hand";
    const TGameSnapshot moment = TakeSnapshot(left.Game);
    const int seat = wait.Kind == TWaitKind::Pause ? wait.Seat : 0;

    // The rest of the hand, and the next one, as the game went on.
    std::string expected;
    while (left.Step(expected)) {
    }
    left.Cycle.NextHand();
    while (left.Step(expected)) {
    }

    TPacedTable back(7);  // another table, another game, put back to the moment
    back.Cycle.NewGame(1, Computers);
    std::string elsewhere;
    for (int i = 0; i < 9; ++i)
        back.Step(elsewhere);
    const uint32_t stale = back.Cycle.Advance().Turn;
    RestoreSnapshot(back.Game, back.Host, moment);
    back.Cycle.TakeUp(c.At, seat);
    EXPECT_FALSE(back.Cycle.Resume(stale)) << "what was asked before is over";
    std::string actual;
    while (back.Step(actual)) {
    }
    back.Cycle.NextHand();
    while (back.Step(actual)) {
    }
    EXPECT_EQ(actual, expected);
}

bool PauseAt(const TSpadesGame& game, const TWait& wait, TPauseKind pause, int plays)
{
    return wait.Kind == TWaitKind::Pause && wait.Pause == pause && game.FPlayCount == plays;
}

INSTANTIATE_TEST_SUITE_P(
    Moments, CycleTakeUp,
    ::testing::Values(
        TTakeUpCase{"InTheBidding", TTakeUp::Bidding,
                    [](const TSpadesGame& g, const TWait& w) { return w.Kind == TWaitKind::Bid && g.FBidCount == 2; }},
        TTakeUpCase{"InATrick", TTakeUp::Playing,
                    [](const TSpadesGame& g, const TWait& w) { return w.Kind == TWaitKind::Card && g.FPlayCount == 5; }},
        TTakeUpCase{"WithTheTrickFull", TTakeUp::TrickFull,
                    [](const TSpadesGame& g, const TWait& w) { return PauseAt(g, w, TPauseKind::LastCard, 8); }},
        TTakeUpCase{"WithTheWinnerShown", TTakeUp::TrickWon,
                    [](const TSpadesGame& g, const TWait& w) { return PauseAt(g, w, TPauseKind::TrickWon, 12); }},
        TTakeUpCase{"WithTheTrickCleared", TTakeUp::TrickCleared,
                    [](const TSpadesGame& g, const TWait& w) { return PauseAt(g, w, TPauseKind::TrickCleared, 16); }},
        TTakeUpCase{"OnTheLastTrick", TTakeUp::TrickWon,
                    [](const TSpadesGame& g, const TWait& w) { return PauseAt(g, w, TPauseKind::TrickWon, 52); }}),
    [](const auto& info) { return std::string(info.param.Name); });

struct TStartCase {
    const char* Name;
    int FirstSeat;
    std::array<int, 5> Scores;
    int WinScore;
    bool Over;  // the first hand decides the game
};

class CycleStartFrom : public ::testing::TestWithParam<TStartCase> {};

TEST_P(CycleStartFrom, SeatsScoresFirstBidderAndDealAreTheRecords)
{
    const TStartCase& c = GetParam();
    TFakeHost host;
    TSpadesGame game(host, 5);
    THandCycle cycle(game);
    cycle.SetWinScore(c.WinScore);
    THandCycle::TStartPoint start;
    start.Names = {"", "Ann", "Bob", "Cy", "Di"};
    start.Scores = c.Scores;
    start.TotalBags = {0, 1, 2, 3, 4};
    start.FirstSeat = c.FirstSeat;
    start.Deal = Unshuffled();
    cycle.NewGameFrom(3, Computers, start);
    const TWait first = cycle.Advance();
    ASSERT_EQ(first.Kind, TWaitKind::Bid);
    EXPECT_EQ(first.Seat, c.FirstSeat);
    EXPECT_EQ(cycle.GameNumber(), 3);
    EXPECT_EQ(game.Deck.FDeck, Unshuffled()) << "the record's deal";
    for (int seat = North; seat <= West; ++seat) {
        const TPlayer& player = game.Table.Player(seat);
        EXPECT_EQ(player.FName, start.Names[static_cast<size_t>(seat)]);
        EXPECT_EQ(player.FScore, c.Scores[static_cast<size_t>(seat)]);
        EXPECT_EQ(player.FTotalBags, start.TotalBags[static_cast<size_t>(seat)]);
    }
    TSeatControllers seats;
    TWait wait;
    while (seats.Ask(game, wait = cycle.Advance(), cycle)) {
    }
    EXPECT_EQ(wait.Kind, c.Over ? TWaitKind::GameOver : TWaitKind::HandOver);
}

INSTANTIATE_TEST_SUITE_P(
    Records, CycleStartFrom,
    ::testing::Values(TStartCase{"FromTheStart", South, {}, 250, false},
                      TStartCase{"WestFirstLateInTheGame", West, {0, 245, 245, 245, 245}, 250, true},
                      TStartCase{"AHigherTotal", North, {0, 240, 100, 240, 100}, 500, false}),
    [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
