// The song slots and the music switch: program-wide, next to the main window,
// loaded and saved with the preferences and played by the music sequencer.
#pragma once

#include <QString>
#include <array>

namespace spades {

struct TMusicSettings {
    static constexpr int SlotCount = 8;
    static constexpr int MaxPathLength = 255;

    std::array<QString, SlotCount> Songs;  // index 0..7; "Song 1".."Song 8" to the user
    bool MusicOn = true;

    // Longer paths are cut to 255 characters.
    void SetSong(int index, const QString& path)
    {
        if (index >= 0 && index < SlotCount)
            Songs[static_cast<size_t>(index)] = path.left(MaxPathLength);
    }

    // The six songs shipped next to the program in slots 1..6, slots 7 and 8 empty, music on.
    void SetDefaults(const QString& programDir)
    {
        static constexpr std::array<const char*, 6> files = {"Spades0.rmi", "Spades1.rmi", "Spades2.rmi",
                                                             "Spades3.mid", "Spades4.mid", "Spades5.mid"};
        for (int i = 0; i < SlotCount; ++i)
            SetSong(i, i < 6 ? programDir + QLatin1String(files[static_cast<size_t>(i)]) : QString());
        MusicOn = true;
    }
};

}  // namespace spades
