// The six background songs: traditional tunes and early classical themes, arranged here,
// and one tune of our own.
#pragma once

#include "Score.h"

#include <string>
#include <vector>

namespace songs {

struct TSongFileSpec {
    std::string FileName;  // Spades0.rmi ... Spades5.mid
    bool Riff;
    int KeySharps;  // negative: flats
    bool Minor;
    TSong Song;
};

std::vector<TSongFileSpec> AllSongs();

}  // namespace songs
