#include "Score.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <stdexcept>

namespace songs {
namespace {

[[noreturn]] void bad(std::string_view what, std::string_view token)
{
    throw std::runtime_error(std::string(what) + ": \"" + std::string(token) + "\"");
}

// Words separated by blanks; a bar line is a word of its own even when written against another.
std::vector<std::string_view> tokens(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\n' || c == '\t'; };
    std::vector<std::string_view> out;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && blank(text[i]))
            ++i;
        if (i < text.size() && text[i] == '|') {
            out.push_back(text.substr(i++, 1));
            continue;
        }
        const std::size_t start = i;
        while (i < text.size() && !blank(text[i]) && text[i] != '|')
            ++i;
        if (i > start)
            out.push_back(text.substr(start, i - start));
    }
    return out;
}

int pitchClass(char letter)
{
    static constexpr int classes[] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
    if (letter < 'A' || letter > 'G')
        return -1;
    return classes[letter - 'A'];
}

// Reads a root such as "F#" from the front of text; returns its length.
std::size_t readRoot(std::string_view text, int& pc)
{
    pc = text.empty() ? -1 : pitchClass(text[0]);
    if (pc < 0)
        bad("not a note name", text);
    std::size_t used = 1;
    if (used < text.size() && text[used] == '#') {
        pc = (pc + 1) % 12;
        ++used;
    } else if (used < text.size() && text[used] == 'b') {
        pc = (pc + 11) % 12;
        ++used;
    }
    return used;
}

std::vector<int> qualityTones(std::string_view quality)
{
    static const std::map<std::string_view, std::vector<int>> table = {
        {"", {0, 4, 7}},         {"m", {0, 3, 7}},       {"7", {0, 4, 7, 10}},   {"m7", {0, 3, 7, 10}},
        {"maj7", {0, 4, 7, 11}}, {"6", {0, 4, 7, 9}},    {"sus2", {0, 2, 7}},    {"sus4", {0, 5, 7}},
        {"dim", {0, 3, 6}},      {"add9", {0, 2, 4, 7}}, {"m6", {0, 3, 7, 9}},
    };
    const auto it = table.find(quality);
    if (it == table.end())
        bad("unknown chord quality", quality);
    return it->second;
}

TChord parseChord(std::string_view symbol)
{
    TChord chord{};
    const std::size_t slash = symbol.find('/');
    const std::string_view main = symbol.substr(0, slash);
    const std::size_t used = readRoot(main, chord.Root);
    chord.Tones = qualityTones(main.substr(used));
    chord.Bass = chord.Root;
    if (slash != std::string_view::npos)
        readRoot(symbol.substr(slash + 1), chord.Bass);
    return chord;
}

const TChord* chordAt(const std::vector<TChord>& chords, int tick)
{
    for (const TChord& c : chords)
        if (tick >= c.Tick && tick < c.Tick + c.Length)
            return &c;
    return nullptr;
}

// Every pitch of the chord from low upwards, ascending.
std::vector<int> chordPitches(const TChord& chord, int low, int high)
{
    std::vector<int> pitches;
    for (int key = low; key <= high; ++key) {
        const int interval = ((key - chord.Root) % 12 + 12) % 12;
        for (int tone : chord.Tones)
            if (tone % 12 == interval) {
                pitches.push_back(key);
                break;
            }
    }
    return pitches;
}

int firstAtOrAbove(int pc, int low)
{
    int key = low;
    while (((key % 12) + 12) % 12 != pc)
        ++key;
    return key;
}

void addNote(TPart& part, int tick, int length, int key, int velocity)
{
    if (length <= 0)
        return;
    if (key < 0 || key > 127)
        throw std::runtime_error("note out of range in part " + part.Name);
    part.Notes.push_back({tick, length, key, std::clamp(velocity, 1, 127)});
}

struct TStep {
    std::string_view What;
    int Length;
};

