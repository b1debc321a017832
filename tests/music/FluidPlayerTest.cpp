#include "FluidEngine.h"
#include "FluidPlayer.h"
#include "MidiBytes.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTest>
#include <QThread>

#include <gmock/gmock.h>

#include <cmath>

using namespace spades;
using namespace spades::test;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::StartsWith;

namespace {

// Every notification, and whether each arrived on the user-interface thread.
struct TNotifications {
    std::vector<TMediaResult> Results;
    bool AllOnUiThread = true;

    explicit TNotifications(TMediaPlayer& player)
    {
        QObject::connect(&player, &TMediaPlayer::Notify, [this, &player](TMediaResult r) {
            AllOnUiThread = AllOnUiThread && QThread::currentThread() == QCoreApplication::instance()->thread();
            EXPECT_EQ(player.NotifyValue(), r);
            Results.push_back(r);
        });
    }
};

std::shared_ptr<TFluidEngine> offlineEngine(bool keepAudio = false, double sampleRate = 44100)
{
    TFluidConfig config;
    config.Output = TAudioOutput::Offline;
    config.KeepAudio = keepAudio;
    config.SampleRate = sampleRate;
    return std::make_shared<TFluidEngine>(config);
}

// Renders in steps of a quarter second, delivering notifications in between.
void renderSeconds(TFluidEngine& engine, double seconds)
{
    const auto step = static_cast<std::int64_t>(engine.Config().SampleRate / 4);
    for (double done = 0; done < seconds; done += 0.25) {
        engine.RenderOffline(step);
        QCoreApplication::processEvents();
    }
}

class FluidSongs : public ::testing::TestWithParam<const char*> {};

TEST_P(FluidSongs, PlayAudiblyToTheirEndAndNotifySuccess)
{
    const QString path = SongPath(QString::fromLatin1(GetParam()));
    ASSERT_TRUE(QFileInfo::exists(path)) << "the build writes the songs to " << path.toStdString();
    // A low rate renders a whole song in a fraction of the time and still tells
    // silence from sound.
    auto engine = offlineEngine(true, 11025);
    TFluidPlayer player(engine);
    TNotifications notes(player);
    player.SetFileName(path);
    player.Open();
    EXPECT_EQ(player.Song().Riff, path.endsWith(QLatin1String(".rmi")));
    EXPECT_EQ(player.Song().Format, 1);
    const double length = player.Song().Seconds;
    EXPECT_GE(length, 60.0);
    EXPECT_LE(length, 180.0);

    player.Play();
    const double rate = engine->Config().SampleRate;
    const auto start = engine->RenderedFrames();
    double sumSquares = 0;
    std::int64_t samples = 0;
    while (notes.Results.empty() && engine->RenderedFrames() - start < (length + 10) * rate) {
        renderSeconds(*engine, 5);
        for (float s : engine->TakeAudio()) {
            sumSquares += static_cast<double>(s) * s;
            ++samples;
        }
    }
    ASSERT_THAT(notes.Results, ElementsAre(TMediaResult::Successful));
    EXPECT_TRUE(notes.AllOnUiThread);
    const double played = (engine->RenderedFrames() - start) / rate;
    EXPECT_GE(played, length);
    EXPECT_LE(played, length + 8);  // FluidSynth lets the last notes ring for two seconds
    const double rms = std::sqrt(sumSquares / static_cast<double>(samples));
    EXPECT_GT(20 * std::log10(rms), -40.0) << "RMS " << rms;
    EXPECT_FALSE(player.IsPlaying());
    player.Close();
    QCoreApplication::processEvents();
    EXPECT_EQ(notes.Results.size(), 1u);  // closing a finished song notifies nothing more
}

INSTANTIATE_TEST_SUITE_P(TheSixSongs, FluidSongs,
                         ::testing::Values("Spades0.rmi", "Spades1.rmi", "Spades2.rmi", "Spades3.mid", "Spades4.mid",
                                           "Spades5.mid"),
                         [](const auto& info) {
                             std::string name = info.param;
                             name[name.find('.')] = '_';
                             return name;
                         });

class FluidPlayerTest : public ::testing::Test {
protected:
    std::shared_ptr<TFluidEngine> Engine = offlineEngine();
    TFluidPlayer Player{Engine};
    TNotifications Notes{Player};

