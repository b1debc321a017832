#include "MusicSequencer.h"

#include <QCoreApplication>
#include <QSet>
#include <QSignalSpy>
#include <QTest>

#include <gmock/gmock.h>

using namespace spades;
using ::testing::ElementsAre;

namespace {

// Records what the sequencer asks of it; a song ends only when the test says so.
class TFakePlayer : public TMediaPlayer {
public:
    QStringList Opened;
    int Closes = 0;
    bool Playing = false;
    QSet<QString> Unplayable;
    bool NoSound = false;

    void Open() override
    {
        Close();
        if (NoSound)
            throw ENoSound("No audio output could be started (tried alsa).");
        if (Unplayable.contains(FileName()))
            throw EMediaError("Cannot open the song \"" + FileName().toStdString() + "\": the file is empty.");
        Opened << FileName();
    }
    void Play() override { Playing = true; }
    void Close() override
    {
        ++Closes;
        if (Playing) {
            Playing = false;
            PostNotify(TMediaResult::Aborted);
        }
    }
    void Finish(TMediaResult result)
    {
        Playing = false;
        PostNotify(result);
        QCoreApplication::processEvents();
    }
};

class MusicSequencerTest : public ::testing::Test {
protected:
    TMusicSettings Settings;
    TFakePlayer Player;
    QSet<QString> Files;  // the files that "exist"
    std::unique_ptr<TMusicSequencer> Sequencer;

