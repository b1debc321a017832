// Our own reader of Standard MIDI Files and of the RIFF "RMID" wrapper. It checks a song
// completely before the synthesizer sees it, so that a damaged or hostile file ends in a
// clear message and never in a crash, a hang or a huge allocation inside FluidSynth.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>

namespace spades {

// A song's bytes are not acceptable; the text says why, without the file's name.
class EMidiFormat : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Limits beyond which a file is refused. Real songs stay far below every one of them.
struct TMidiLimits {
    static constexpr std::size_t MaxFileSize = 4 * 1024 * 1024;
    static constexpr int MaxTracks = 128;             // what FluidSynth's player can hold
    static constexpr std::size_t MaxEvents = 500'000;  // keeps FluidSynth's event lists small
    static constexpr std::uint64_t MaxTicks = 1u << 30;  // FluidSynth counts ticks in an int
    static constexpr double MaxSeconds = 2 * 60 * 60;
};

struct TMidiSummary {
    bool Riff = false;          // the data came inside a RIFF "RMID" wrapper
    std::size_t SmfOffset = 0;  // where the Standard MIDI File starts in the given bytes
    std::size_t SmfSize = 0;
    int Format = 0;             // 0 or 1
    int TrackCount = 0;
    int Division = 0;           // ticks per quarter note
    std::size_t EventCount = 0;
    std::uint64_t LastTick = 0;  // the tick at which the last track ends
    double Seconds = 0;          // playing time up to LastTick, through every tempo change
};

// Checks the bytes of a .mid or .rmi file; throws EMidiFormat on the first problem.
TMidiSummary ReadMidiData(std::span<const std::uint8_t> bytes);

}  // namespace spades