// "1q 5e." -> steps; the length is the trailing run of length characters.
std::vector<TStep> parseSteps(std::string_view pattern)
{
    std::vector<TStep> steps;
    for (std::string_view token : tokens(pattern)) {
        std::size_t split = token.size();
        while (split > 0 && std::string_view("whqest.+").find(token[split - 1]) != std::string_view::npos)
            --split;
        if (split == 0 || split == token.size())
            bad("pattern step needs a degree and a length", token);
        steps.push_back({token.substr(0, split), ParseLength(token.substr(split))});
    }
    if (steps.empty())
        bad("empty pattern", pattern);
    return steps;
}

}  // namespace

int TRandom::Between(int low, int high)
{
    FState = FState * 1664525u + 1013904223u;
    return low + static_cast<int>((FState >> 8) % static_cast<std::uint32_t>(high - low + 1));
}

TSong::TSong(std::string title, int beatsPerBar, double bpm, std::uint32_t seed)
    : FTitle(std::move(title)), FBeatsPerBar(beatsPerBar), FTempi{{0, bpm}}, FRandom(seed)
{
}

TPart& TSong::AddPart(std::string name, int channel, int program, int volume, int pan, int reverb)
{
    TPart part;
    part.Name = std::move(name);
    part.Channel = channel;
    part.Program = program;
    part.Volume = volume;
    part.Pan = pan;
    part.Reverb = reverb;
    FParts.push_back(std::move(part));
    return FParts.back();
}

TPart& TSong::Part(std::string_view name)
{
    for (TPart& p : FParts)
        if (p.Name == name)
            return p;
    bad("no such part", name);
}

double TSong::TempoAt(int tick) const
{
    double bpm = FTempi.front().Bpm;
    for (const TTempo& t : FTempi)
        if (t.Tick <= tick)
            bpm = t.Bpm;
    return bpm;
}

void TSong::Ritardando(int from, int to, double bpm)
{
    const double start = TempoAt(from);
    const int steps = 8;
    for (int i = 1; i <= steps; ++i) {
        const int tick = from + (to - from) * (i - 1) / steps;
        FTempi.push_back({tick, start + (bpm - start) * i / steps});
    }
    std::stable_sort(FTempi.begin(), FTempi.end(), [](const TTempo& a, const TTempo& b) { return a.Tick < b.Tick; });
}

int TSong::EndTick() const
{
    int end = 0;
    for (const TPart& p : FParts)
        for (const TNote& n : p.Notes)
            end = std::max(end, n.Tick + n.Length);
    return end;
}

double TSong::Seconds() const
{
    const int end = EndTick();
    double seconds = 0;
    for (std::size_t i = 0; i < FTempi.size(); ++i) {
        const int from = FTempi[i].Tick;
        const int to = i + 1 < FTempi.size() ? std::min(FTempi[i + 1].Tick, end) : end;
        if (to > from)
            seconds += (to - from) / static_cast<double>(Ppq) * 60.0 / FTempi[i].Bpm;
    }
    return seconds;
}

int ParseLength(std::string_view text)
{
    int total = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        int length = 0;
        switch (text[i]) {
        case 'w': length = 4 * Ppq; break;
        case 'h': length = 2 * Ppq; break;
        case 'q': length = Ppq; break;
        case 'e': length = Ppq / 2; break;
        case 's': length = Ppq / 4; break;
        default: bad("bad length", text);
        }
        ++i;
        if (i < text.size() && text[i] == '.') {
            length += length / 2;
            ++i;
        } else if (i < text.size() && text[i] == 't') {
            length = length * 2 / 3;
            ++i;
        }
        total += length;
        if (i < text.size()) {
            if (text[i] != '+')
                bad("bad length", text);
            ++i;
        }
    }
    if (total == 0)
        bad("missing length", text);
    return total;
}

int ParseKey(std::string_view text)
{
    int pc = 0;
    const std::size_t used = readRoot(text, pc);
    if (used >= text.size() || text[used] < '0' || text[used] > '9')
        bad("note needs an octave", text);
    const int octave = text[used] - '0';
    const int key = (octave + 1) * 12 + pc;
    // B#/Cb cross the octave: keep the octave of the letter.
    if (text[0] == 'C' && pc == 11)
        return key - 12;
    if (text[0] == 'B' && pc == 0)
        return key + 12;
    return key;
}