    void SetSlots(std::initializer_list<std::pair<int, QString>> songs, bool exist = true)
    {
        for (auto& s : Settings.Songs)
            s.clear();
        for (const auto& [slot, path] : songs) {
            Settings.SetSong(slot, path);
            if (exist)
                Files << path;
        }
    }
    void Create()
    {
        Sequencer = std::make_unique<TMusicSequencer>(Settings, Player,
                                                      [this](const QString& p) { return Files.contains(p); });
    }
    // The first start, then songs ending one after another, each started by Timer2.
    QStringList PlaySongs(int count)
    {
        Sequencer->Timer3Timer();
        for (int i = 0; i < count; ++i) {
            Sequencer->Timer2Timer();
            Player.Finish(TMediaResult::Successful);
        }
        return Player.Opened;
    }
};

TEST_F(MusicSequencerTest, PlaysTheFilledSlotsInOrderAndLoops)
{
    SetSlots({{0, "/m/one.mid"}, {2, "/m/three.rmi"}});
    Create();
    EXPECT_THAT(PlaySongs(4), ElementsAre("/m/one.mid", "/m/three.rmi", "/m/one.mid", "/m/three.rmi"));
}

TEST_F(MusicSequencerTest, OnlyTheLastSlotRepeats)
{
    SetSlots({{7, "/m/eight.mid"}});
    Create();
    Sequencer->Timer3Timer();
    EXPECT_EQ(Sequencer->CurrentSong(), 17);
    EXPECT_THAT(PlaySongs(2), ElementsAre("/m/eight.mid", "/m/eight.mid"));
}

TEST_F(MusicSequencerTest, SkipsSlotsWhoseFileIsMissing)
{
    SetSlots({{1, "/m/gone.mid"}}, false);
    Settings.SetSong(4, "/m/five.mid");
    Files << "/m/five.mid";
    Create();
    EXPECT_THAT(PlaySongs(2), ElementsAre("/m/five.mid", "/m/five.mid"));
}

TEST_F(MusicSequencerTest, MusicOffStartsNothing)
{
    SetSlots({{0, "/m/one.mid"}});
    Settings.MusicOn = false;
    Create();
    Sequencer->Timer3Timer();
    EXPECT_EQ(Sequencer->CurrentSong(), 0);
    Sequencer->Timer2Timer();
    EXPECT_TRUE(Player.Opened.isEmpty());
}

TEST_F(MusicSequencerTest, AllSlotsEmptyIsSilentWithoutError)
{
    SetSlots({});
    Create();
    QSignalSpy errors(Sequencer.get(), &TMusicSequencer::errorOccurred);
    Sequencer->Timer3Timer();
    EXPECT_EQ(Sequencer->CurrentSong(), TMusicSequencer::NoSong);
    Sequencer->Timer2Timer();
    EXPECT_TRUE(Player.Opened.isEmpty());
    EXPECT_EQ(errors.count(), 0);
}

class DueEncoding : public MusicSequencerTest, public ::testing::WithParamInterface<int> {};

TEST_P(DueEncoding, TheDueSlotIsTenMoreAndTimer2StartsIt)
{
    const int slot = GetParam();
    SetSlots({{slot, QStringLiteral("/m/song%1.mid").arg(slot)}});
    Create();
    Sequencer->Timer3Timer();
    EXPECT_EQ(Sequencer->CurrentSong(), 10 + slot);
    Sequencer->Timer2Timer();
    EXPECT_EQ(Sequencer->CurrentSong(), slot);
    EXPECT_THAT(Player.Opened, ElementsAre(QStringLiteral("/m/song%1.mid").arg(slot)));
    EXPECT_TRUE(Player.Playing);
    Sequencer->Timer2Timer();  // not due any more
    EXPECT_EQ(Player.Opened.size(), 1);
}

INSTANTIATE_TEST_SUITE_P(EverySlot, DueEncoding, ::testing::Range(0, 8));

TEST_F(MusicSequencerTest, PickNextSongWrapsFromTheLastSlotAndFromNoSong)
{
    SetSlots({{0, "/m/one.mid"}, {7, "/m/eight.mid"}});
    Create();
    EXPECT_THAT(PlaySongs(2), ElementsAre("/m/one.mid", "/m/eight.mid"));
    EXPECT_EQ(Sequencer->CurrentSong(), 10);  // from slot 8 back to slot 1

    SetSlots({});
    Sequencer->PickNextSong();
    EXPECT_EQ(Sequencer->CurrentSong(), TMusicSequencer::NoSong);
    SetSlots({{3, "/m/four.mid"}});
    Sequencer->PickNextSong();  // 9 starts the walk at slot 1
    EXPECT_EQ(Sequencer->CurrentSong(), 3);
}

TEST_F(MusicSequencerTest, OnlyASuccessfulEndAdvances)
{
    SetSlots({{0, "/m/one.mid"}, {1, "/m/two.mid"}});
    Create();
    Sequencer->Timer3Timer();
    Sequencer->Timer2Timer();
    for (TMediaResult result : {TMediaResult::Aborted, TMediaResult::Superseded, TMediaResult::Failure}) {
        const int closes = Player.Closes;
        Player.Finish(result);
        EXPECT_EQ(Sequencer->CurrentSong(), 0);
        EXPECT_EQ(Player.Closes, closes);  // the sequencer leaves the player alone
    }
    Player.Finish(TMediaResult::Successful);
    EXPECT_EQ(Sequencer->CurrentSong(), 11);
    EXPECT_EQ(Player.NotifyValue(), TMediaResult::Successful);
}

TEST_F(MusicSequencerTest, TheDialogStopsTheMusicAndRestartsFromTheFirstSlot)
{
    SetSlots({{1, "/m/two.mid"}, {3, "/m/four.mid"}});
    Create();
    PlaySongs(1);
    Sequencer->Timer2Timer();  // the second song, slot 4, is playing
    ASSERT_EQ(Sequencer->CurrentSong(), 3);

    Sequencer->BeforePreferences();
    EXPECT_FALSE(Player.Playing);
    QCoreApplication::processEvents();  // the aborted notification is ignored
    EXPECT_EQ(Sequencer->CurrentSong(), 3);

    Sequencer->AfterPreferences();
    EXPECT_EQ(Sequencer->CurrentSong(), 1);
    EXPECT_EQ(Player.Opened.last(), "/m/two.mid");  // opened and playing at once, not due
    EXPECT_TRUE(Player.Playing);
}

TEST_F(MusicSequencerTest, MusicSwitchedOffInTheDialogStaysSilent)
{
    SetSlots({{0, "/m/one.mid"}});
    Create();
    PlaySongs(0);
    Sequencer->Timer2Timer();
    Sequencer->BeforePreferences();
    Settings.MusicOn = false;
    Sequencer->AfterPreferences();
    EXPECT_EQ(Player.Opened.size(), 1);
    EXPECT_FALSE(Player.Playing);

    // With the music off, the next dialog leaves the player alone; switching on starts it.
    const int closes = Player.Closes;
    Sequencer->BeforePreferences();
    EXPECT_EQ(Player.Closes, closes);
    Settings.MusicOn = true;
    Sequencer->AfterPreferences();
    EXPECT_EQ(Player.Opened.size(), 2);
    EXPECT_TRUE(Player.Playing);
}

TEST_F(MusicSequencerTest, ASongDueWhenTheDialogOpensWaitsForItsEnd)
{
    SetSlots({{0, "/m/one.mid"}, {1, "/m/two.mid"}});
    Create();
    PlaySongs(1);  // the first song ended; the second is due
    ASSERT_EQ(Sequencer->CurrentSong(), 11);
    Sequencer->BeforePreferences();
    Sequencer->Timer2Timer();  // a tick while the dialog is open
    EXPECT_EQ(Player.Opened.size(), 1);
    Sequencer->AfterPreferences();
    EXPECT_EQ(Player.Opened.last(), "/m/one.mid");
}

TEST_F(MusicSequencerTest, TrimsBlanksForTheDueStartButNotAfterTheDialog)
{
    const QString padded = QStringLiteral("  /m/one.mid\t ");
    SetSlots({{0, padded}});
    Create();
    Sequencer->Timer3Timer();
    Sequencer->Timer2Timer();
    EXPECT_THAT(Player.Opened, ElementsAre("/m/one.mid"));
    Sequencer->BeforePreferences();
    Sequencer->AfterPreferences();
    EXPECT_EQ(Player.Opened.last(), padded);
}

TEST_F(MusicSequencerTest, AFailingOpenIsReportedOnceAndTheMusicStaysSilent)
{
    SetSlots({{0, "/m/bad.mid"}, {1, "/m/two.mid"}});
    Player.Unplayable << "/m/bad.mid";
    Create();
    QSignalSpy errors(Sequencer.get(), &TMusicSequencer::errorOccurred);
    QSignalSpy noSound(Sequencer.get(), &TMusicSequencer::soundUnavailable);
    Sequencer->Timer3Timer();
    Sequencer->Timer2Timer();
    ASSERT_EQ(errors.count(), 1);
    EXPECT_EQ(errors.at(0).at(0).toString(), "Cannot open the song \"/m/bad.mid\": the file is empty.");
    EXPECT_EQ(Sequencer->CurrentSong(), 0);
    for (int tick = 0; tick < 10; ++tick)
        Sequencer->Timer2Timer();
    QCoreApplication::processEvents();
    EXPECT_EQ(errors.count(), 1);
    EXPECT_TRUE(Player.Opened.isEmpty());
    EXPECT_EQ(noSound.count(), 0);
    Sequencer->AfterPreferences();  // the next dialog tries again, and reports again
    EXPECT_EQ(errors.count(), 2);
}

TEST_F(MusicSequencerTest, NoSoundIsReportedOncePerRun)
{
    SetSlots({{0, "/m/one.mid"}, {1, "/m/two.mid"}});
    Player.NoSound = true;
    Create();
    QSignalSpy errors(Sequencer.get(), &TMusicSequencer::errorOccurred);
    QSignalSpy noSound(Sequencer.get(), &TMusicSequencer::soundUnavailable);
    Sequencer->Timer3Timer();
    for (int tick = 0; tick < 5; ++tick)
        Sequencer->Timer2Timer();
    for (int dialog = 0; dialog < 3; ++dialog) {
        Sequencer->BeforePreferences();
        Sequencer->AfterPreferences();
    }
    ASSERT_EQ(noSound.count(), 1);
    EXPECT_EQ(noSound.at(0).at(0).toString(), "No audio output could be started (tried alsa).");
    EXPECT_EQ(errors.count(), 0);
    EXPECT_EQ(Sequencer->CurrentSong(), 0);

    Player.NoSound = false;  // sound came back: the next dialog starts the music quietly
    Sequencer->AfterPreferences();
    EXPECT_THAT(Player.Opened, ElementsAre("/m/one.mid"));
}

TEST_F(MusicSequencerTest, AFileVanishingDuringThePickEndsTheWalk)
{
    SetSlots({{5, "/m/six.mid"}});
    Create();
    int asked = 0;
    Sequencer = std::make_unique<TMusicSequencer>(Settings, Player, [&](const QString&) { return ++asked == 1; });
    Sequencer->PickNextSong();
    EXPECT_EQ(Sequencer->CurrentSong(), TMusicSequencer::NoSong);
}

TEST_F(MusicSequencerTest, TheTimersStartTheFirstSongByThemselves)
{
    SetSlots({{2, "/m/three.mid"}});
    Create();
    EXPECT_TRUE(Sequencer->Timer2().isActive());
    EXPECT_EQ(Sequencer->Timer2().interval(), 75);
    EXPECT_TRUE(Sequencer->Timer3().isActive());
    EXPECT_TRUE(Sequencer->Timer3().isSingleShot());
    EXPECT_EQ(Sequencer->Timer3().interval(), 200);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Player.Opened.isEmpty(); }, 5000));
    EXPECT_THAT(Player.Opened, ElementsAre("/m/three.mid"));
    EXPECT_FALSE(Sequencer->Timer3().isActive());
    EXPECT_TRUE(Sequencer->Timer2().isActive());

    // A real end of the song starts the next one from Timer2 as well.
    Player.Finish(TMediaResult::Successful);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Player.Opened.size() == 2; }, 5000));
}

}  // namespace
