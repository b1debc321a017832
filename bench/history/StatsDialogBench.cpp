// Opening the statistics window over 10,000 recorded games: the queries, the
// figures table, the list of games and the chart, shown and laid out.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "BenchStore.h"
#include <QTableWidget>

#include "StatsDialog.h"
#include "../WidgetBenchMain.h"

using namespace spades;

namespace {

void BM_StatisticsWindowOpen(benchmark::State& state)
{
    THistoryStore& store = bench::Store();
    const qint64 current = state.range(0);
    for (auto _ : state) {
        TdlgStatistics dialog(store.Database(), current, [](const QString&) { return false; }, [] {});
        dialog.show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(dialog.lvwFigures()->rowCount());
    }
}
// The latest game shown; then a game from the middle of the record.
BENCHMARK(BM_StatisticsWindowOpen)->Arg(0)->Arg(5000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return RunWidgetBenchmarks(argc, argv); }
