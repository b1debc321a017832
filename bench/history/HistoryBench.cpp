// The history over 10,000 games: writing one hand as the table does (its own
// transaction, synced), and what the statistics window reads when it opens.
#include <benchmark/benchmark.h>

#include <QCoreApplication>

#include "BenchStore.h"
#include "GameRecorder.h"
#include "HistoryQueries.h"

using namespace spades;
using spades::bench::Store;

namespace {

// One hand as the table writes it: dealt, then scored, each in its own synced transaction.
void BM_WriteScoredHand(benchmark::State& state)
{
    THistoryStore& store = Store();
    THeadlessHost host;
    TSpadesGame game(host, 99);
    game.NewGame({});
    TGameRecorder recorder(store);
    recorder.GameStarted(game, SeatsOf(game.Table));
    game.BeginHand();
    THandRecord hand;
    hand.Deal = DealOf(game.Deck);
    hand.Plays.assign(hand.Deal.begin(), hand.Deal.end());
    hand.Bids = {0, 3, 4, 0, 5};
    hand.Tricks = {0, 3, 5, 1, 4};
    hand.Bags = {0, 0, 1, 0, 0};
    hand.Scored = true;
    for (auto _ : state) {
        ++hand.Number;
        hand.Scores = {0, 30 * hand.Number, 41 * hand.Number, -100, -50 * hand.Number};
        store.WriteHand(recorder.GameId(), hand);
    }
    store.AbandonUnfinished();
}
BENCHMARK(BM_WriteScoredHand)->Unit(benchmark::kMillisecond)->Iterations(200);

// The statistics window's reads when it opens: the figures per seat, the list of
// games, and the chart of the latest game.
void BM_StatisticsOpen(benchmark::State& state)
{
    THistoryStore& store = Store();
    const QDateTime since = state.range(0) ? QDateTime::currentDateTimeUtc().addDays(-30) : QDateTime();
    for (auto _ : state) {
        const auto figures = SeatFigures(store.Database(), since);
        const auto games = GameList(store.Database(), since);
        const auto series = ScoreSeries(store.Database(), games.empty() ? 0 : games.front().Id);
        benchmark::DoNotOptimize(figures.size() + games.size() + series.size());
    }
}
BENCHMARK(BM_StatisticsOpen)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_SeatFigures(benchmark::State& state)
{
    THistoryStore& store = Store();
    for (auto _ : state)
        benchmark::DoNotOptimize(SeatFigures(store.Database()).size());
}
BENCHMARK(BM_SeatFigures)->Unit(benchmark::kMillisecond);

void BM_ResumeCheck(benchmark::State& state)
{
    THistoryStore& store = Store();
    for (auto _ : state)
        benchmark::DoNotOptimize(store.Unfinished().has_value());
}
BENCHMARK(BM_ResumeCheck)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