    void OpenShortSong(double seconds = 1.0)
    {
        Player.OpenData(ToQt(SimpleSong(static_cast<std::uint32_t>(seconds * 192))), QStringLiteral("short.mid"));
    }
};

TEST_F(FluidPlayerTest, CloseDuringPlaybackNotifiesAbortedOnce)
{
    OpenShortSong(10);
    Player.Play();
    renderSeconds(*Engine, 2);
    EXPECT_TRUE(Notes.Results.empty());
    Player.Close();
    EXPECT_FALSE(Player.IsOpen());
    renderSeconds(*Engine, 12);
    EXPECT_THAT(Notes.Results, ElementsAre(TMediaResult::Aborted));
    Player.Close();  // nothing open: nothing happens
    QCoreApplication::processEvents();
    EXPECT_EQ(Notes.Results.size(), 1u);
}

TEST_F(FluidPlayerTest, AnEndReportedAsTheSongIsClosedIsDropped)
{
    OpenShortSong(0.5);
    Player.Play();
    Engine->RenderOffline(static_cast<std::int64_t>(4 * Engine->Config().SampleRate));  // ended, not yet delivered
    Player.Close();
    QCoreApplication::processEvents();
    EXPECT_THAT(Notes.Results, ElementsAre(TMediaResult::Aborted));
}

TEST_F(FluidPlayerTest, PlayAgainSupersedesThenTheSongEnds)
{
    OpenShortSong(1);
    Player.Play();
    renderSeconds(*Engine, 0.5);
    Player.Play();
    renderSeconds(*Engine, 6);
    EXPECT_THAT(Notes.Results, ElementsAre(TMediaResult::Superseded, TMediaResult::Successful));
    Player.Play();  // a finished song plays again from the start
    renderSeconds(*Engine, 6);
    EXPECT_THAT(Notes.Results,
                ElementsAre(TMediaResult::Superseded, TMediaResult::Successful, TMediaResult::Successful));
}

TEST_F(FluidPlayerTest, OpeningAnotherSongAbortsTheRunningOne)
{
    OpenShortSong(10);
    Player.Play();
    renderSeconds(*Engine, 1);
    OpenShortSong(1);
    EXPECT_TRUE(Player.IsOpen());
    EXPECT_FALSE(Player.IsPlaying());
    QCoreApplication::processEvents();
    EXPECT_THAT(Notes.Results, ElementsAre(TMediaResult::Aborted));
}

TEST_F(FluidPlayerTest, PlayWithNothingOpenIsAnError)
{
    EXPECT_THROW(
        {
            try {
                Player.Play();
            } catch (const EMediaError& e) {
                EXPECT_STREQ(e.what(), "Cannot play: no song is open.");
                throw;
            }
        },
        EMediaError);
}

TEST_F(FluidPlayerTest, ABadFileFailsTheOpenAndLeavesTheOldSongClosed)
{
    OpenShortSong(10);
    Player.Play();
    Player.SetFileName(SongPath(QStringLiteral("NoSuchSong.mid")));
    try {
        Player.Open();
        FAIL() << "opened a missing file";
    } catch (const ENoSound&) {
        FAIL() << "a missing file is not a missing sound";
    } catch (const EMediaError& e) {
        EXPECT_THAT(e.what(), HasSubstr("NoSuchSong.mid\": the file does not exist."));
    }
    EXPECT_FALSE(Player.IsOpen());
    EXPECT_THROW(Player.OpenData(ToQt(Header(0, 1, 0) + Track(EndOfTrack)), QStringLiteral("zero.mid")),
                 EMediaError);
    QCoreApplication::processEvents();
    EXPECT_THAT(Notes.Results, ElementsAre(TMediaResult::Aborted));
}

TEST_F(FluidPlayerTest, TwoPlayersShareOneSoundFontAndPlayTogether)
{
    TFluidPlayer second(Engine);
    TNotifications secondNotes(second);
    OpenShortSong(1);
    second.OpenData(ToQt(SimpleSong(96)), QStringLiteral("other.mid"));
    Player.Play();
    second.Play();
    renderSeconds(*Engine, 6);
    EXPECT_THAT(Notes.Results, ElementsAre(TMediaResult::Successful));
    EXPECT_THAT(secondNotes.Results, ElementsAre(TMediaResult::Successful));
    EXPECT_THAT(Engine->SoundFontPath().toStdString(), HasSubstr(".sf"));
}

TEST_F(FluidPlayerTest, DestroyingAPlayingPlayerIsSafe)
{
    auto doomed = std::make_unique<TFluidPlayer>(Engine);
    doomed->OpenData(ToQt(SimpleSong(96)), QStringLiteral("short.mid"));
    doomed->Play();
    Engine->RenderOffline(static_cast<std::int64_t>(3 * Engine->Config().SampleRate));  // end reported, queued
    doomed.reset();
    QCoreApplication::processEvents();  // the queued report dies with its player
    Engine->RenderOffline(4096);
}

TEST(FluidRealTime, TheRenderThreadsEndReachesTheUiThread)
{
    TFluidConfig config;
    config.Output = TAudioOutput::OfflineRealTime;
    auto engine = std::make_shared<TFluidEngine>(config);
    TFluidPlayer player(engine);
    TNotifications notes(player);
    player.OpenData(ToQt(SimpleSong(48)), QStringLiteral("short.mid"));  // a quarter of a second
    EXPECT_TRUE(engine->OutputRunning());
    player.Play();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !notes.Results.empty(); }, 20000));
    EXPECT_THAT(notes.Results, ElementsAre(TMediaResult::Successful));
    EXPECT_TRUE(notes.AllOnUiThread);
    const auto rendered = engine->RenderedFrames();
    EXPECT_GT(rendered, config.SampleRate * 0.25);
    player.Close();
    EXPECT_FALSE(engine->OutputRunning());  // no thread, no CPU, while nothing is open
    QTest::qWait(100);
    EXPECT_EQ(engine->RenderedFrames(), rendered);
}

