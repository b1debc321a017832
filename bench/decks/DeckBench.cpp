// How long a switch of card decks takes on a dealt table: reading the chosen
// deck's file and drawing every card the table shows from it, from the built-in
// faces to an installed deck of each format, the lightest and the heaviest.
// The time is the wall clock's: on a busy machine it runs well above the CPU time.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include "Defaults.h"
#include "MediaPlayer.h"
#include "Sleeper.h"
#include "SpadesU.h"
#include "TablePrompts.h"
#include "../WidgetBenchMain.h"

using namespace spades;

namespace {

void BM_SwitchDeckOnADealtTable(benchmark::State& state, const char* deck)
{
    QTemporaryDir config, program;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    TUnattendedPrompts prompts;
    TSilentPlayer music, preview;
    TTableEnvironment environment;
    environment.ProgramDir = program.path() + "/";
    environment.LogFallbackDir = program.path() + "/data";
    environment.Prompts = &prompts;
    environment.MusicPlayer = &music;
    environment.PreviewPlayer = &preview;
    environment.CheckScreenWidth = false;
    TfrmMain window(environment);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        state.SkipWithError("the window never showed");
        return;
    }
    window.GameSleeper().SetInterval(1);
    // South is a person: after the deal and the bids the table waits for a click.
    window.Steps().Request(TTableRequest::NewGame);
    QCoreApplication::processEvents();
    QWidget* table = window.centralWidget();
    QImage frame(table->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        window.GameDefaults()->SetCardDeck(QString());
        window.ApplyPreferences();
        table->render(&frame);
        QElapsedTimer clock;
        clock.start();
        window.GameDefaults()->SetCardDeck(QString::fromLatin1(deck));
        window.ApplyPreferences();
        table->render(&frame);
        state.SetIterationTime(static_cast<double>(clock.nsecsElapsed()) / 1e9);
    }
}
BENCHMARK_CAPTURE(BM_SwitchDeckOnADealtTable, standard, "carddecks/svg-standard")
    ->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK_CAPTURE(BM_SwitchDeckOnADealtTable, dondorf, "carddecks/svg-dondorf")
    ->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK_CAPTURE(BM_SwitchDeckOnADealtTable, anglo, "aisleriot/anglo.svgz")
    ->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK_CAPTURE(BM_SwitchDeckOnADealtTable, paris, "carddecks/svg-gm-paris")
    ->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv) { return RunWidgetBenchmarks(argc, argv); }
