#include "Songs.h"

#include <string>

namespace songs {
namespace {

// General MIDI programs, counted from 0.
enum Program {
    AcousticGrand = 0, ElectricPiano = 4, Harpsichord = 6, Celesta = 8, Vibraphone = 11, Marimba = 12,
    NylonGuitar = 24, SteelGuitar = 25, AcousticBass = 32, FingerBass = 33, FretlessBass = 35,
    Violin = 40, Cello = 42, Pizzicato = 45, Harp = 46, Strings = 48, SlowStrings = 49, ChoirAahs = 52,
    FrenchHorn = 60, Oboe = 68, Bassoon = 70, Clarinet = 71, Flute = 73, Recorder = 74, PanFlute = 75,
    Ocarina = 79, WarmPad = 89,
};
// General MIDI drum keys on channel 10.
enum Drum { Kick = 36, SoftKick = 35, SideStick = 37, ClosedHat = 42, Ride = 51, Tambourine = 54,
            Cabasa = 69, Maracas = 70, Triangle = 81 };
constexpr int DrumChannel = 9;

// Greensleeves (English, 16th century), A minor, 3/4.
TSong greensleeves()
{
    TSong song("Greensleeves", 3, 88, 1001);
    TPart& flute = song.AddPart("Flute", 0, Flute, 100, 58, 60);
    TPart& clarinet = song.AddPart("Clarinet", 1, Clarinet, 96, 74);
    TPart& guitar = song.AddPart("Nylon guitar", 2, NylonGuitar, 92, 44);
    TPart& bass = song.AddPart("Bass", 3, AcousticBass, 96, 64, 30);
    TPart& strings = song.AddPart("Strings", 4, Strings, 70, 84, 70);
    TPart& drums = song.AddPart("Percussion", DrumChannel, 0, 70, 70, 40);

    const std::string verse =
        "C5h D5q | E5q. F5e E5q | D5h B4q | G4q. A4e B4q | C5h A4q | A4q. G#4e A4q | B4h G#4q | E4h A4q |"
        "C5h D5q | E5q. F5e E5q | D5h B4q | G4q. A4e B4q | C5q. B4e A4q | G#4q. F#4e G#4q | A4h. | A4h. |";
    const std::string chorus =
        "G5h. | G5q. F#5e E5q | D5h B4q | G4q. A4e B4q | C5h A4q | A4q. G#4e A4q | B4h G#4q | E4h. |"
        "G5h. | G5q. F#5e E5q | D5h B4q | G4q. A4e B4q | C5q. B4e A4q | G#4q. F#4e G#4q | A4h. |";
    const std::string verseChords = "Am | C | G | Em | Am | E | E | E | Am | C | G | Em | Am | E | Am | Am |";
    const std::string chorusChords = "C | Em | G | Em | Am | E | E | E | C | Em | G | Em | Am | E | Am | Am |";
    const auto chords = ParseChords(
        "Am | G | F | E | " + verseChords + chorusChords + verseChords + chorusChords + "Am | F | E | Am | Am",
        0, song.BarTicks());

    // Intro: the guitar alone, the bass from its third bar, the flute's pick-up at its end.
    Melody(song, flute, song.Bar(3), "rh A4q |", {0, 78});
    Melody(song, flute, song.Bar(4), verse + chorus + "rh A4q |", {0, 82});
    Melody(song, clarinet, song.Bar(36), verse, {0, 80});
    Melody(song, flute, song.Bar(52), chorus + "A4h. |", {0, 80});
    HarmonyBelow(song, flute, NotesBetween(clarinet, song.Bar(36), song.Bar(52)), chords, 52);
    HarmonyBelow(song, clarinet, NotesBetween(flute, song.Bar(52), song.Bar(68)), chords, 54);
    Melody(song, flute, song.Bar(68), "E5h. | C5h. | B4h G#4q | A4h. | A4h. |", {0, 72, 1.0});

    Arpeggio(song, guitar, chords, "0e 2e 3e 4e 3e 2e", 40, 60);
    std::vector<TChord> fromBar2(chords.begin() + 2, chords.end());
    Bass(song, bass, fromBar2, "1h 5q", 33, 72);
    std::vector<TChord> chorusOn(chords.begin() + 20, chords.end());
    Pad(song, strings, chorusOn, 62, 46);
    Drums(song, drums, song.Bar(36), 32, {{Maracas, "xoxoxo"}, {SoftKick, "x....."}}, 42);
    song.Ritardando(song.Bar(69), song.Bar(72), 66);
    return song;
}

// A ground bass after Pachelbel's canon (about 1700), D major, 4/4, with lines of our own.
TSong canon()
{
    TSong song("Ground in D", 4, 60, 2002);
    TPart& violin = song.AddPart("Violin", 0, Violin, 92, 52, 70);
    TPart& recorder = song.AddPart("Recorder", 1, Recorder, 90, 80, 70);
    TPart& harp = song.AddPart("Harp", 2, Harp, 100, 40, 60);
    TPart& strings = song.AddPart("Strings", 3, SlowStrings, 72, 88, 80);
    TPart& cello = song.AddPart("Cello", 4, Cello, 96, 60, 50);

    std::string ground;
    for (int i = 0; i < 8; ++i)
        ground += "D A | Bm F#m | G D | G A | ";
    const auto chords = ParseChords(ground + "D | D", 0, song.BarTicks());
    const auto cycle = [&](int n) { return song.Bar(4 * n); };
    const std::vector<TChord> fromCycle2(chords.begin() + 8, chords.end());

    const std::string halves = "F#5h E5h | D5h C#5h | B4h A4h | B4h C#5h |";
    const std::string quarters = "D5q C#5q B4q A4q | G4q F#4q G4q E4q | D4q F#4q A4q G4q | F#4q D4q F#4q E4q |";
    const std::string eighths =
        "D5e F#5e A5e F#5e E5e C#5e A4e C#5e | B4e D5e F#5e D5e C#5e A4e F#4e A4e |"
        "G4e B4e D5e B4e A4e F#4e D4e F#4e | G4e B4e D5e G5e E5e C#5e A4e C#5e |";
    const std::string song7 = "A5h. G5q | F#5h E5h | D5q E5q F#5q G5q | A5h E5h |";

    Melody(song, violin, cycle(2), halves + quarters + eighths, {0, 70});
    Melody(song, recorder, cycle(5), halves, {0, 72});
    Melody(song, violin, cycle(5), quarters, {0, 64});
    Melody(song, violin, cycle(6), song7 + "F#5w | D5w | B4h A4h | B4h C#5h | D5w | rw |", {0, 70, 0.97});
    HarmonyBelow(song, recorder, NotesBetween(violin, cycle(6), cycle(7)), chords, 58);

    Bass(song, cello, chords, "1h", 40, 74);
    Pad(song, strings, fromCycle2, 64, 44);
    const std::vector<TChord> cycles2to4(chords.begin() + 8, chords.begin() + 32);
    const std::vector<TChord> cycles5to6(chords.begin() + 32, chords.begin() + 48);
    const std::vector<TChord> fromCycle7(chords.begin() + 48, chords.end());
    Arpeggio(song, harp, cycles2to4, "0e 1e 2e 3e", 50, 62, 3.0);
    Arpeggio(song, harp, cycles5to6, "0s 1s 2s 3s 4s 3s 2s 1s", 50, 56, 3.0);
    Arpeggio(song, harp, fromCycle7, "0e 2e 4e 2e", 50, 54, 3.0);
    song.Ritardando(song.Bar(30), song.Bar(33), 44);
    return song;
}

// Scarborough Fair (English, traditional), E dorian, 3/4.
TSong scarborough()
{
    TSong song("Scarborough Fair", 3, 100, 3003);
    TPart& oboe = song.AddPart("Oboe", 0, Oboe, 92, 56, 60);
    TPart& panFlute = song.AddPart("Pan flute", 1, PanFlute, 96, 76, 70);
    TPart& guitar = song.AddPart("Steel guitar", 2, SteelGuitar, 86, 40);
    TPart& choir = song.AddPart("Choir", 3, ChoirAahs, 66, 88, 80);
    TPart& bass = song.AddPart("Bass", 4, FretlessBass, 98, 64, 30);
    TPart& drums = song.AddPart("Percussion", DrumChannel, 0, 64, 70, 50);

    // Written in D dorian, played a tone higher.
    constexpr int up = 2;
    const std::string verse =
        "D4h D4q | A4h A4q | E4q. F4e E4q | D4h. | rq A4q C5q | D5h C5q | A4q B4q G4q | A4h. |"
        "D5h D5q | C5q A4q A4q | G4q F4q E4q | C4h. | D4h A4q | G4h F4q | E4q D4q C4q | D4h. |";
    const std::string verseChords = "Dm | Am | C | Dm | Dm | G | Em | Am | Dm | Am | C | Am | Dm | G | C | Dm |";
    const auto chords = Transposed(ParseChords("Dm | C | Dm | Dm | " + verseChords + "Dm | C | G | Dm | " +
                                                   verseChords + verseChords + "Dm | C | Dm | Dm",
                                               0, song.BarTicks()),
                                   up);

    Melody(song, oboe, song.Bar(4), verse, {up, 84});
    Melody(song, panFlute, song.Bar(24), verse, {up + 12, 80});
    Melody(song, oboe, song.Bar(40), verse, {up, 82});
    HarmonyBelow(song, panFlute, NotesBetween(oboe, song.Bar(40), song.Bar(56)), chords, 56);
    Melody(song, oboe, song.Bar(56), "A4h. | G4h. | E4h F4q | D4h. |", {up, 70, 1.0});

    Arpeggio(song, guitar, chords, "0e 1e 2e 3e 2e 1e", 40, 58);
    Bass(song, bass, chords, "1h.", 33, 70);
    const std::vector<TChord> fromInterlude(chords.begin() + 20, chords.end());
    Pad(song, choir, fromInterlude, 60, 48);
    Drums(song, drums, song.Bar(24), 32, {{Cabasa, "x.o.o."}}, 40);
    for (int bar = 24; bar < 56; bar += 4)
        Drums(song, drums, song.Bar(bar), 1, {{Triangle, "x....."}}, 34);
    song.Ritardando(song.Bar(57), song.Bar(60), 76);
    return song;
}

// Minuet in G (Christian Petzold, about 1725), G major, 3/4.
TSong minuet()
{
    TSong song("Minuet in G", 3, 104, 4004);
    TPart& harpsichord = song.AddPart("Harpsichord", 0, Harpsichord, 120, 54, 50);
    TPart& marimba = song.AddPart("Marimba", 1, Marimba, 124, 78, 50);
    TPart& pizzicato = song.AddPart("Pizzicato strings", 2, Pizzicato, 110, 86, 60);
    TPart& bassoon = song.AddPart("Bassoon", 3, Bassoon, 110, 60, 40);

    const std::string a =
        "D5q G4e A4e B4e C5e | D5q G4q G4q | E5q C5e D5e E5e F#5e | G5q G4q G4q |"
        "C5q D5e C5e B4e A4e | B4q C5e B4e A4e G4e | F#4q G4e A4e B4e G4e | A4h. |"
        "D5q G4e A4e B4e C5e | D5q G4q G4q | E5q C5e D5e E5e F#5e | G5q G4q G4q |"
        "C5q D5e C5e B4e A4e | B4q C5e B4e A4e G4e | A4q B4e A4e G4e F#4e | G4h. |";
    const std::string b =
        "B5q G5e A5e B5e G5e | A5q D5e E5e F#5e D5e | G5q E5e F#5e G5e D5e | C#5q B4e C#5e A4q |"
        "A4e B4e C#5e D5e E5e F#5e | G5q F#5q E5q | F#5q A4q C#5q | D5h. |"
        "D5q G4e F#4e G4q | E5q G4e F#4e G4q | D5q C5q B4q | A4e G4e F#4e G4e A4q |"
        "D4e E4e F#4e G4e A4e B4e | C5q B4q A4q | B4e D5e G4q F#4q | G4h. |";
    const std::string aChords = "G | G | C | G | Am | G | D | D | G | G | C | G | Am | G | D7 | G |";
    const std::string bChords = "G | D | Em | A | A | A7 | D:2 A7:1 | D | G | C | G | D7 | D | Am | G:2 D:1 | G |";
    const auto chords = ParseChords("G | D7 | " + aChords + bChords + aChords + bChords + aChords, 0, song.BarTicks());
    auto chordsIn = [&](int fromBar, int toBar) {
        std::vector<TChord> out;
        for (const TChord& c : chords)
            if (c.Tick >= song.Bar(fromBar) && c.Tick < song.Bar(toBar))
                out.push_back(c);
        return out;
    };

    Melody(song, harpsichord, song.Bar(2), a + b, {0, 80, 0.85});
    HarmonyBelow(song, marimba, NotesBetween(harpsichord, song.Bar(18), song.Bar(34)), chords, 62);
    Melody(song, marimba, song.Bar(34), a + b, {0, 88, 0.9});
    HarmonyBelow(song, harpsichord, NotesBetween(marimba, song.Bar(50), song.Bar(66)), chords, 56);
    Melody(song, harpsichord, song.Bar(66), a, {0, 78, 0.85});
    Melody(song, marimba, song.Bar(66), a, {-12, 72, 0.9});

    Bass(song, bassoon, chords, "1q rh", 36, 70);
    Arpeggio(song, pizzicato, chordsIn(0, 34), "rq *q *q", 48, 60, 0.8);
    Arpeggio(song, harpsichord, chordsIn(34, 50), "0e 2e 1e 2e 0e 2e", 55, 54, 0.9);
    Arpeggio(song, pizzicato, chordsIn(50, 82), "rq *q *q", 48, 56, 0.8);
    song.Ritardando(song.Bar(79), song.Bar(82), 80);
    return song;
}

// Ode to Joy (Beethoven's Ninth, 1824), B flat major, 4/4.
TSong odeToJoy()
{
    TSong song("Ode to Joy", 4, 92, 5005);
    TPart& vibes = song.AddPart("Vibraphone", 0, Vibraphone, 100, 56, 60);
    TPart& horn = song.AddPart("French horn", 1, FrenchHorn, 96, 74, 60);
    TPart& piano = song.AddPart("Electric piano", 2, ElectricPiano, 90, 44, 50);
    TPart& bass = song.AddPart("Bass", 3, FingerBass, 100, 64, 30);
    TPart& drums = song.AddPart("Drums", DrumChannel, 0, 70, 64, 40);

    // Written in D, played in B flat: the vibraphone above, the horn below.
    constexpr int key = -4;
    const std::string firstHalf =
        "F#4q F#4q G4q A4q | A4q G4q F#4q E4q | D4q D4q E4q F#4q | F#4q. E4e E4h |"
        "F#4q F#4q G4q A4q | A4q G4q F#4q E4q | D4q D4q E4q F#4q | E4q. D4e D4h |";
    const std::string secondHalf =
        "E4q E4q F#4q D4q | E4q F#4e G4e F#4q D4q | E4q F#4e G4e F#4q E4q | D4q E4q A3h |"
        "F#4q F#4q G4q A4q | A4q G4q F#4q E4q | D4q D4q E4q F#4q | E4q. D4e D4h |";
    const std::string episode =
        "B4h A4q G4q | F#4h E4h | G4q A4q B4q D5q | C#5h. A4q | B4h D5q B4q | A4h F#4q D4q | E4q F#4q G4q E4q |"
        "D4h A4h |";
    const std::string firstChords = "D | A7 | D | A | D | A7 | Bm | A7 D |";
    const std::string secondChords = "A | Bm D | A Em | D A7 | D | A7 | Bm G | A7 D |";
    const std::string episodeChords = "G | D | Em | A | G | D | Em A | D A7 |";
    const auto chords = Transposed(ParseChords("D | Bm | G | A7 | " + firstChords + secondChords + episodeChords +
                                                   firstChords + secondChords + secondChords + "G | D",
                                               0, song.BarTicks()),
                                   key);

    Melody(song, vibes, song.Bar(4), firstHalf + secondHalf, {key + 12, 84});
    Melody(song, horn, song.Bar(20), episode, {key, 78});
    Melody(song, horn, song.Bar(28), firstHalf + secondHalf, {key, 80});
    HarmonyBelow(song, vibes, NotesBetween(horn, song.Bar(28), song.Bar(44)), chords, 50);
    Melody(song, vibes, song.Bar(44), secondHalf + "B4h A4h | D4w |", {key + 12, 80});

    Bass(song, bass, chords, "1q. 5e 8q 5q", 28, 74);
    Arpeggio(song, piano, chords, "*q. *e+h", 48, 54, 0.95);
    Drums(song, drums, song.Bar(4), 16, {{ClosedHat, "o.o.o.o."}, {SideStick, "..x...x."}, {Kick, "x...x..."}}, 52);
    Drums(song, drums, song.Bar(20), 8, {{Ride, "x.x.x.x."}, {Kick, "x......."}}, 46);
    Drums(song, drums, song.Bar(28), 16, {{ClosedHat, "oooooooo"}, {SideStick, "..x...x."}, {Kick, "x...x..."}}, 50);
    Drums(song, drums, song.Bar(44), 8, {{ClosedHat, "o.o.o.o."}, {SideStick, "..x...x."}}, 46);
    song.Ritardando(song.Bar(51), song.Bar(54), 70);
    return song;
}

// "Evening at Quelbrin", our own tune, F major, 4/4.
TSong evening()
{
    TSong song("Evening at Quelbrin", 4, 88, 6006);
    TPart& ocarina = song.AddPart("Ocarina", 0, Ocarina, 100, 60, 60);
    TPart& celesta = song.AddPart("Celesta", 1, Celesta, 96, 72, 70);
    TPart& cello = song.AddPart("Cello", 2, Cello, 94, 50, 60);
    TPart& recorder = song.AddPart("Recorder", 3, Recorder, 84, 80, 60);
    TPart& piano = song.AddPart("Piano", 4, AcousticGrand, 86, 42, 50);
    TPart& pad = song.AddPart("Warm pad", 5, WarmPad, 62, 86, 70);
    TPart& bass = song.AddPart("Bass", 6, AcousticBass, 98, 64, 30);
    TPart& drums = song.AddPart("Percussion", DrumChannel, 0, 64, 70, 40);

    const std::string a =
        "A4q C5q F5q. E5e | D5h C5h | Bb4q A4q G4q A4e Bb4e | A4w |"
        "A4q C5q F5q. G5e | A5h G5q F5q | E5q D5q C5q Bb4q | A4h G4h |";
    const std::string a2 =
        "A4q C5q F5q. E5e | D5h C5h | Bb4q A4q G4q A4e Bb4e | A4h rq C5q |"
        "F5q. E5e D5q C5q | D5q. C5e Bb4q A4q | G4q A4q Bb4q E4q | F4w |";
    const std::string b =
        "D5q. E5e F5q D5q | C5h A4h | Bb4q. C5e D5q Bb4q | A4w |"
        "G4q A4q Bb4q D5q | C5q. Bb4e A4q F4q | G4q A4q Bb4q C5q | D5h C5h |";
    const std::string aChords = "F | Bb F | Gm C | F | F | Dm | Bb C | F C |";
    const std::string a2Chords = "F | Bb F | Gm C | F | Bb | Gm | C7 | F |";
    const std::string bChords = "Dm | Am | Bb | F | Gm | F | Gm C | Bb C |";
    const auto chords = ParseChords("F | Dm | Bb | C | " + aChords + a2Chords + bChords + a2Chords +
                                        "Dm | Bb | Gm | C | " + bChords + a2Chords + "Bb | C | F | F",
                                    0, song.BarTicks());
    auto chordsIn = [&](int fromBar, int toBar) {
        std::vector<TChord> out;
        for (const TChord& c : chords)
            if (c.Tick >= song.Bar(fromBar) && c.Tick < song.Bar(toBar))
                out.push_back(c);
        return out;
    };

    Melody(song, ocarina, song.Bar(4), a + a2, {0, 82});
    Melody(song, celesta, song.Bar(20), b, {0, 76});
    Melody(song, ocarina, song.Bar(28), a2, {0, 80});
    HarmonyBelow(song, recorder, NotesBetween(ocarina, song.Bar(28), song.Bar(36)), chords, 54);
    Melody(song, cello, song.Bar(40), b, {-12, 84, 0.97});
    Melody(song, ocarina, song.Bar(48), a2, {0, 80});
    HarmonyBelow(song, recorder, NotesBetween(ocarina, song.Bar(48), song.Bar(56)), chords, 54);
    Melody(song, ocarina, song.Bar(56), "D5h C5h | Bb4h G4h | A4w | A4w |", {0, 70, 1.0});

    Arpeggio(song, piano, chords, "0e 1e 2e 3e 4e 3e 2e 1e", 41, 56, 1.8);
    Pad(song, pad, chordsIn(0, 36), 60, 44);
    Pad(song, pad, chordsIn(36, 60), 58, 40);
    Bass(song, bass, chordsIn(2, 60), "1h 5h", 29, 72);
    Drums(song, drums, song.Bar(4), 32, {{Cabasa, "oxoxoxox"}, {Kick, "x.....x."}}, 40);
    Drums(song, drums, song.Bar(20), 8, {{Tambourine, "....x..."}}, 36);
    Drums(song, drums, song.Bar(40), 16, {{Cabasa, "oxoxoxox"}, {Kick, "x.....x."}}, 38);
    song.Ritardando(song.Bar(57), song.Bar(60), 66);
    return song;
}

}  // namespace

std::vector<TSongFileSpec> AllSongs()
{
    std::vector<TSongFileSpec> all;
    all.push_back({"Spades0.rmi", true, 0, true, greensleeves()});
    all.push_back({"Spades1.rmi", true, 2, false, canon()});
    all.push_back({"Spades2.rmi", true, 2, true, scarborough()});
    all.push_back({"Spades3.mid", false, 1, false, minuet()});
    all.push_back({"Spades4.mid", false, -2, false, odeToJoy()});
    all.push_back({"Spades5.mid", false, -1, false, evening()});
    return all;
}

}  // namespace songs