// No SoundFont, or no audio output: the player says so with an exception of its own.
struct TNoSoundCase {
    const char* Name;
    TFluidConfig Config;
    const char* Message;
};

class FluidNoSound : public ::testing::TestWithParam<TNoSoundCase> {};

TEST_P(FluidNoSound, OpenThrowsENoSound)
{
    auto engine = std::make_shared<TFluidEngine>(GetParam().Config);
    TFluidPlayer player(engine);
    for (int attempt = 0; attempt < 2; ++attempt) {  // and again, cleanly
        try {
            player.OpenData(ToQt(SimpleSong()), QStringLiteral("short.mid"));
            FAIL() << "opened without sound";
        } catch (const ENoSound& e) {
            EXPECT_THAT(e.what(), StartsWith(GetParam().Message));
        }
        EXPECT_FALSE(player.IsOpen());
        EXPECT_FALSE(engine->OutputRunning());
    }
}

TFluidConfig config(TAudioOutput output, const char* soundFont, const char* driver)
{
    TFluidConfig c;
    c.Output = output;
    c.SoundFont = QString::fromLatin1(soundFont);
    c.AudioDriver = QString::fromLatin1(driver);
    return c;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FluidNoSound,
    ::testing::Values(
        TNoSoundCase{"MissingSoundFont", config(TAudioOutput::Offline, "/nonexistent/GM.sf2", ""),
                     "No SoundFont for the music was found (looked for /nonexistent/GM.sf2)."},
        TNoSoundCase{"BrokenSoundFont", config(TAudioOutput::Offline, "/bin/sh", ""),
                     "The SoundFont \"/bin/sh\" could not be loaded."},
        TNoSoundCase{"DriverThatCannotStart", config(TAudioOutput::System, "", "oss"),
                     "No audio output could be started (tried oss)."},
        TNoSoundCase{"UnknownDriver", config(TAudioOutput::System, "", "no-such-driver"),
                     "No audio output could be started (tried no-such-driver)."}),
    [](const auto& info) { return std::string(info.param.Name); });

// Whatever this machine has, the default output either plays or says there is no sound.
TEST(FluidSystemOutput, PlaysOrReportsNoSound)
{
    auto engine = std::make_shared<TFluidEngine>();
    TFluidPlayer player(engine);
    try {
        player.OpenData(ToQt(SimpleSong()), QStringLiteral("short.mid"));
        EXPECT_TRUE(engine->OutputRunning());
        player.Close();
    } catch (const ENoSound& e) {
        EXPECT_THAT(e.what(), StartsWith("No audio output could be started (tried "));
        EXPECT_FALSE(engine->OutputRunning());
    }
}

}  // namespace
