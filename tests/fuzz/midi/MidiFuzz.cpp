// Feeds arbitrary bytes to our MIDI and RIFF reader, and whatever it accepts to a
// FluidSynth player, rendered offline for a bounded number of blocks: what the reader
// lets through must be safe for FluidSynth to play.
#include "FluidEngine.h"
#include "MidiFile.h"

#include <fluidsynth.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

using namespace spades;

namespace {

constexpr int MaxBlocks = 48;  // about half a second of audio

// An error from FluidSynth while it loads or plays what we accepted is a disagreement
// between the two readers: stop, so that the fuzzer keeps the input.
void abortOnError(int level, const char* message, void*)
{
    std::fprintf(stderr, "fluidsynth %d: %s\n", level, message);
    std::abort();
}

void quiet(int, const char*, void*) {}

TFluidEngine& engine()
{
    static TFluidEngine instance([] {
        fluid_set_log_function(FLUID_PANIC, abortOnError, nullptr);
        fluid_set_log_function(FLUID_ERR, abortOnError, nullptr);
        fluid_set_log_function(FLUID_WARN, quiet, nullptr);
        TFluidConfig config;
        config.Output = TAudioOutput::Offline;
        config.Effects = false;
        return config;
    }());
    return instance;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TMidiSummary song;
    try {
        song = ReadMidiData({data, size});
    } catch (const EMidiFormat&) {
        return 0;
    }
    if (song.SmfOffset > size || song.SmfSize > size - song.SmfOffset || song.TrackCount < 1 || song.Division < 1 ||
        song.Seconds < 0)
        std::abort();  // the summary must describe the bytes it came from

    static fluid_synth_t* synth = engine().NewSynth();
    static TFluidVoice voice;
    voice.Synth = synth;
    bool ended = false;
    {
        const auto lock = engine().Lock();
        voice.Player = new_fluid_player(synth);
        if (fluid_player_add_mem(voice.Player, data + song.SmfOffset, song.SmfSize) != FLUID_OK ||
            fluid_player_play(voice.Player) != FLUID_OK)
            std::abort();  // FluidSynth refused what we accepted
        voice.Watching = true;
        voice.Ended = [&ended] { ended = true; };
    }
    engine().Attach(voice);
    for (int block = 0; block < MaxBlocks && !ended; ++block)
        engine().RenderOffline(engine().Config().PeriodFrames);
    engine().Detach(voice);
    const auto lock = engine().Lock();
    fluid_player_stop(voice.Player);
    delete_fluid_player(voice.Player);
    voice = {};
    fluid_synth_all_sounds_off(synth, -1);
    return 0;
}
