// Writes a song as a Standard MIDI File of type 1, bare or in a RIFF "RMID" wrapper.
#pragma once

#include "Score.h"

#include <cstdint>
#include <vector>

namespace songs {

// Track 0 holds the title, meter, key and tempo map; then one track per part.
// Every track ends at the same tick, a little after the last note, so reverb can fade.
std::vector<std::uint8_t> WriteSmf(const TSong& song, int keySharps, bool minor);
std::vector<std::uint8_t> WrapRmid(const std::vector<std::uint8_t>& smf);

}  // namespace songs
