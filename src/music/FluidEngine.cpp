#include "FluidEngine.h"

#include "MediaPlayer.h"

#include <QFileInfo>
#include <QStringList>

#include <fluidsynth.h>

#include <algorithm>
#include <chrono>

namespace spades {
namespace {

constexpr const char* DebianSoundFont = "/usr/share/sounds/sf2/default-GM.sf2";

QString settingText(fluid_settings_t* settings, const char* name)
{
    char* text = nullptr;
    if (fluid_settings_dupstr(settings, name, &text) != FLUID_OK || text == nullptr)
        return {};
    const QString result = QString::fromLocal8Bit(text);
    fluid_free(text);
    return result;
}

// The SoundFonts to try, best first.
QStringList soundFontCandidates(const TFluidConfig& config, fluid_settings_t* settings)
{
    if (!config.SoundFont.isEmpty())
        return {config.SoundFont};
    QStringList paths;
    const QString fluidDefault = settingText(settings, "synth.default-soundfont");
    if (!fluidDefault.isEmpty())
        paths << fluidDefault;
    if (!paths.contains(QLatin1String(DebianSoundFont)))
        paths << QLatin1String(DebianSoundFont);
    return paths;
}

}  // namespace

TFluidEngine::TFluidEngine(TFluidConfig config) : FConfig(std::move(config))
{
    FSettings = new_fluid_settings();
    fluid_settings_setnum(FSettings, "synth.sample-rate", FConfig.SampleRate);
    fluid_settings_setint(FSettings, "synth.reverb.active", FConfig.Effects ? 1 : 0);
    fluid_settings_setint(FSettings, "synth.chorus.active", FConfig.Effects ? 1 : 0);
    fluid_settings_setnum(FSettings, "synth.gain", FConfig.Gain);
    fluid_settings_setint(FSettings, "synth.cpu-cores", 1);
    // The players advance with the rendered samples, so the offline outputs keep exact time.
    fluid_settings_setstr(FSettings, "player.timing-source", "sample");
    fluid_settings_setint(FSettings, "audio.period-size", FConfig.PeriodFrames);
    fluid_settings_setint(FSettings, "audio.periods", 8);

    // The SoundFont's holder: the smallest synthesizer FluidSynth allows.
    FLibrarySettings = new_fluid_settings();
    fluid_settings_setint(FLibrarySettings, "synth.polyphony", 1);
    fluid_settings_setint(FLibrarySettings, "synth.reverb.active", 0);
    fluid_settings_setint(FLibrarySettings, "synth.chorus.active", 0);
}

TFluidEngine::~TFluidEngine()
{
    StopOutput();
    if (FLibrary)
        delete_fluid_synth(FLibrary);
    delete_fluid_settings(FLibrarySettings);
    delete_fluid_settings(FSettings);
}

void TFluidEngine::LoadSoundFont()
{
    if (FSoundFont)
        return;
    const QStringList candidates = soundFontCandidates(FConfig, FSettings);
    const auto found = std::find_if(candidates.begin(), candidates.end(),
                                    [](const QString& path) { return QFileInfo(path).isFile(); });
    if (found == candidates.end())
        throw ENoSound(QStringLiteral("No SoundFont for the music was found (looked for %1).")
                           .arg(candidates.join(QStringLiteral(", ")))
                           .toStdString());
    if (!FLibrary)
        FLibrary = new_fluid_synth(FLibrarySettings);
    const int id = FLibrary ? fluid_synth_sfload(FLibrary, found->toLocal8Bit().constData(), 0) : FLUID_FAILED;
    if (id == FLUID_FAILED)
        throw ENoSound(QStringLiteral("The SoundFont \"%1\" could not be loaded.").arg(*found).toStdString());
    FSoundFont = fluid_synth_get_sfont_by_id(FLibrary, id);
    FSoundFontPath = *found;
}

fluid_synth_t* TFluidEngine::NewSynth()
{
    LoadSoundFont();
    fluid_synth_t* synth = new_fluid_synth(FSettings);
    if (!synth)
        throw ENoSound("FluidSynth could not create a synthesizer.");
    // Shared, not loaded again: the holder keeps ownership.
    if (fluid_synth_add_sfont(synth, FSoundFont) == FLUID_FAILED) {
        delete_fluid_synth(synth);
        throw ENoSound("FluidSynth could not use the SoundFont.");
    }
    return synth;
}

void TFluidEngine::DeleteSynth(fluid_synth_t* synth)
{
    if (!synth)
        return;
    fluid_synth_remove_sfont(synth, FSoundFont);
    delete_fluid_synth(synth);
}

void TFluidEngine::Attach(TFluidVoice& voice)
{
    const auto lock = Lock();
    if (std::find(FVoices.begin(), FVoices.end(), &voice) == FVoices.end())
        FVoices.push_back(&voice);
}

void TFluidEngine::Detach(TFluidVoice& voice)
{
    const auto lock = Lock();
    std::erase(FVoices, &voice);
}

void TFluidEngine::AcquireOutput()
{
    if (FOutputUsers == 0) {
        if (FConfig.Output == TAudioOutput::System)
            StartDriver();
        else if (FConfig.Output == TAudioOutput::OfflineRealTime) {
            FStopThread = false;
            FThread = std::thread([this] { RunRealTime(); });
        }
    }
    ++FOutputUsers;
}

void TFluidEngine::ReleaseOutput()
{
    if (FOutputUsers > 0 && --FOutputUsers == 0)
        StopOutput();
}

void TFluidEngine::StopOutput()
{
    FOutputUsers = 0;
    // Never under the lock: the render thread may be waiting for it.
    if (FDriver) {
        delete_fluid_audio_driver(FDriver);
        FDriver = nullptr;
    }
    if (FThread.joinable()) {
        {
            const auto lock = Lock();
            FStopThread = true;
        }
        FWake.notify_all();
        FThread.join();
    }
}

void TFluidEngine::StartDriver()
{
    QStringList drivers;
    if (!FConfig.AudioDriver.isEmpty())
        drivers << FConfig.AudioDriver;
    else
        drivers << settingText(FSettings, "audio.driver") << QStringLiteral("pulseaudio") << QStringLiteral("alsa");
    drivers.removeDuplicates();
    drivers.removeAll(QString());
    for (const QString& driver : drivers) {
        fluid_settings_setstr(FSettings, "audio.driver", driver.toLatin1().constData());
        FDriver = new_fluid_audio_driver2(FSettings, &TFluidEngine::DriverCallback, this);
        if (FDriver)
            return;
    }
    throw ENoSound(QStringLiteral("No audio output could be started (tried %1).")
                       .arg(drivers.join(QStringLiteral(", ")))
                       .toStdString());
}

int TFluidEngine::DriverCallback(void* data, int len, int /*nfx*/, float* /*fx*/[], int nout, float* out[])
{
    // The drivers hand us zeroed buffers; the effects are mixed into the dry pair.
    if (nout < 2)
        return FLUID_FAILED;
    static_cast<TFluidEngine*>(data)->Mix(len, out[0], out[1]);
    return FLUID_OK;
}

void TFluidEngine::Mix(int frames, float* left, float* right)
{
    const auto lock = Lock();
    for (TFluidVoice* voice : FVoices) {
        if (!voice->Watching && fluid_synth_get_active_voice_count(voice->Synth) == 0)
            continue;  // idle: nothing to hear, nothing to advance
        float* fx[4] = {left, right, left, right};
        float* dry[2] = {left, right};
        fluid_synth_process(voice->Synth, frames, 4, fx, 2, dry);
        if (voice->Watching && fluid_player_get_status(voice->Player) == FLUID_PLAYER_DONE) {
            voice->Watching = false;
            voice->Ended();
        }
    }
    FRendered += frames;
    if (FConfig.KeepAudio && FConfig.Output != TAudioOutput::System) {
        for (int i = 0; i < frames; ++i) {
            FAudio.push_back(left[i]);
            FAudio.push_back(right[i]);
        }
    }
}

void TFluidEngine::RenderOffline(std::int64_t frames)
{
    const int period = FConfig.PeriodFrames;
    std::vector<float> left(static_cast<std::size_t>(period)), right(static_cast<std::size_t>(period));
    while (frames > 0) {
        const int now = static_cast<int>(std::min<std::int64_t>(frames, period));
        std::fill(left.begin(), left.end(), 0.0f);
        std::fill(right.begin(), right.end(), 0.0f);
        Mix(now, left.data(), right.data());
        frames -= now;
    }
}

void TFluidEngine::RunRealTime()
{
    using clock = std::chrono::steady_clock;
    const auto period = std::chrono::duration_cast<clock::duration>(
        std::chrono::duration<double>(FConfig.PeriodFrames / FConfig.SampleRate));
    auto next = clock::now();
    for (;;) {
        RenderOffline(FConfig.PeriodFrames);
        next += period;
        auto lock = Lock();
        if (FWake.wait_until(lock, next, [this] { return FStopThread; }))
            return;
    }
}

std::int64_t TFluidEngine::RenderedFrames() const
{
    const std::lock_guard lock(FMutex);
    return FRendered;
}

std::vector<float> TFluidEngine::TakeAudio()
{
    const auto lock = Lock();
    return std::exchange(FAudio, {});
}

}  // namespace spades
