// Builders for small MIDI files, byte by byte, for the tests of the song reader and player.
#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QString>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace spades::test {

using Bytes = std::vector<std::uint8_t>;

inline Bytes operator+(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

inline Bytes Text(const std::string& text)
{
    return Bytes(text.begin(), text.end());
}

inline Bytes Vlq(std::uint32_t value)
{
    Bytes groups;
    do {
        groups.insert(groups.begin(), static_cast<std::uint8_t>((value & 0x7f) | (groups.empty() ? 0 : 0x80)));
        value >>= 7;
    } while (value != 0);
    return groups;
}

inline Bytes Big(std::uint32_t value, int size)
{
    Bytes out;
    for (int i = size - 1; i >= 0; --i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    return out;
}

inline Bytes Little(std::uint32_t value)
{
    return {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
            static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
}

inline Bytes Chunk(const std::string& name, const Bytes& body)
{
    return Text(name) + Big(static_cast<std::uint32_t>(body.size()), 4) + body;
}

inline Bytes RiffChunk(const std::string& name, const Bytes& body)
{
    return Text(name) + Little(static_cast<std::uint32_t>(body.size())) + body;
}

inline Bytes Header(int format, int tracks, int division, std::uint32_t length = 6)
{
    return Text("MThd") + Big(length, 4) + Big(format, 2) + Big(tracks, 2) + Big(division, 2);
}

inline Bytes Track(const Bytes& events)
{
    return Chunk("MTrk", events);
}

inline const Bytes EndOfTrack = {0x00, 0xff, 0x2f, 0x00};

inline Bytes Tempo(std::uint32_t delta, std::uint32_t micros)
{
    return Vlq(delta) + Bytes{0xff, 0x51, 0x03} + Big(micros, 3);
}

// One note of `ticks` on channel 1 at 120 beats a minute (the default tempo).
inline Bytes NoteEvents(std::uint32_t ticks, int key = 60)
{
    return Bytes{0x00, 0xc0, 0x00, 0x00, 0x90, static_cast<std::uint8_t>(key), 0x64} + Vlq(ticks) +
           Bytes{0x80, static_cast<std::uint8_t>(key), 0x40};
}

// A format 0 song of one note, `ticks` long at 96 ticks a quarter.
inline Bytes SimpleSong(std::uint32_t ticks = 96)
{
    return Header(0, 1, 96) + Track(NoteEvents(ticks) + EndOfTrack);
}

inline Bytes Rmid(const Bytes& smf, const Bytes& before = {})
{
    Bytes data = RiffChunk("data", smf);
    if (smf.size() % 2)
        data.push_back(0);
    const Bytes body = Text("RMID") + before + data;
    return Text("RIFF") + Little(static_cast<std::uint32_t>(body.size())) + body;
}

inline QByteArray ToQt(const Bytes& bytes)
{
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

// The build writes the songs next to the programs; the tests run from a sibling folder.
inline QString SongPath(const QString& name)
{
    return QDir(QCoreApplication::applicationDirPath() + QStringLiteral("/../bin")).filePath(name);
}

}  // namespace spades::test
