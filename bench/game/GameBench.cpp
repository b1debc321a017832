// Speed of the computer's bidding and play, and of whole simulated hands.
#include <benchmark/benchmark.h>

#include <sstream>
#include <vector>

#include "Simulator.h"

using namespace spades;

namespace {

// Deals hands once and keeps them, so the benchmark times only the decision.
struct TDealtHands {
    THeadlessHost host;
    TSpadesGame game{host, 31337};
    std::vector<std::array<std::array<int, 14>, 5>> hands;

    TDealtHands()
    {
        game.NewGame({});
        for (int i = 0; i < 256; ++i) {
            game.BeginHand();
            std::array<std::array<int, 14>, 5> dealt{};
            for (int seat = 1; seat <= 4; ++seat) {
                dealt[static_cast<size_t>(seat)] = game.Table.Player(seat).FHand;
                game.Table.Player(seat).ResetSeat();
            }
            hands.push_back(dealt);
        }
    }
};

void BM_ComputeBid(benchmark::State& state)
{
    TDealtHands dealt;
    TPlayer& seat = dealt.game.Table.Player(North);
    size_t i = 0;
    for (auto _ : state) {
        seat.ResetSeat();
        for (int slot = 1; slot <= 13; ++slot)
            seat.AddCard(dealt.hands[i % dealt.hands.size()][1][static_cast<size_t>(slot)]);
        seat.ComputeBid();
        benchmark::DoNotOptimize(seat.FBid);
        ++i;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ComputeBid);

// Records every table state a computer seat decides in over many hands, then
// replays the decisions alone.
void BM_ChooseCard(benchmark::State& state)
{
    THeadlessHost host;
    TSpadesGame game(host, 4242);
    struct TSnapshot {
        std::array<std::array<int, 14>, 5> hands;
        std::array<std::array<int, 5>, 5> counts;
        std::array<int, 5> bids;
        std::array<TPlayStack, 5> places;
        std::array<bool, 53> played;
        bool broken, nil;
        int seat;
    };
    std::vector<TSnapshot> snapshots;
    game.NewGame({});
    while (snapshots.size() < 20000) {
        game.BeginHand();
        for (int i = 1; i <= 4; ++i)
            game.ComputerBid(game.Bidder(i));
        game.StartPlay();
        for (;;) {
            while (!game.TrickFull()) {
                TSnapshot s;
                for (int seat = 1; seat <= 4; ++seat) {
                    s.hands[static_cast<size_t>(seat)] = game.Table.Player(seat).FHand;
                    s.counts[static_cast<size_t>(seat)] = game.Table.Player(seat).FSuitCount;
                    s.bids[static_cast<size_t>(seat)] = game.Table.Player(seat).FBid;
                }
                s.places = game.Table.TrickStacks;
                s.played = game.Table.CardsPlayed;
                s.broken = game.Table.SpadesBroken;
                s.nil = game.Table.NilInPlay;
                s.seat = game.SeatToPlay();
                snapshots.push_back(s);
                game.PlayComputerTurn();
            }
            const int winner = game.ResolveTrick();
            if (game.HandOver())
                break;
            game.ClearTrick();
            game.StartNextTrick(winner);
        }
        game.ScoreHand();
        game.PrepareNextHand();
    }

    size_t i = 0;
    for (auto _ : state) {
        // Putting the table state back is timed too: a few hundred bytes copied.
        const TSnapshot& s = snapshots[i % snapshots.size()];
        for (int seat = 1; seat <= 4; ++seat) {
            TPlayer& player = game.Table.Player(seat);
            player.FHand = s.hands[static_cast<size_t>(seat)];
            player.FSuitCount = s.counts[static_cast<size_t>(seat)];
            player.FBid = s.bids[static_cast<size_t>(seat)];
        }
        game.Table.TrickStacks = s.places;
        game.Table.CardsPlayed = s.played;
        game.Table.SpadesBroken = s.broken;
        game.Table.NilInPlay = s.nil;
        benchmark::DoNotOptimize(game.Table.Player(s.seat).ChooseCard());
        ++i;
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["table_states"] = static_cast<double>(snapshots.size());
}
BENCHMARK(BM_ChooseCard);

// Whole hands through the simulator, log off, output to a discarded stream.
void BM_SimulatedHands(benchmark::State& state)
{
    std::ostringstream out;
    TSimulator simulator(12345, 250, out);
    int game = 0;
    long long hands = 0;
    for (auto _ : state) {
        hands += simulator.PlayGame(++game);
        if (out.tellp() > (1 << 20)) {
            out.str({});
            out.clear();
        }
    }
    state.counters["hands_per_second"] = benchmark::Counter(static_cast<double>(hands), benchmark::Counter::kIsRate);
    state.SetItemsProcessed(hands);
}
BENCHMARK(BM_SimulatedHands)->Unit(benchmark::kMicrosecond);

}  // namespace



namespace {
void BM_DealAndSort(benchmark::State& state)
{
    THeadlessHost host;
    TSpadesGame game(host, 99);
    game.NewGame({});
    for (auto _ : state) {
        for (int seat = 1; seat <= 4; ++seat)
            game.Table.Player(seat).ResetSeat();
        game.BeginHand();
        benchmark::DoNotOptimize(game.Table.Player(1).FHand);
    }
}
BENCHMARK(BM_DealAndSort);
}  // namespace
BENCHMARK_MAIN();
