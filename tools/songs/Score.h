// A small score notation for writing songs by hand, and the arranging helpers that turn
// chord progressions into pads, bass lines, arpeggios and drum patterns.
//
// Notes: a letter, an optional # or b, an octave (C4 is middle C) and a length: w h q e s
// (whole to sixteenth), each with an optional dot, or t for a triplet; lengths joined by +
// are tied ("A4h+e"). "r" with a length is a rest. "|" marks a bar line; the parser checks
// that every bar is full, so a slip in the note data stops the build.
// Chords: bars separated by "|"; the chords of a bar share it equally unless given a
// length in beats ("G:2 D:1"). Symbols: root, then m, 7, m7, maj7, 6, sus2, sus4, dim,
// add9, and an optional "/bass".
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace songs {

constexpr int Ppq = 480;  // ticks per quarter note

struct TNote {
    int Tick;
    int Length;
    int Key;
    int Velocity;
};

struct TControl {
    int Tick;
    int Number;  // controller number, or -1 for a program change
    int Value;
};

struct TPart {
    std::string Name;
    int Channel = 0;
    int Program = 0;
    int Volume = 100;
    int Pan = 64;
    int Reverb = 50;
    int Chorus = 0;
    std::vector<TNote> Notes;
    std::vector<TControl> Controls;
};

struct TChord {
    int Tick;
    int Length;
    int Root;                // pitch class 0..11
    int Bass;                // pitch class of the lowest note
    std::vector<int> Tones;  // semitones above the root, ascending
};

struct TTempo {
    int Tick;
    double Bpm;
};

// Deterministic variation, so that every build writes the same files.
class TRandom {
public:
    explicit TRandom(std::uint32_t seed) : FState(seed) {}
    int Between(int low, int high);  // inclusive

private:
    std::uint32_t FState;
};

struct TLineStyle {
    int Transpose = 0;
    int Velocity = 80;
    double Legato = 0.92;  // sounding part of each note's length
    int Accent = 6;        // added on the first beat of a bar
};

class TSong {
public:
    TSong(std::string title, int beatsPerBar, double bpm, std::uint32_t seed);

    int BarTicks() const { return FBeatsPerBar * Ppq; }
    int Bar(int bar) const { return bar * BarTicks(); }  // tick at which a bar (from 0) starts
    int BeatsPerBar() const { return FBeatsPerBar; }
    const std::string& Title() const { return FTitle; }

    TPart& AddPart(std::string name, int channel, int program, int volume, int pan, int reverb = 50);
    TPart& Part(std::string_view name);
    const std::deque<TPart>& Parts() const { return FParts; }
    const std::vector<TTempo>& Tempi() const { return FTempi; }
    TRandom& Random() { return FRandom; }

    // Eases the tempo from its value at `from` to `bpm` at `to`, in small steps.
    void Ritardando(int from, int to, double bpm);
    double TempoAt(int tick) const;

    int EndTick() const;  // where the last note stops sounding
    double Seconds() const;

private:
    std::string FTitle;
    int FBeatsPerBar;
    std::vector<TTempo> FTempi;
    std::deque<TPart> FParts;  // parts stay where they are while others are added
    TRandom FRandom;
};

// Parsing. All throw std::runtime_error with the offending token.
int ParseLength(std::string_view text);
int ParseKey(std::string_view text);  // "C#4" -> 61
std::vector<TChord> ParseChords(std::string_view text, int startTick, int barTicks);

// Writing into parts. Each returns the tick after its last bar.
int Melody(TSong& song, TPart& part, int startTick, std::string_view notes, const TLineStyle& style = {});
// Chord tones under each melody note, between a minor third and a major sixth below it.
void HarmonyBelow(TSong& song, TPart& part, const std::vector<TNote>& melody, const std::vector<TChord>& chords,
                  int velocity);
// Sustained chords in close position around `center`.
void Pad(TSong& song, TPart& part, const std::vector<TChord>& chords, int center, int velocity);
// A pattern of chord degrees restarted on every chord: 1 root (or the slash bass), 3, 5, 7,
// 8 (root an octave up), -5 (fifth below), r rest; the root lies in [low, low + 12).
void Bass(TSong& song, TPart& part, const std::vector<TChord>& chords, std::string_view pattern, int low,
          int velocity);
// A pattern of chord-tone indices (0 the root at or above `low`, 1 the next tone up, ...)
// or * for the whole chord around low + 12, restarted on every chord.
void Arpeggio(TSong& song, TPart& part, const std::vector<TChord>& chords, std::string_view pattern, int low,
              int velocity, double legato = 1.6);
// One string per drum key, one character per step of the bar: x hit, o soft, X accent, . rest.
struct TDrumLine {
    int Key;
    std::string_view Steps;
};
void Drums(TSong& song, TPart& part, int startTick, int bars, const std::vector<TDrumLine>& lines, int velocity);

// Transposes chord roots, e.g. to set a tune written in D into E.
std::vector<TChord> Transposed(std::vector<TChord> chords, int semitones);
// The notes of a part between two ticks.
std::vector<TNote> NotesBetween(const TPart& part, int from, int to);

}  // namespace songs
