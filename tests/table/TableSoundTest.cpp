// A start without sound: with the music off nothing is opened and nothing said;
// with no sound output one notice a machine, never on top of another dialog, or
// a line on the table when the player chose so.
#include <gmock/gmock.h>

#include "LblEffct.h"
#include "TableHarness.h"
#include "TableScene.h"

using namespace spades;
using namespace spades::testing;

namespace {

class TNoSoundPlayer : public TMediaPlayer {
public:
    void Open() override
    {
        ++Opens;
        throw ENoSound("No audio output could be opened.");
    }
    void Play() override {}
    void Close() override {}
    int Opens = 0;
};

struct TSoundCase {
    const char* Name;
    bool MusicOn;
    bool DamagedPreferences;  // a start-up warning the user takes a while to read
    int ShowAfter;            // ms between creating the window and showing it
    bool PreferencesAtOnce;   // the dialog is open while the first song would start
    bool ExpectSound;         // the player is asked for a song
    int ExpectNotices;
    const char* Options = "";  // more lines of the stored options
    bool ExpectLine = false;   // the notice is a line on the table
};

class TableSound : public ::testing::TestWithParam<TSoundCase> {};

TEST_P(TableSound, NoticeOnceAndNeverStacked)
{
    const TSoundCase& param = GetParam();
    TTableHarness table(AllComputer, QByteArray("\"Speed\"=\"Bullet\"\n\"MusicOn\"=dword:0000000") +
                                         (param.MusicOn ? "1" : "0") + "\n" + param.Options);
    if (param.DamagedPreferences)
        table.WriteSettings("this is no settings file\n");
    QFile song(table.ProgramFolder() + "Spades0.rmi");
    ASSERT_TRUE(song.open(QIODevice::WriteOnly));
    song.close();

    table.Prompts.OnNotice = [](const TScriptedPrompts::TNotice& notice) {
        if (notice.Text.startsWith("Your preferences could not be loaded"))
            QTest::qWait(500);
    };
    int dialogs = 0;
    table.Prompts.OnDialog = [&](QDialog&) {
        if (dialogs++ == 0)
            QTest::qWait(500);
        return int(QDialog::Rejected);
    };

    TNoSoundPlayer player;
    TTableEnvironment environment;
    environment.ProgramDir = table.ProgramFolder();
    environment.LogFallbackDir = table.Data.path();
    environment.Prompts = &table.Prompts;
    environment.MusicPlayer = &player;
    environment.PreviewPlayer = &table.Preview;
    environment.CheckScreenWidth = false;
    table.Window = std::make_unique<TfrmMain>(environment);
    QTest::qWait(param.ShowAfter);
    table.Window->show();
    if (param.PreferencesAtOnce)
        table.Window->Steps().Request(TTableRequest::Preferences);
    QTest::qWait(1000);
    // Every later preferences dialog tries the music again.
    table.Window->Steps().Request(TTableRequest::Preferences);
    QTest::qWait(300);

    const auto soundNotices = [&] {
        int count = 0;
        for (const auto& notice : table.Prompts.Notices)
            count += notice.Text.contains("without music");
        return count;
    };
    EXPECT_EQ(player.Opens > 0, param.ExpectSound);
    EXPECT_EQ(soundNotices(), param.ExpectNotices);
    EXPECT_THAT(table.Prompts.Stacked, ::testing::IsEmpty());
    EXPECT_EQ(table.Window->Scene().Notice().Caption().contains("without music"), param.ExpectLine);
    if (param.ExpectNotices > 0 || param.ExpectLine) {
        EXPECT_TRUE(table.Window->GameDefaults()->SoundNoticeShown()) << "not again on this machine";
    }
    table.Window.reset();
}

INSTANTIATE_TEST_SUITE_P(
    Starts, TableSound,
    ::testing::Values(TSoundCase{"MusicOffShownLate", false, false, 400, false, false, 0},
                      TSoundCase{"MusicOffPreferencesAtOnce", false, false, 0, true, false, 0},
                      TSoundCase{"NoOutputAfterAStartUpWarning", true, true, 0, false, true, 1},
                      TSoundCase{"NoOutputWhilePreferencesAreOpen", true, false, 0, true, true, 1},
                      TSoundCase{"NoOutputToldBefore", true, false, 0, false, true, 0,
                                 "\"Sound Notice Shown\"=dword:00000001\n"},
                      TSoundCase{"NoOutputOnTheTable", true, false, 0, false, true, 0,
                                 "\"Sound Notice On Table\"=dword:00000001\n", true}),
    [](const ::testing::TestParamInfo<TSoundCase>& info) { return std::string(info.param.Name); });

}  // namespace
