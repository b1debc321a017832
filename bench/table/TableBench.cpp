// How fast the table paints: a full repaint of a dealt table at its natural size
// and at 1920 x 1080 on a device of ratio 2, repaints while the window is resized,
// the memory of the rendered cards at 4K, and the time from creating the window
// to its first painted frame.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QImage>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

#include "CardRender.h"
#include "MediaPlayer.h"
#include "Sleeper.h"
#include "SpadesU.h"
#include "TablePrompts.h"
#include "../WidgetBenchMain.h"

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

// A window with a dealt table: South is a person, so after the deal and the bids
// the table waits for a click and holds still.
std::unique_ptr<TfrmMain> DealtTable(TBenchTable& bench, QSize client)
{
    auto window = bench.Create();
    window->show();
    (void)QTest::qWaitForWindowExposed(window.get());
    window->GameSleeper().SetInterval(1);
    window->resize(client.width(), client.height() + window->menuBar()->height());
    QCoreApplication::processEvents();
    window->Game().Random.SetSeed(1);  // the same deal every run, so figures compare
    window->Steps().Request(TTableRequest::NewGame);
    QCoreApplication::processEvents();
    // A resized table draws quick stand-in cards until its size has rested; the
    // table at rest is what is measured here.
    QTest::qWait(400);
    return window;
}

// Painting only: the table and everything on it drawn into an image the size of
// the screen's backing store, without the platform's copy to the screen.
void RepaintAt(benchmark::State& state, QSize client, qreal ratio)
{
    TBenchTable bench;
    auto window = DealtTable(bench, client);
    QWidget* table = window->centralWidget();
    QImage frame(table->size() * ratio, QImage::Format_ARGB32_Premultiplied);
    frame.setDevicePixelRatio(ratio);
    table->render(&frame);  // the first paint renders the cards at this size
    for (auto _ : state)
        table->render(&frame);
    state.SetItemsProcessed(state.iterations());
    state.counters["width"] = table->width();
    state.counters["height"] = table->height();
    state.counters["ratio"] = ratio;
}

void BM_FullRepaintOfADealtTable(benchmark::State& state) { RepaintAt(state, {769, 461}, 1.0); }
BENCHMARK(BM_FullRepaintOfADealtTable)->Unit(benchmark::kMicrosecond);

void BM_FullRepaintAt1920x1080Ratio2(benchmark::State& state) { RepaintAt(state, {1920, 1080}, 2.0); }
BENCHMARK(BM_FullRepaintAt1920x1080Ratio2)->Unit(benchmark::kMicrosecond);

// Dragging the window's edge: every step a new size, so the layout, the surface's
// tile and every card are made anew before the paint. The slowest step counts.
void BM_RepaintWhileResizing(benchmark::State& state)
{
    TBenchTable bench;
    auto window = DealtTable(bench, {769, 461});
    QWidget* table = window->centralWidget();
    const int menu = window->menuBar()->height();
    double slowest = 0;
    int step = 0;
    for (auto _ : state) {
        const QSize client(900 + (step * 37) % 1000, 540 + (step * 23) % 560);
        ++step;
        QElapsedTimer clock;
        clock.start();
        window->resize(client.width(), client.height() + menu);
        QCoreApplication::sendPostedEvents();
        QImage frame(table->size(), QImage::Format_ARGB32_Premultiplied);
        table->render(&frame);
        const double ms = static_cast<double>(clock.nsecsElapsed()) / 1e6;
        slowest = std::max(slowest, ms);
        state.SetIterationTime(ms / 1000);
    }
    state.counters["slowest_ms"] = slowest;
}
BENCHMARK(BM_RepaintWhileResizing)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(60);

// The memory the rendered cards take on a 4K table.
void BM_CardCacheAt4K(benchmark::State& state)
{
    TBenchTable bench;
    ClearRenderedCards();
    auto window = DealtTable(bench, {3840, 2160 - 60});
    QWidget* table = window->centralWidget();
    QImage frame(table->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state)
        table->render(&frame);
    state.counters["card_cache_MB"] = static_cast<double>(RenderedCardBytes()) / (1 << 20);
}
BENCHMARK(BM_CardCacheAt4K)->Unit(benchmark::kMillisecond)->Iterations(5);

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

int main(int argc, char** argv) { return RunWidgetBenchmarks(argc, argv); }