std::vector<TChord> ParseChords(std::string_view text, int startTick, int barTicks)
{
    std::vector<TChord> chords;
    int barStart = startTick;
    std::vector<std::pair<std::string_view, int>> bar;  // symbol, beats (0: share the rest)
    auto flush = [&] {
        if (bar.empty())
            return;
        int fixed = 0, shared = 0;
        for (const auto& [symbol, beats] : bar) {
            fixed += beats * Ppq;
            shared += beats == 0 ? 1 : 0;
        }
        if (fixed > barTicks || (shared == 0 && fixed != barTicks) || (shared > 0 && (barTicks - fixed) % shared))
            bad("chords do not fill the bar", bar.front().first);
        int tick = barStart;
        for (const auto& [symbol, beats] : bar) {
            const int length = beats ? beats * Ppq : (barTicks - fixed) / shared;
            TChord chord = parseChord(symbol);
            chord.Tick = tick;
            chord.Length = length;
            chords.push_back(chord);
            tick += length;
        }
        bar.clear();
        barStart += barTicks;
    };
    for (std::string_view token : tokens(text)) {
        if (token == "|") {
            flush();
            continue;
        }
        const std::size_t colon = token.find(':');
        int beats = 0;
        if (colon != std::string_view::npos)
            beats = std::stoi(std::string(token.substr(colon + 1)));
        bar.emplace_back(token.substr(0, colon), beats);
    }
    flush();
    return chords;
}

int Melody(TSong& song, TPart& part, int startTick, std::string_view notes, const TLineStyle& style)
{
    int tick = startTick;
    for (std::string_view token : tokens(notes)) {
        if (token == "|") {
            if ((tick - startTick) % song.BarTicks() != 0)
                bad("bar is not full before", std::string(part.Name) + " at bar " +
                                                  std::to_string((tick - startTick) / song.BarTicks() + 1));
            continue;
        }
        if (token[0] == 'r') {
            tick += ParseLength(token.substr(1));
            continue;
        }
        std::size_t split = 0;
        while (split < token.size() && std::string_view("whqest.+").find(token[split]) == std::string_view::npos)
            ++split;
        const int key = ParseKey(token.substr(0, split)) + style.Transpose;
        const int length = ParseLength(token.substr(split));
        const bool downbeat = (tick - startTick) % song.BarTicks() == 0;
        const int velocity = style.Velocity + (downbeat ? style.Accent : 0) + song.Random().Between(-4, 4);
        addNote(part, tick, static_cast<int>(length * style.Legato), key, velocity);
        tick += length;
    }
    if ((tick - startTick) % song.BarTicks() != 0)
        bad("last bar is not full", part.Name);
    return tick;
}

void HarmonyBelow(TSong& song, TPart& part, const std::vector<TNote>& melody, const std::vector<TChord>& chords,
                  int velocity)
{
    for (const TNote& note : melody) {
        const TChord* chord = chordAt(chords, note.Tick);
        if (!chord)
            continue;
        const auto pitches = chordPitches(*chord, note.Key - 9, note.Key - 3);
        if (pitches.empty())
            continue;
        addNote(part, note.Tick, note.Length, pitches.back(), velocity + song.Random().Between(-3, 3));
    }
}

void Pad(TSong& song, TPart& part, const std::vector<TChord>& chords, int center, int velocity)
{
    for (const TChord& chord : chords) {
        for (int key : chordPitches(chord, center - 6, center + 5))
            addNote(part, chord.Tick, chord.Length - 10, key, velocity + song.Random().Between(-3, 3));
    }
}

