// Reading a song file from disk into checked, unwrapped Standard MIDI data.
#pragma once

#include "MidiFile.h"

#include <QByteArray>
#include <QString>

namespace spades {

struct TSongFile {
    QByteArray Smf;    // the Standard MIDI File, taken out of its RIFF wrapper if it had one
    TMidiSummary Song;
};

// Throws EMediaError naming the file and the problem.
TSongFile LoadSongFile(const QString& path);
// The same checks on bytes already in memory; name labels the messages.
TSongFile ParseSongBytes(const QByteArray& bytes, const QString& name);

}  // namespace spades
