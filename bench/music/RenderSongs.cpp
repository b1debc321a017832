// Renders songs offline, as the game would play them, and prints their length and levels:
//   spades-music-render [--wav DIR] FILE...
// With --wav, each song is also written as a 16-bit stereo WAV file into DIR.
#include "FluidEngine.h"
#include "FluidPlayer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <cstdio>

using namespace spades;

namespace {

struct TLevels {
    double Seconds = 0;
    double PeakDb = -INFINITY;
    double RmsDb = -INFINITY;
};

double decibels(double value)
{
    return value > 0 ? 20 * std::log10(value) : -INFINITY;
}

TLevels measure(const std::vector<float>& audio, double rate)
{
    TLevels levels;
    double peak = 0, sum = 0;
    for (float s : audio) {
        peak = std::max(peak, static_cast<double>(std::fabs(s)));
        sum += static_cast<double>(s) * s;
    }
    levels.Seconds = audio.size() / 2.0 / rate;
    levels.PeakDb = decibels(peak);
    levels.RmsDb = decibels(audio.empty() ? 0 : std::sqrt(sum / audio.size()));
    return levels;
}

bool writeWav(const QString& path, const std::vector<float>& audio, int rate)
{
    QByteArray bytes;
    auto put = [&bytes](std::uint32_t value, int size) {
        for (int i = 0; i < size; ++i)
            bytes.append(static_cast<char>(value >> (8 * i)));
    };
    const auto dataSize = static_cast<std::uint32_t>(audio.size() * 2);
    bytes.append("RIFF");
    put(36 + dataSize, 4);
    bytes.append("WAVEfmt ");
    put(16, 4);
    put(1, 2);             // PCM
    put(2, 2);             // stereo
    put(rate, 4);
    put(rate * 4, 4);      // bytes a second
    put(4, 2);             // bytes a frame
    put(16, 2);
    bytes.append("data");
    put(dataSize, 4);
    for (float s : audio)
        put(static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(std::clamp(s, -1.0f, 1.0f) * 32767))), 2);
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QString wavDir;
    if (args.size() >= 2 && args[0] == QLatin1String("--wav")) {
        wavDir = args[1];
        args = args.mid(2);
    }
    if (args.isEmpty()) {
        std::fprintf(stderr, "usage: spades-music-render [--wav DIR] FILE...\n");
        return 2;
    }

    TFluidConfig config;
    config.Output = TAudioOutput::Offline;
    config.KeepAudio = true;
    auto engine = std::make_shared<TFluidEngine>(config);
    TFluidPlayer player(engine);
    int failures = 0;
    for (const QString& path : args) {
        try {
            bool ended = false;
            const auto connection = QObject::connect(&player, &TMediaPlayer::Notify, [&](TMediaResult r) {
                ended = r == TMediaResult::Successful;
            });
            player.SetFileName(path);
            player.Open();
            const double expected = player.Song().Seconds;
            engine->TakeAudio();
            player.Play();
            const auto limit = static_cast<std::int64_t>((expected + 30) * config.SampleRate);
            std::int64_t rendered = 0;
            while (!ended && rendered < limit) {
                engine->RenderOffline(config.PeriodFrames * 16);
                rendered += config.PeriodFrames * 16;
                app.processEvents();
            }
            // Let the last notes and the reverb fade, as the gap before the next song does.
            player.Close();
            QObject::disconnect(connection);
            const auto audio = engine->TakeAudio();
            const TLevels levels = measure(audio, config.SampleRate);
            std::printf("%-14s  %s  %6.1f s (file says %6.1f s)  peak %6.1f dBFS  RMS %6.1f dBFS\n",
                        qPrintable(QFileInfo(path).fileName()), ended ? "ended " : "NO END", levels.Seconds, expected,
                        levels.PeakDb, levels.RmsDb);
            if (!ended)
                ++failures;
            if (!wavDir.isEmpty()) {
                const QString wav = QDir(wavDir).filePath(QFileInfo(path).completeBaseName() + ".wav");
                if (!writeWav(wav, audio, static_cast<int>(config.SampleRate))) {
                    std::fprintf(stderr, "cannot write %s\n", qPrintable(wav));
                    ++failures;
                }
            }
        } catch (const EMediaError& e) {
            std::printf("%s\n", e.what());
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