void Bass(TSong& song, TPart& part, const std::vector<TChord>& chords, std::string_view pattern, int low,
          int velocity)
{
    const auto steps = parseSteps(pattern);
    for (const TChord& chord : chords) {
        const int root = firstAtOrAbove(chord.Bass, low);
        const int realRoot = firstAtOrAbove(chord.Root, low);
        auto tone = [&](int index) {  // the chord's index-th tone above the real root
            const int t = index < static_cast<int>(chord.Tones.size()) ? chord.Tones[static_cast<size_t>(index)]
                                                                         : chord.Tones.back();
            return realRoot + t;
        };
        int tick = chord.Tick;
        const int end = chord.Tick + chord.Length;
        for (std::size_t i = 0; tick < end; i = (i + 1) % steps.size()) {
            const TStep& step = steps[i];
            const int length = std::min(step.Length, end - tick);
            int key = -1;
            if (step.What == "1")
                key = root;
            else if (step.What == "3")
                key = tone(1);
            else if (step.What == "5")
                key = tone(2);
            else if (step.What == "7")
                key = chord.Tones.size() > 3 ? tone(3) : root + 12;
            else if (step.What == "8")
                key = root + 12;
            else if (step.What == "-5")
                key = tone(2) - 12;
            else if (step.What != "r")
                bad("unknown bass degree", step.What);
            if (key >= 0)
                addNote(part, tick, length * 9 / 10, key, velocity + (tick == chord.Tick ? 5 : 0) +
                                                              song.Random().Between(-4, 4));
            tick += step.Length;
        }
    }
}

void Arpeggio(TSong& song, TPart& part, const std::vector<TChord>& chords, std::string_view pattern, int low,
              int velocity, double legato)
{
    const auto steps = parseSteps(pattern);
    for (const TChord& chord : chords) {
        const int root = firstAtOrAbove(chord.Root, low);
        const auto ladder = chordPitches(chord, root, root + 36);
        int tick = chord.Tick;
        const int end = chord.Tick + chord.Length;
        for (std::size_t i = 0; tick < end; i = (i + 1) % steps.size()) {
            const TStep& step = steps[i];
            const int remaining = end - tick;
            const int length = std::min(static_cast<int>(step.Length * legato), remaining);
            const int v = velocity + song.Random().Between(-5, 5);
            if (step.What == "*") {
                for (int key : chordPitches(chord, low + 6, low + 17))
                    addNote(part, tick, length, key, v);
            } else if (step.What != "r") {
                const int index = std::stoi(std::string(step.What));
                if (index < 0 || index >= static_cast<int>(ladder.size()))
                    bad("arpeggio index out of the chord's range", step.What);
                addNote(part, tick, length, ladder[static_cast<size_t>(index)], v);
            }
            tick += step.Length;
        }
    }
}

void Drums(TSong& song, TPart& part, int startTick, int bars, const std::vector<TDrumLine>& lines, int velocity)
{
    for (const TDrumLine& line : lines) {
        const int steps = static_cast<int>(line.Steps.size());
        if (song.BarTicks() % steps != 0)
            bad("drum line does not divide the bar", line.Steps);
        const int step = song.BarTicks() / steps;
        for (int bar = 0; bar < bars; ++bar) {
            for (int i = 0; i < steps; ++i) {
                const char c = line.Steps[static_cast<size_t>(i)];
                if (c == '.')
                    continue;
                const int accent = c == 'X' ? 20 : c == 'o' ? -15 : 0;
                addNote(part, startTick + bar * song.BarTicks() + i * step, step / 2, line.Key,
                        velocity + accent + song.Random().Between(-5, 5));
            }
        }
    }
}

std::vector<TChord> Transposed(std::vector<TChord> chords, int semitones)
{
    for (TChord& c : chords) {
        c.Root = ((c.Root + semitones) % 12 + 12) % 12;
        c.Bass = ((c.Bass + semitones) % 12 + 12) % 12;
    }
    return chords;
}

std::vector<TNote> NotesBetween(const TPart& part, int from, int to)
{
    std::vector<TNote> out;
    for (const TNote& n : part.Notes)
        if (n.Tick >= from && n.Tick < to)
            out.push_back(n);
    return out;
}

}  // namespace songs
