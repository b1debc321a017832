// The cost of the background music.
//   BM_RenderSong     renders a whole song offline: CPU time per second of music.
//   BM_PlayRealTime   plays a song for 20 s at the pace of real audio, through the sound
//                     device when there is one, else through the offline real-time output,
//                     with both players open as in the preferences dialog: the share of
//                     one core the process spends, and the memory it takes beyond the
//                     SoundFont.
#include "FluidEngine.h"
#include "FluidPlayer.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <benchmark/benchmark.h>

#include <ctime>

using namespace spades;

namespace {

QString songPath(const char* name)
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(QString::fromLatin1(name));
}

double processCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}

double residentMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
    return 0;
}

void BM_RenderSong(benchmark::State& state, const char* name)
{
    TFluidConfig config;
    config.Output = TAudioOutput::Offline;
    auto engine = std::make_shared<TFluidEngine>(config);
    TFluidPlayer player(engine);
    double seconds = 0, cpu = 0;
    for (auto _ : state) {
        const double cpuStart = processCpuSeconds();
        bool ended = false;
        auto c = QObject::connect(&player, &TMediaPlayer::Notify, [&](TMediaResult) { ended = true; });
        player.SetFileName(songPath(name));
        player.Open();
        player.Play();
        const auto start = engine->RenderedFrames();
        while (!ended) {
            engine->RenderOffline(config.PeriodFrames * 32);
            QCoreApplication::processEvents();
        }
        seconds += (engine->RenderedFrames() - start) / config.SampleRate;
        cpu += processCpuSeconds() - cpuStart;
        player.Close();
        QObject::disconnect(c);
    }
    state.counters["music_s"] = seconds / static_cast<double>(state.iterations());
    // CPU seconds per second of music, as a share of one core.
    state.counters["core_%"] = cpu / seconds * 100;
}

void BM_PlayRealTime(benchmark::State& state)
{
    const double before = residentMiB();
    TFluidConfig config;
    auto engine = std::make_shared<TFluidEngine>(config);
    bool system = true;
    {
        TFluidPlayer probe(engine);
        try {
            static const char tiny[] = "MThd\0\0\0\6\0\0\0\1\0\x60MTrk\0\0\0\x0f"
                                       "\0\xc0\0\0\x90\x3c\x64\x60\x80\x3c\x40\0\xff\x2f\0";
            probe.OpenData(QByteArray(tiny, sizeof tiny - 1), QStringLiteral("probe.mid"));
        } catch (const ENoSound&) {
            system = false;
        } catch (const EMediaError&) {
        }
    }
    if (!system) {
        config.Output = TAudioOutput::OfflineRealTime;
        engine = std::make_shared<TFluidEngine>(config);
    }
    engine->DeleteSynth(engine->NewSynth());  // loads the SoundFont, and keeps it
    const double withSoundFont = residentMiB();

    TFluidPlayer background(engine);
    TFluidPlayer preview(engine);
    double cpuShare = 0, peak = 0;
    for (auto _ : state) {
        background.SetFileName(songPath("Spades4.mid"));
        background.Open();
        preview.SetFileName(songPath("Spades0.rmi"));
        preview.Open();  // open, as the preferences dialog may leave it, but quiet
        background.Play();
        const double cpuStart = processCpuSeconds();
        QElapsedTimer wall;
        wall.start();
        while (wall.elapsed() < 20'000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 100);
            QThread::msleep(100);
            peak = std::max(peak, residentMiB());
        }
        cpuShare = (processCpuSeconds() - cpuStart) / (wall.elapsed() / 1000.0) * 100;
        state.SetIterationTime(wall.elapsed() / 1000.0);
        background.Close();
        preview.Close();
    }
    state.SetLabel(system ? "sound device" : "offline real-time output (no sound device here)");
    state.counters["core_%"] = cpuShare;
    state.counters["soundfont_MiB"] = withSoundFont - before;
    state.counters["beyond_soundfont_MiB"] = peak - withSoundFont;
}

}  // namespace

// First, while the process is fresh, so that its memory figures mean something.
BENCHMARK(BM_PlayRealTime)->Unit(benchmark::kSecond)->Iterations(1)->UseManualTime();
BENCHMARK_CAPTURE(BM_RenderSong, Spades0, "Spades0.rmi")->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_CAPTURE(BM_RenderSong, Spades4, "Spades4.mid")->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_CAPTURE(BM_RenderSong, Spades5, "Spades5.mid")->Unit(benchmark::kMillisecond)->Iterations(1);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
