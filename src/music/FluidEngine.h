// What the FluidSynth players share: one SoundFont in memory, one audio output, and the
// one thread that renders every player's synthesizer into it.
#pragma once

#include <QString>

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

typedef struct _fluid_hashtable_t fluid_settings_t;
typedef struct _fluid_synth_t fluid_synth_t;
typedef struct _fluid_player_t fluid_player_t;
typedef struct _fluid_sfont_t fluid_sfont_t;
typedef struct _fluid_audio_driver_t fluid_audio_driver_t;

namespace spades {

enum class TAudioOutput {
    System,           // the sound server or device, through FluidSynth's audio driver
    Offline,          // nothing plays by itself: RenderOffline renders on the caller's thread
    OfflineRealTime,  // a thread of ours renders into memory at the pace of real audio
};

struct TFluidConfig {
    TAudioOutput Output = TAudioOutput::System;
    QString SoundFont;    // empty: FluidSynth's default General MIDI SoundFont, else Debian's
    QString AudioDriver;  // empty: FluidSynth's choice first, then the sound server, then ALSA
    double SampleRate = 44100;
    int PeriodFrames = 512;
    double Gain = 0.6;       // the songs peak near -10 dBFS: background, never loud
    bool Effects = true;     // reverb and chorus
    bool KeepAudio = false;  // offline outputs keep what they render, for inspection
};

// One player's synthesizer as the render thread sees it. Changed only under the engine's lock.
struct TFluidVoice {
    fluid_synth_t* Synth = nullptr;
    fluid_player_t* Player = nullptr;
    bool Watching = false;        // a playback runs whose end must be reported once
    std::function<void()> Ended;  // called on the render thread; may only post
};

class TFluidEngine {
public:
    explicit TFluidEngine(TFluidConfig config = {});
    ~TFluidEngine();
    TFluidEngine(const TFluidEngine&) = delete;
    TFluidEngine& operator=(const TFluidEngine&) = delete;

    const TFluidConfig& Config() const { return FConfig; }

    // A synthesizer that plays from the shared SoundFont, which is loaded on first use.
    // Throws ENoSound when there is no usable SoundFont.
    fluid_synth_t* NewSynth();
    void DeleteSynth(fluid_synth_t* synth);
    QString SoundFontPath() const { return FSoundFontPath; }

    // The output runs while at least one player holds it. Throws ENoSound.
    void AcquireOutput();
    void ReleaseOutput();
    bool OutputRunning() const { return FDriver != nullptr || FThread.joinable(); }

    void Attach(TFluidVoice& voice);
    void Detach(TFluidVoice& voice);
    // Serialises the players' changes to their synthesizers with the rendering.
    std::unique_lock<std::mutex> Lock() { return std::unique_lock(FMutex); }

    // Offline output: renders on the calling thread, in periods.
    void RenderOffline(std::int64_t frames);
    std::int64_t RenderedFrames() const;
    // Interleaved stereo of what the offline outputs rendered while KeepAudio was set.
    std::vector<float> TakeAudio();

private:
    void LoadSoundFont();
    void StartDriver();
    void StopOutput();
    void RunRealTime();
    void Mix(int frames, float* left, float* right);
    static int DriverCallback(void* data, int len, int nfx, float* fx[], int nout, float* out[]);

    TFluidConfig FConfig;
    fluid_settings_t* FSettings = nullptr;
    fluid_settings_t* FLibrarySettings = nullptr;
    fluid_synth_t* FLibrary = nullptr;  // holds the SoundFont; never renders
    fluid_sfont_t* FSoundFont = nullptr;
    QString FSoundFontPath;

    int FOutputUsers = 0;
    fluid_audio_driver_t* FDriver = nullptr;
    std::thread FThread;
    std::condition_variable FWake;
    bool FStopThread = false;

    mutable std::mutex FMutex;  // guards everything below and every attached voice
    std::vector<TFluidVoice*> FVoices;
    std::int64_t FRendered = 0;
    std::vector<float> FAudio;
};

}  // namespace spades
