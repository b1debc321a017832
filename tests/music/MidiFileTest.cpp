#include "MediaPlayer.h"
#include "MidiBytes.h"
#include "MidiFile.h"
#include "SongFile.h"

#include <QFile>
#include <QTemporaryDir>

#include <gmock/gmock.h>

using namespace spades;
using namespace spades::test;
using ::testing::HasSubstr;

namespace {

TMidiSummary read(const Bytes& bytes)
{
    return ReadMidiData(bytes);
}

std::string problemOf(const Bytes& bytes)
{
    try {
        ReadMidiData(bytes);
    } catch (const EMidiFormat& e) {
        return e.what();
    }
    return "(accepted)";
}

struct TBadCase {
    const char* Name;
    Bytes File;
    const char* Problem;
};

std::ostream& operator<<(std::ostream& out, const TBadCase& c)
{
    return out << c.Name;
}

Bytes manyEvents(std::size_t count)
{
    Bytes events{0x00, 0xc0, 0x00};
    for (std::size_t i = 1; i < count; ++i)
        events.insert(events.end(), {0x00, 0x00});  // running status: program change 0 again
    return Header(0, 1, 96) + Track(events + EndOfTrack);
}

const Bytes song = SimpleSong();

std::vector<TBadCase> badCases()
{
    return {
        {"empty", {}, "the file is empty"},
        {"text", Text("hello, world"), "the file is not a MIDI file"},
        {"over the size cap", Bytes(TMidiLimits::MaxFileSize + 1, 0), "the file is larger than 4 MiB"},
        {"header cut short", Text("MThd") + Big(6, 4), "the MIDI header is truncated"},
        {"header of odd length", Header(0, 1, 96, 8) + Big(0, 2) + Track(EndOfTrack),
         "the MIDI header has an unusual length of 8 bytes"},
        {"format 2", Header(2, 1, 96) + Track(EndOfTrack), "MIDI files of format 2 are not supported"},
        {"format 7", Header(7, 1, 96) + Track(EndOfTrack), "the MIDI format 7 is unknown"},
        {"no tracks", Header(1, 0, 96), "the MIDI file has no tracks"},
        {"format 0 with two tracks", Header(0, 2, 96) + Track(EndOfTrack) + Track(EndOfTrack),
         "a MIDI file of format 0 must have one track, not 2"},
        {"too many tracks", Header(1, 129, 96), "the MIDI file has 129 tracks, more than 128"},
        {"SMPTE division", Header(0, 1, 0xe728) + Track(EndOfTrack), "SMPTE time division is not supported"},
        {"division 0", Header(0, 1, 0) + Track(EndOfTrack), "the time division is 0"},
        {"track longer than the file", Header(0, 1, 96) + Text("MTrk") + Big(1000, 4) + EndOfTrack,
         "track 1 of 1000 bytes runs past the end of the file"},
        {"fewer tracks than announced", Header(1, 2, 96) + Track(EndOfTrack),
         "the file announces 2 tracks but holds 1"},
        {"chunk without a name", Header(0, 1, 96) + Bytes{0x01, 0x02, 0x03, 0x04} + Big(0, 4),
         "the chunk at offset 0xe has no valid name"},
        {"running status before any status", Header(0, 1, 96) + Track(Bytes{0x00, 0x3c, 0x40} + EndOfTrack),
         "track 1 has a data byte without a status byte at offset 0x17"},
        {"running status after a meta event",
         Header(0, 1, 96) + Track(NoteEvents(10) + Bytes{0x00, 0xff, 0x01, 0x00, 0x00, 0x3c, 0x40} + EndOfTrack),
         "track 1 has a data byte without a status byte"},
        {"note cut off by the end of the track", Header(0, 1, 96) + Track(Bytes{0x00, 0x90, 0x3c}),
         "track 1 is truncated: an event runs past its end"},
        {"status byte inside a note", Header(0, 1, 96) + Track(Bytes{0x00, 0x90, 0x3c, 0x90} + EndOfTrack),
         "track 1 has a status byte where a data byte belongs, at offset 0x19"},
        {"tempo of 0", Header(0, 1, 96) + Track(Tempo(0, 0) + EndOfTrack), "track 1 has a tempo of 0 at offset 0x17"},
        {"tempo of two bytes", Header(0, 1, 96) + Track(Bytes{0x00, 0xff, 0x51, 0x02, 0x07, 0xa1} + EndOfTrack),
         "track 1 has a tempo event of 2 bytes"},
        {"key signature of one byte", Header(0, 1, 96) + Track(Bytes{0x00, 0xff, 0x59, 0x01, 0x00} + EndOfTrack),
         "track 1 has a key signature event of 1 bytes at offset 0x17"},
        {"end of track with data", Header(0, 1, 96) + Track(Bytes{0x00, 0xff, 0x2f, 0x01, 0x00}),
         "track 1 has a end-of-track event of 1 bytes"},
        {"meta event past the track", Header(0, 1, 96) + Track(Bytes{0x00, 0xff, 0x01, 0x7f, 0x41}),
         "track 1 is truncated: a meta event of 127 bytes runs past its end"},
        {"system exclusive past the track", Header(0, 1, 96) + Track(Bytes{0x00, 0xf0, 0x05, 0x7e, 0xf7}),
         "track 1 is truncated: a system exclusive message of 5 bytes runs past its end"},
        {"five-byte number", Header(0, 1, 96) + Track(Bytes{0xff, 0xff, 0xff, 0xff, 0x7f} + EndOfTrack),
         "track 1 has a variable-length number longer than four bytes"},
        {"system exclusive continuation", Header(0, 1, 96) + Track(Bytes{0x00, 0xf7, 0x01, 0x02} + EndOfTrack),
         "track 1 has a system exclusive continuation (0xf7) at offset 0x17, which cannot be played"},
        {"system common status", Header(0, 1, 96) + Track(Bytes{0x00, 0xf1, 0x00} + EndOfTrack),
         "track 1 has the status byte 0xf1, which a MIDI file cannot hold"},
        {"ticks beyond the counter",
         Header(0, 1, 96) + Track(Vlq(0x0fffffff) + Bytes{0xc0, 0x00} + Vlq(0x0fffffff) + Bytes{0x00} +
                                  Vlq(0x0fffffff) + Bytes{0x00} + Vlq(0x0fffffff) + Bytes{0x00} + Vlq(0x0fffffff) +
                                  Bytes{0x00} + EndOfTrack),
         "track 1 runs past tick 1073741824"},
        {"hours of silence", Header(0, 1, 1) + Track(Tempo(0, 0xffffff) + Vlq(0x0fffffff) + Bytes{0xff, 0x2f, 0x00}),
         "the song would play for more than 2 hours"},
        {"too many events", manyEvents(TMidiLimits::MaxEvents + 1), "the song has more than 500000 events"},
        {"RIFF header cut short", Text("RIFF") + Little(4), "the RIFF header is truncated"},
        {"RIFF smaller than its own header", Text("RIFF") + Little(2) + Text("RMID") + RiffChunk("data", SimpleSong()),
         "the RIFF header is truncated"},
        {"RIFF of another kind", Text("RIFF") + Little(4) + Text("WAVE"),
         "the file is a RIFF file but not a RIFF MIDI (RMID) file"},
        {"RIFF larger than the file", Text("RIFF") + Little(100) + Text("RMID"),
         "the RIFF file is truncated: it announces 108 bytes but holds 12"},
        {"RMID without data", Text("RIFF") + Little(16) + Text("RMID") + RiffChunk("LIST", Text("INFO")),
         "the RIFF MIDI file has no data chunk"},
        {"data chunk past the end", Text("RIFF") + Little(12) + Text("RMID") + Text("data") + Little(50),
         "the RIFF chunk at offset 0xc runs past the end of the file"},
        {"data chunk without MIDI", Rmid(Text("not midi")), "the file holds no MIDI header"},
        {"bad MIDI inside RMID", Rmid(Header(0, 1, 0) + Track(EndOfTrack)), "the time division is 0"},
    };
}

class MidiFileRefuses : public ::testing::TestWithParam<TBadCase> {};

TEST_P(MidiFileRefuses, WithAClearProblem)
{
    EXPECT_THAT(problemOf(GetParam().File), HasSubstr(GetParam().Problem));
}

INSTANTIATE_TEST_SUITE_P(BadFiles, MidiFileRefuses, ::testing::ValuesIn(badCases()),
                         [](const auto& info) {
                             std::string name;
                             for (char c : std::string(info.param.Name))
                                 name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             return name;
                         });

TEST(MidiFile, ReadsASimpleSong)
{
    const TMidiSummary s = read(song);
    EXPECT_FALSE(s.Riff);
    EXPECT_EQ(s.Format, 0);
    EXPECT_EQ(s.TrackCount, 1);
    EXPECT_EQ(s.Division, 96);
    EXPECT_EQ(s.SmfOffset, 0u);
    EXPECT_EQ(s.SmfSize, song.size());
    EXPECT_EQ(s.LastTick, 96u);
    EXPECT_DOUBLE_EQ(s.Seconds, 0.5);  // one quarter at 120 beats a minute
    EXPECT_EQ(s.EventCount, 4u);
}

TEST(MidiFile, FollowsTempoChangesOfEveryTrack)
{
    // Track 1 ends at tick 288; track 2 slows to 60 beats a minute at tick 96.
    const Bytes file = Header(1, 2, 96) + Track(NoteEvents(288) + EndOfTrack) +
                       Track(Tempo(96, 1'000'000) + EndOfTrack);
    const TMidiSummary s = read(file);
    EXPECT_EQ(s.LastTick, 288u);
    EXPECT_DOUBLE_EQ(s.Seconds, 0.5 + 2.0);
}

TEST(MidiFile, SkipsForeignChunksAndAcceptsATrackWithoutItsEnd)
{
    const Bytes file = Header(1, 2, 96) + Chunk("XFIH", Text("abc")) + Track(NoteEvents(48)) +
                       Track(NoteEvents(96) + EndOfTrack + Bytes{0x00, 0x90});  // bytes after the end are ignored
    const TMidiSummary s = read(file);
    EXPECT_EQ(s.TrackCount, 2);
    EXPECT_EQ(s.LastTick, 96u);
}

TEST(MidiFile, UnwrapsRmidAfterOtherChunks)
{
    const Bytes odd = Header(0, 1, 96) + Track(NoteEvents(96) + Bytes{0x00, 0xff, 0x01, 0x02, 'x', 'y'} + EndOfTrack);
    ASSERT_EQ(odd.size() % 2, 1u);
    const Bytes file = Rmid(odd, RiffChunk("LIST", Text("INFOz")) + Bytes{0});  // odd chunk, padded
    const TMidiSummary s = read(file);
    EXPECT_TRUE(s.Riff);
    EXPECT_EQ(s.SmfSize, odd.size());
    EXPECT_TRUE(std::equal(odd.begin(), odd.end(), file.begin() + static_cast<std::ptrdiff_t>(s.SmfOffset)));
}

TEST(MidiFile, EveryPrefixOfAValidFileIsRefusedCleanly)
{
    const Bytes file = Rmid(Header(1, 2, 96) + Track(Tempo(0, 400000) + NoteEvents(96) + EndOfTrack) +
                            Track(NoteEvents(48, 64) + EndOfTrack));
    for (std::size_t size = 0; size < file.size(); ++size)
        EXPECT_NE(problemOf(Bytes(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(size))), "(accepted)")
            << size;
}

std::string openProblem(const QString& path)
{
    try {
        LoadSongFile(path);
    } catch (const EMediaError& e) {
        return e.what();
    }
    return "(opened)";
}

TEST(SongFile, NamesTheFileAndTheProblem)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("Spades9.mid"));
    EXPECT_EQ(openProblem(missing), "Cannot open the song \"" + missing.toStdString() + "\": the file does not exist.");
    EXPECT_EQ(openProblem(dir.path()), "Cannot open the song \"" + dir.path().toStdString() + "\": it is not a file.");
    EXPECT_EQ(openProblem(QString()), "Cannot open the song: no file name was given.");

    const auto write = [&](const QString& name, const QByteArray& bytes) {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName();
    };
    const QString empty = write(QStringLiteral("empty.mid"), {});
    EXPECT_EQ(openProblem(empty), "Cannot open the song \"" + empty.toStdString() + "\": the file is empty.");
    const QString huge = write(QStringLiteral("huge.mid"), QByteArray(TMidiLimits::MaxFileSize + 1, 'x'));
    EXPECT_EQ(openProblem(huge), "Cannot open the song \"" + huge.toStdString() + "\": the file is larger than 4 MiB.");
    const QString text = write(QStringLiteral("notes.rmi"), "just some notes");
    EXPECT_EQ(openProblem(text), "Cannot open the song \"" + text.toStdString() + "\": the file is not a MIDI file.");

    const QString good = write(QStringLiteral("good.rmi"), ToQt(Rmid(song)));
    const TSongFile loaded = LoadSongFile(good);
    EXPECT_EQ(loaded.Smf, ToQt(song));  // unwrapped
    EXPECT_TRUE(loaded.Song.Riff);
}

}  // namespace
