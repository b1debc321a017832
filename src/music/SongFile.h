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

// Whether a song slot's path names a file that can be played: a folder or a
// missing file is skipped. The sequencer and the preferences' Preview agree on it.
bool SongFileExists(const QString& path);

// Throws EMediaError naming the file and the problem.
TSongFile LoadSongFile(const QString& path);
// The same checks on bytes already in memory; name labels the messages.
TSongFile ParseSongBytes(const QByteArray& bytes, const QString& name);

}  // namespace spades
