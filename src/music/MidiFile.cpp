#include "MidiFile.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace spades {
namespace {

std::string hex(std::size_t value)
{
    static constexpr char digits[] = "0123456789abcdef";
    std::string text;
    do {
        text.insert(text.begin(), digits[value % 16]);
        value /= 16;
    } while (value != 0);
    return "0x" + text;
}

[[noreturn]] void fail(const std::string& problem)
{
    throw EMidiFormat(problem);
}

// A bounded view with a read position; every read checks the end first.
class TCursor {
public:
    TCursor(std::span<const std::uint8_t> bytes, std::size_t base) : FBytes(bytes), FBase(base) {}

    bool AtEnd() const { return FPos >= FBytes.size(); }
    std::size_t Remaining() const { return FBytes.size() - FPos; }
    std::size_t Offset() const { return FBase + FPos; }  // position in the whole file

    bool Take(std::uint8_t& value)
    {
        if (AtEnd())
            return false;
        value = FBytes[FPos++];
        return true;
    }
    bool Take(std::size_t count, std::span<const std::uint8_t>& part)
    {
        if (count > Remaining())
            return false;
        part = FBytes.subspan(FPos, count);
        FPos += count;
        return true;
    }

private:
    std::span<const std::uint8_t> FBytes;
    std::size_t FBase;
    std::size_t FPos = 0;
};

std::uint32_t bigEndian(std::span<const std::uint8_t> b, std::size_t at, int count)
{
    std::uint32_t value = 0;
    for (int i = 0; i < count; ++i)
        value = (value << 8) | b[at + static_cast<std::size_t>(i)];
    return value;
}

std::uint32_t littleEndian32(std::span<const std::uint8_t> b, std::size_t at)
{
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

bool hasTag(std::span<const std::uint8_t> b, std::size_t at, const char* tag)
{
    return b.size() >= at + 4 && std::memcmp(b.data() + at, tag, 4) == 0;
}

bool isChunkName(std::span<const std::uint8_t> b, std::size_t at)
{
    return std::all_of(b.begin() + static_cast<std::ptrdiff_t>(at), b.begin() + static_cast<std::ptrdiff_t>(at + 4),
                       [](std::uint8_t c) { return c >= 0x20 && c < 0x7f; });
}

struct TTempo {
    std::uint64_t Tick;
    std::uint32_t MicrosPerQuarter;
};

class TTrackReader {
public:
    TTrackReader(int number, TCursor cursor) : FNumber(number), FCursor(cursor) {}

    // Walks every event of the track; returns the tick at which the track ends.
    std::uint64_t Read(std::vector<TTempo>& tempos, std::size_t& eventCount)
    {
        std::uint64_t tick = 0;
        std::uint8_t runningStatus = 0;
        while (!FCursor.AtEnd()) {
            tick += ReadNumber();
            if (tick > TMidiLimits::MaxTicks)
                Problem("runs past tick " + std::to_string(TMidiLimits::MaxTicks));
            if (++eventCount > TMidiLimits::MaxEvents)
                fail("the song has more than " + std::to_string(TMidiLimits::MaxEvents) + " events");

            const std::size_t eventOffset = FCursor.Offset();
            const std::uint8_t first = Byte();
            if (first < 0x80) {
                if (runningStatus == 0)
                    Problem("has a data byte without a status byte at offset " + hex(eventOffset));
                ChannelData(runningStatus, first);
            } else if (first < 0xf0) {
                runningStatus = first;
                ChannelData(first, Byte());
            } else if (first == 0xff) {
                runningStatus = 0;
                if (Meta(tick, tempos))
                    return tick;  // whatever follows an end-of-track event is never played
            } else if (first == 0xf0) {
                runningStatus = 0;
                Block("a system exclusive message");
            } else if (first == 0xf7) {
                // FluidSynth cannot read the escape form and would drop the whole song.
                Problem("has a system exclusive continuation (0xf7) at offset " + hex(eventOffset) +
                        ", which cannot be played");
            } else {
                Problem("has the status byte " + hex(first) + ", which a MIDI file cannot hold, at offset " +
                        hex(eventOffset));
            }
        }
        return tick;  // FluidSynth accepts a track without an end-of-track event; so do we
    }

private:
    [[noreturn]] void Problem(const std::string& what) const
    {
        fail("track " + std::to_string(FNumber) + " " + what);
    }

    std::uint8_t Byte()
    {
        std::uint8_t value = 0;
        if (!FCursor.Take(value))
            Problem("is truncated: an event runs past its end");
        return value;
    }

    std::uint32_t ReadNumber()
    {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            const std::uint8_t b = Byte();
            value = (value << 7) | (b & 0x7f);
            if ((b & 0x80) == 0)
                return value;
        }
        Problem("has a variable-length number longer than four bytes at offset " + hex(FCursor.Offset()));
    }

    void Data(std::uint8_t value, std::size_t offset) const
    {
        if (value >= 0x80)
            Problem("has a status byte where a data byte belongs, at offset " + hex(offset));
    }

    void ChannelData(std::uint8_t status, std::uint8_t firstData)
    {
        Data(firstData, FCursor.Offset() - 1);
        const std::uint8_t kind = status & 0xf0;
        if (kind != 0xc0 && kind != 0xd0) {
            const std::uint8_t second = Byte();
            Data(second, FCursor.Offset() - 1);
        }
    }

    // A length-prefixed payload that must lie inside the track.
    std::span<const std::uint8_t> Block(const char* what)
    {
        const std::uint32_t length = ReadNumber();
        std::span<const std::uint8_t> payload;
        if (!FCursor.Take(length, payload))
            Problem(std::string("is truncated: ") + what + " of " + std::to_string(length) +
                    " bytes runs past its end");
        return payload;
    }

    // Returns true at the end-of-track event.
    bool Meta(std::uint64_t tick, std::vector<TTempo>& tempos)
    {
        const std::size_t start = FCursor.Offset() - 1;
        const std::uint8_t type = Byte();
        const auto payload = Block("a meta event");
        // FluidSynth refuses the whole song when one of these has another length.
        static constexpr struct {
            std::uint8_t Type;
            std::size_t Length;
            const char* Name;
        } fixed[] = {{0x2f, 0, "end-of-track"}, {0x51, 3, "tempo"}, {0x54, 5, "SMPTE offset"},
                     {0x58, 4, "time signature"}, {0x59, 2, "key signature"}};
        for (const auto& f : fixed)
            if (type == f.Type && payload.size() != f.Length)
                Problem("has a " + std::string(f.Name) + " event of " + std::to_string(payload.size()) +
                        " bytes at offset " + hex(start));
        if (type == 0x2f)
            return true;
        if (type == 0x51) {
            const std::uint32_t micros = bigEndian(payload, 0, 3);
            if (micros == 0)
                Problem("has a tempo of 0 at offset " + hex(start));
            tempos.push_back({tick, micros});
        }
        return false;
    }

    int FNumber;
    TCursor FCursor;
};

double secondsAt(std::uint64_t endTick, std::vector<TTempo> tempos, int division)
{
    std::stable_sort(tempos.begin(), tempos.end(), [](const TTempo& a, const TTempo& b) { return a.Tick < b.Tick; });
    double seconds = 0;
    std::uint64_t tick = 0;
    std::uint32_t micros = 500'000;  // 120 beats a minute until the first tempo event
    for (const TTempo& t : tempos) {
        if (t.Tick >= endTick)
            break;
        seconds += static_cast<double>(t.Tick - tick) * micros / 1e6 / division;
        tick = t.Tick;
        micros = t.MicrosPerQuarter;
    }
    return seconds + static_cast<double>(endTick - tick) * micros / 1e6 / division;
}

TMidiSummary readSmf(std::span<const std::uint8_t> file, std::size_t offset, std::size_t size)
{
    const auto smf = file.subspan(offset, size);
    if (!hasTag(smf, 0, "MThd"))
        fail("the file holds no MIDI header");
    if (smf.size() < 14)
        fail("the MIDI header is truncated");
    if (bigEndian(smf, 4, 4) != 6)
        fail("the MIDI header has an unusual length of " + std::to_string(bigEndian(smf, 4, 4)) + " bytes");

    TMidiSummary song;
    song.SmfOffset = offset;
    song.SmfSize = size;
    song.Format = static_cast<int>(bigEndian(smf, 8, 2));
    song.TrackCount = static_cast<int>(bigEndian(smf, 10, 2));
    song.Division = static_cast<int>(bigEndian(smf, 12, 2));
    if (song.Format == 2)
        fail("MIDI files of format 2 are not supported");
    if (song.Format > 2)
        fail("the MIDI format " + std::to_string(song.Format) + " is unknown");
    if (song.TrackCount == 0)
        fail("the MIDI file has no tracks");
    if (song.Format == 0 && song.TrackCount != 1)
        fail("a MIDI file of format 0 must have one track, not " + std::to_string(song.TrackCount));
    if (song.TrackCount > TMidiLimits::MaxTracks)
        fail("the MIDI file has " + std::to_string(song.TrackCount) + " tracks, more than " +
             std::to_string(TMidiLimits::MaxTracks));
    if (song.Division & 0x8000)
        fail("SMPTE time division is not supported");
    if (song.Division == 0)
        fail("the time division is 0");

    std::vector<TTempo> tempos;
    std::size_t at = 14;
    int found = 0;
    while (found < song.TrackCount) {
        if (smf.size() - at < 8)
            fail("the file announces " + std::to_string(song.TrackCount) + " tracks but holds " +
                 std::to_string(found));
        if (!isChunkName(smf, at))
            fail("the chunk at offset " + hex(offset + at) + " has no valid name");
        const std::size_t length = bigEndian(smf, at + 4, 4);
        const bool isTrack = hasTag(smf, at, "MTrk");
        if (length > smf.size() - at - 8)
            fail((isTrack ? "track " + std::to_string(found + 1) : std::string("a chunk")) + " of " +
                 std::to_string(length) + " bytes runs past the end of the file");
        if (isTrack) {
            ++found;
            TTrackReader track(found, TCursor(smf.subspan(at + 8, length), offset + at + 8));
            song.LastTick = std::max(song.LastTick, track.Read(tempos, song.EventCount));
        }
        at += 8 + length;
    }
    song.Seconds = secondsAt(song.LastTick, tempos, song.Division);
    if (song.Seconds > TMidiLimits::MaxSeconds)
        fail("the song would play for more than " + std::to_string(static_cast<int>(TMidiLimits::MaxSeconds / 3600)) +
             " hours");
    return song;
}

// Finds the "data" chunk of a RIFF "RMID" file.
TMidiSummary readRiff(std::span<const std::uint8_t> file)
{
    if (file.size() < 12)
        fail("the RIFF header is truncated");
    if (!hasTag(file, 8, "RMID"))
        fail("the file is a RIFF file but not a RIFF MIDI (RMID) file");
    const std::uint64_t riffEnd = 8ull + littleEndian32(file, 4);
    if (riffEnd > file.size())
        fail("the RIFF file is truncated: it announces " + std::to_string(riffEnd) + " bytes but holds " +
             std::to_string(file.size()));
    if (riffEnd < 12)
        fail("the RIFF header is truncated");
    std::size_t at = 12;
    while (at + 8 <= riffEnd) {
        const std::uint32_t length = littleEndian32(file, at + 4);
        if (length > riffEnd - at - 8)
            fail("the RIFF chunk at offset " + hex(at) + " runs past the end of the file");
        if (hasTag(file, at, "data")) {
            TMidiSummary song = readSmf(file, at + 8, length);
            song.Riff = true;
            return song;
        }
        at += 8 + length + (length & 1);  // chunks are padded to even lengths
    }
    fail("the RIFF MIDI file has no data chunk");
}

}  // namespace

TMidiSummary ReadMidiData(std::span<const std::uint8_t> bytes)
{
    if (bytes.empty())
        fail("the file is empty");
    if (bytes.size() > TMidiLimits::MaxFileSize)
        fail("the file is larger than " + std::to_string(TMidiLimits::MaxFileSize / (1024 * 1024)) + " MiB");
    if (hasTag(bytes, 0, "RIFF"))
        return readRiff(bytes);
    if (hasTag(bytes, 0, "MThd"))
        return readSmf(bytes, 0, bytes.size());
    fail("the file is not a MIDI file");
}

}  // namespace spades
