// How fast the table paints: a full repaint of a dealt table, and the time from
// creating the window to its first painted frame.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include "MediaPlayer.h"
#include "Sleeper.h"
#include "SpadesU.h"
#include "TablePrompts.h"

using namespace spades;

namespace {

// Counts the paints of a widget.
class TPaintWatch : public QObject {
public:
    int Paints = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        Paints += event->type() == QEvent::Paint;
        return false;
    }
};

struct TBenchTable {
    QTemporaryDir config, program;
    TUnattendedPrompts prompts;
    TSilentPlayer music, preview;

    TBenchTable() { qputenv("XDG_CONFIG_HOME", config.path().toUtf8()); }

    std::unique_ptr<TfrmMain> Create()
    {
        TTableEnvironment environment;
        environment.ProgramDir = program.path() + "/";
        environment.LogFallbackDir = program.path() + "/data";
        environment.Prompts = &prompts;
        environment.MusicPlayer = &music;
        environment.PreviewPlayer = &preview;
        environment.CheckScreenWidth = false;
        return std::make_unique<TfrmMain>(environment);
    }
};

void BM_FullRepaintOfADealtTable(benchmark::State& state)
{
    TBenchTable bench;
    auto window = bench.Create();
    window->show();
    QTest::qWaitForWindowExposed(window.get());
    window->GameSleeper().SetInterval(1);
    // South is a person: after the deal and the bids the table waits for a click.
    window->Steps().Request(TTableRequest::NewGame);
    QCoreApplication::processEvents();
    // Painting only: the table and everything on it drawn into an image the size of
    // the screen's backing store, without the platform's copy to the screen.
    QWidget* table = window->centralWidget();
    QImage frame(table->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state)
        table->render(&frame);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FullRepaintOfADealtTable)->Unit(benchmark::kMicrosecond);



void BM_WindowToFirstPaint(benchmark::State& state)
{
    TBenchTable bench;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        auto window = bench.Create();
        TPaintWatch watch;
        window->centralWidget()->installEventFilter(&watch);
        window->show();
        while (watch.Paints == 0)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        state.SetIterationTime(static_cast<double>(clock.nsecsElapsed()) / 1e9);
        window->centralWidget()->removeEventFilter(&watch);
    }
}
BENCHMARK(BM_WindowToFirstPaint)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
