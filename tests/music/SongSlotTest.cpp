// Which song slots are played: a slot naming a folder is skipped like a missing file.
#include <QDir>
#include <QSignalSpy>
#include <QFile>
#include <QTemporaryDir>

#include <gmock/gmock.h>

#include "MusicSequencer.h"
#include "SongFile.h"

using namespace spades;

namespace {

class TOpenRecorder : public TMediaPlayer {
public:
    void Open() override { Opened << FileName(); }
    void Play() override {}
    void Close() override {}
    QStringList Opened;
};

enum class TKind { Empty, Missing, Folder, File, LinkToFolder, LinkToFile };

struct TSlotCase {
    const char* Name;
    TKind Kind;
    bool Playable;
};

class SongSlot : public ::testing::TestWithParam<TSlotCase> {
protected:
    QTemporaryDir Dir;

    QString Make(TKind kind)
    {
        const QString file = Dir.filePath("song.mid");
        const QString folder = Dir.filePath("songs.mid");
        QFile(file).open(QIODevice::WriteOnly);
        QDir().mkpath(folder);
        switch (kind) {
        case TKind::Empty:
            return {};
        case TKind::Missing:
            return Dir.filePath("gone.mid");
        case TKind::Folder:
            return folder;
        case TKind::File:
            return file;
        case TKind::LinkToFolder:
            QFile::link(folder, Dir.filePath("folder-link.mid"));
            return Dir.filePath("folder-link.mid");
        case TKind::LinkToFile:
            QFile::link(file, Dir.filePath("file-link.mid"));
            return Dir.filePath("file-link.mid");
        }
        return {};
    }
};

TEST_P(SongSlot, PlayedOnlyWhenItNamesAFile)
{
    const QString path = Make(GetParam().Kind);
    EXPECT_EQ(SongFileExists(path), GetParam().Playable);

    // Slot 1 holds the case, slot 3 a good file: the first song is slot 1 only when playable.
    const QString good = Dir.filePath("good.mid");
    QFile(good).open(QIODevice::WriteOnly);
    TMusicSettings settings;
    for (auto& song : settings.Songs)
        song.clear();
    settings.SetSong(0, path);
    settings.SetSong(2, good);
    TOpenRecorder player;
    TMusicSequencer sequencer(settings, player);
    QSignalSpy errors(&sequencer, &TMusicSequencer::errorOccurred);
    sequencer.Timer3Timer();
    sequencer.Timer2Timer();
    EXPECT_EQ(player.Opened, QStringList{GetParam().Playable ? path : good});
    // After the preferences the walk starts again from slot 1, with the same test.
    sequencer.AfterPreferences();
    EXPECT_EQ(player.Opened.last(), GetParam().Playable ? path : good);
    EXPECT_EQ(errors.count(), 0);
}

INSTANTIATE_TEST_SUITE_P(Kinds, SongSlot,
                         ::testing::Values(TSlotCase{"Empty", TKind::Empty, false},
                                           TSlotCase{"Missing", TKind::Missing, false},
                                           TSlotCase{"Folder", TKind::Folder, false},
                                           TSlotCase{"File", TKind::File, true},
                                           TSlotCase{"LinkToFolder", TKind::LinkToFolder, false},
                                           TSlotCase{"LinkToFile", TKind::LinkToFile, true}),
                         [](const ::testing::TestParamInfo<TSlotCase>& info) { return std::string(info.param.Name); });

}  // namespace
