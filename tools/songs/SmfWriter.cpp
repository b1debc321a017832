#include "SmfWriter.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace songs {
namespace {

struct TEvent {
    int Tick;
    int Order;  // at one tick: meta and controls first, then note-offs, then note-ons
    std::vector<std::uint8_t> Bytes;
};

class TTrackBytes {
public:
    void Add(int tick, int order, std::vector<std::uint8_t> bytes) { FEvents.push_back({tick, order, std::move(bytes)}); }
    void Meta(int tick, std::uint8_t type, const std::vector<std::uint8_t>& data)
    {
        std::vector<std::uint8_t> bytes{0xff, type};
        Number(bytes, static_cast<std::uint32_t>(data.size()));
        bytes.insert(bytes.end(), data.begin(), data.end());
        Add(tick, 0, std::move(bytes));
    }
    void Text(int tick, std::uint8_t type, const std::string& text) { Meta(tick, type, {text.begin(), text.end()}); }

    // Sorted, with running status, closed by an end-of-track event at endTick.
    std::vector<std::uint8_t> Chunk(int endTick)
    {
        std::stable_sort(FEvents.begin(), FEvents.end(), [](const TEvent& a, const TEvent& b) {
            return a.Tick != b.Tick ? a.Tick < b.Tick : a.Order < b.Order;
        });
        std::vector<std::uint8_t> data;
        int now = 0;
        std::uint8_t running = 0;
        for (const TEvent& e : FEvents) {
            Number(data, static_cast<std::uint32_t>(e.Tick - now));
            now = e.Tick;
            const std::uint8_t status = e.Bytes[0];
            const bool channel = status < 0xf0;
            std::size_t from = 0;
            if (channel && status == running)
                from = 1;
            running = channel ? status : 0;
            data.insert(data.end(), e.Bytes.begin() + static_cast<std::ptrdiff_t>(from), e.Bytes.end());
        }
        Number(data, static_cast<std::uint32_t>(std::max(0, endTick - now)));
        data.insert(data.end(), {0xff, 0x2f, 0x00});

        std::vector<std::uint8_t> chunk{'M', 'T', 'r', 'k'};
        BigEndian(chunk, static_cast<std::uint32_t>(data.size()), 4);
        chunk.insert(chunk.end(), data.begin(), data.end());
        return chunk;
    }

    static void Number(std::vector<std::uint8_t>& out, std::uint32_t value)
    {
        std::uint8_t groups[5];
        int count = 0;
        do {
            groups[count++] = value & 0x7f;
            value >>= 7;
        } while (value != 0);
        while (count-- > 0)
            out.push_back(static_cast<std::uint8_t>(groups[count] | (count > 0 ? 0x80 : 0)));
    }
    static void BigEndian(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes)
    {
        for (int i = bytes - 1; i >= 0; --i)
            out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }

private:
    std::vector<TEvent> FEvents;
};

std::uint8_t byte(int value)
{
    return static_cast<std::uint8_t>(std::clamp(value, 0, 127));
}

}  // namespace

std::vector<std::uint8_t> WriteSmf(const TSong& song, int keySharps, bool minor)
{
    const int endTick = song.EndTick() + song.BarTicks();  // room for the last chord to ring out

    std::vector<std::vector<std::uint8_t>> chunks;
    TTrackBytes conductor;
    conductor.Text(0, 0x03, song.Title());
    conductor.Text(0, 0x02, "Arranged for Quelbrin Spades");
    int denominatorPower = 2;  // quarter notes
    conductor.Meta(0, 0x58, {static_cast<std::uint8_t>(song.BeatsPerBar()), static_cast<std::uint8_t>(denominatorPower),
                             24, 8});
    conductor.Meta(0, 0x59, {static_cast<std::uint8_t>(static_cast<std::int8_t>(keySharps)),
                             static_cast<std::uint8_t>(minor ? 1 : 0)});
    for (const TTempo& t : song.Tempi()) {
        const auto micros = static_cast<std::uint32_t>(std::lround(60'000'000.0 / t.Bpm));
        conductor.Meta(t.Tick, 0x51, {static_cast<std::uint8_t>(micros >> 16), static_cast<std::uint8_t>(micros >> 8),
                                      static_cast<std::uint8_t>(micros)});
    }
    chunks.push_back(conductor.Chunk(endTick));

    for (const TPart& part : song.Parts()) {
        TTrackBytes track;
        const auto ch = static_cast<std::uint8_t>(part.Channel & 0x0f);
        track.Text(0, 0x03, part.Name);
        const auto control = [&](int tick, int number, int value) {
            track.Add(tick, 1, {static_cast<std::uint8_t>(0xb0 | ch), byte(number), byte(value)});
        };
        control(0, 0, 0);  // bank select: General MIDI
        track.Add(0, 1, {static_cast<std::uint8_t>(0xc0 | ch), byte(part.Program)});
        control(0, 7, part.Volume);
        control(0, 10, part.Pan);
        control(0, 91, part.Reverb);
        control(0, 93, part.Chorus);
        for (const TControl& c : part.Controls) {
            if (c.Number < 0)
                track.Add(c.Tick, 1, {static_cast<std::uint8_t>(0xc0 | ch), byte(c.Value)});
            else
                control(c.Tick, c.Number, c.Value);
        }
        for (const TNote& n : part.Notes) {
            track.Add(n.Tick, 3, {static_cast<std::uint8_t>(0x90 | ch), byte(n.Key), byte(n.Velocity)});
            // A note-on of velocity 0 ends a note and keeps the running status.
            track.Add(n.Tick + n.Length, 2, {static_cast<std::uint8_t>(0x90 | ch), byte(n.Key), 0});
        }
        chunks.push_back(track.Chunk(endTick));
    }

    std::vector<std::uint8_t> file{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1};
    TTrackBytes::BigEndian(file, static_cast<std::uint32_t>(chunks.size()), 2);
    TTrackBytes::BigEndian(file, Ppq, 2);
    for (const auto& c : chunks)
        file.insert(file.end(), c.begin(), c.end());
    return file;
}

std::vector<std::uint8_t> WrapRmid(const std::vector<std::uint8_t>& smf)
{
    auto little = [](std::vector<std::uint8_t>& out, std::uint32_t value) {
        for (int i = 0; i < 4; ++i)
            out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    };
    const std::uint32_t dataSize = static_cast<std::uint32_t>(smf.size());
    const std::uint32_t padded = dataSize + (dataSize & 1);
    std::vector<std::uint8_t> file{'R', 'I', 'F', 'F'};
    little(file, 4 + 8 + padded);
    file.insert(file.end(), {'R', 'M', 'I', 'D', 'd', 'a', 't', 'a'});
    little(file, dataSize);
    file.insert(file.end(), smf.begin(), smf.end());
    if (dataSize & 1)
        file.push_back(0);
    return file;
}

}  // namespace songs
