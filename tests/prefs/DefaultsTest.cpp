// The preferences: what a load makes of each stored value, what a save writes,
// and what the table sees when the file is damaged or cannot be written.
#include "Defaults.h"
#include "PrefsTestSupport.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <gmock/gmock.h>

using namespace spades;
using namespace spades::test;
using ::testing::HasSubstr;

namespace {

TMusicSettings DefaultMusic()
{
    TMusicSettings music;
    music.SetDefaults(QStringLiteral("/opt/spades/"));
    return music;
}

}  // namespace

class DefaultsTest : public PrefsTest {
protected:
    TMusicSettings Music = DefaultMusic();
};

TEST_F(DefaultsTest, EmptyStoreGivesEveryDefault)
{
    const TDefaults defaults(Music);
    const std::array<TPlayerRecord, 4> seats = {{{"North", ComputerPlayer}, {"East", ComputerPlayer},
                                                 {"South", HumanPlayer}, {"West", ComputerPlayer}}};
    for (int seat = 1; seat <= 4; ++seat)
        EXPECT_EQ(defaults.GetPlayer(seat), seats[size_t(seat - 1)]) << seat;
    EXPECT_EQ(defaults.Table(), "IDB_GREENCLOTH");
    EXPECT_EQ(defaults.CardBack(), 54);
    EXPECT_EQ(defaults.WinScore(), 250);
    EXPECT_EQ(defaults.Speed(), 1);
    EXPECT_EQ(defaults.Delay(), 1000);
    EXPECT_EQ(Music.Songs[0], "/opt/spades/Spades0.rmi");
    EXPECT_EQ(Music.Songs[5], "/opt/spades/Spades5.mid");
    EXPECT_EQ(Music.Songs[6], "");
    EXPECT_EQ(Music.Songs[7], "");
    EXPECT_TRUE(Music.MusicOn);
    EXPECT_FALSE(Config.StoreExists());  // loading writes nothing
}

TEST_F(DefaultsTest, BuiltInSetMatchesAnEmptyStoreAndReadsNothing)
{
    Config.WriteStore("not a registry file at all\n");
    const TDefaults builtIn(Music, TDefaults::TBuiltIn{});
    QFile::remove(Config.StoreFile());
    const TDefaults loaded(Music);
    for (int seat = 1; seat <= 4; ++seat)
        EXPECT_EQ(builtIn.GetPlayer(seat), loaded.GetPlayer(seat)) << seat;
    EXPECT_EQ(builtIn.Table(), loaded.Table());
    EXPECT_EQ(builtIn.CardBack(), loaded.CardBack());
    EXPECT_EQ(builtIn.WinScore(), loaded.WinScore());
    EXPECT_EQ(builtIn.Speed(), loaded.Speed());
}

// ---- Stored options --------------------------------------------------------------

struct TOptionCase {
    const char* Label;
    QByteArray Lines;
    QString Table;
    int CardBack;
    int WinScore;
    int Speed;
};

void PrintTo(const TOptionCase& c, std::ostream* os)
{
    *os << c.Label;
}

class DefaultsOptions : public PrefsTest, public ::testing::WithParamInterface<TOptionCase> {};

TEST_P(DefaultsOptions, LoadAsTheTableExpects)
{
    Config.WriteStoreKey("Options", GetParam().Lines);
    TMusicSettings music = DefaultMusic();
    const TDefaults defaults(music);
    EXPECT_EQ(defaults.Table(), GetParam().Table);
    EXPECT_EQ(defaults.CardBack(), GetParam().CardBack);
    EXPECT_EQ(defaults.WinScore(), GetParam().WinScore);
    EXPECT_EQ(defaults.Speed(), GetParam().Speed);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DefaultsOptions,
    ::testing::Values(
        TOptionCase{"TableOak", "\"Table\"=\"Oak\"\n", "IDB_OAK", 54, 250, 1},
        TOptionCase{"TableGraniteUpper", "\"Table\"=\"GRANITE\"\n", "IDB_GRANITE", 54, 250, 1},
        TOptionCase{"TableMahoganyLower", "\"Table\"=\"mahogany\"\n", "IDB_MAHOGANY", 54, 250, 1},
        TOptionCase{"TableEmpty", "\"Table\"=\"\"\n", "IDB_GREENCLOTH", 54, 250, 1},
        TOptionCase{"TableUnknownLeavesItEmpty", "\"Table\"=\"Marble\"\n", "", 54, 250, 1},
        TOptionCase{"TableWithPrefix", "\"Table\"=\"IDB_OAK\"\n", "", 54, 250, 1},
        TOptionCase{"BackZero", "\"Card Back\"=dword:00000000\n", "IDB_GREENCLOTH", 54, 250, 1},
        TOptionCase{"BackEight", "\"Card Back\"=dword:00000008\n", "IDB_GREENCLOTH", 54, 250, 1},
        TOptionCase{"BackSeven", "\"Card Back\"=dword:00000007\n", "IDB_GREENCLOTH", 60, 250, 1},
        TOptionCase{"BackThree", "\"Card Back\"=dword:00000003\n", "IDB_GREENCLOTH", 56, 250, 1},
        TOptionCase{"BackNegative", "\"Card Back\"=dword:ffffffff\n", "IDB_GREENCLOTH", 54, 250, 1},
        TOptionCase{"BackWrapsNotToSeven", "\"Card Back\"=dword:00000107\n", "IDB_GREENCLOTH", 54, 250, 1},
        TOptionCase{"WinScore300", "\"WinScore\"=dword:0000012c\n", "IDB_GREENCLOTH", 54, 300, 1},
        TOptionCase{"WinScoreNegative", "\"WinScore\"=dword:fffffffb\n", "IDB_GREENCLOTH", 54, -5, 1},
        TOptionCase{"SpeedSlow", "\"Speed\"=\"Slow\"\n", "IDB_GREENCLOTH", 54, 250, 0},
        TOptionCase{"SpeedFast", "\"Speed\"=\"Fast\"\n", "IDB_GREENCLOTH", 54, 250, 2},
        TOptionCase{"SpeedBullet", "\"Speed\"=\"Bullet\"\n", "IDB_GREENCLOTH", 54, 250, 3},
        TOptionCase{"SpeedLowerFastIsNormal", "\"Speed\"=\"fast\"\n", "IDB_GREENCLOTH", 54, 250, 1},
        TOptionCase{"SpeedLowerSlowIsNormal", "\"Speed\"=\"slow\"\n", "IDB_GREENCLOTH", 54, 250, 1},
        TOptionCase{"SpeedEmptyIsNormal", "\"Speed\"=\"\"\n", "IDB_GREENCLOTH", 54, 250, 1},
        TOptionCase{"EverythingAtOnce",
                    "\"Table\"=\"granite\"\n\"Card Back\"=dword:00000005\n\"WinScore\"=dword:000001f4\n"
                    "\"Speed\"=\"Bullet\"\n",
                    "IDB_GRANITE", 58, 500, 3}),
    [](const auto& info) { return std::string(info.param.Label); });

// ---- Stored seats ----------------------------------------------------------------

struct TSeatCase {
    const char* Label;
    QByteArray Lines;
    TPlayerRecord Expected;
};

void PrintTo(const TSeatCase& c, std::ostream* os)
{
    *os << c.Label;
}

class DefaultsSeats : public PrefsTest, public ::testing::WithParamInterface<TSeatCase> {};

TEST_P(DefaultsSeats, LoadAsTheTableExpects)
{
    Config.WriteStoreKey("Player2", GetParam().Lines);
    TMusicSettings music = DefaultMusic();
    const TDefaults defaults(music);
    EXPECT_EQ(defaults.GetPlayer(2), GetParam().Expected);
    EXPECT_EQ(defaults.GetPlayer(3), (TPlayerRecord{"South", HumanPlayer}));  // the others keep their defaults
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DefaultsSeats,
    ::testing::Values(
        TSeatCase{"TypeUpperHuman", "\"Name\"=\"Ann\"\n\"Type\"=\"HUMAN\"\n", {"Ann", HumanPlayer}},
        TSeatCase{"TypeLowerHuman", "\"Name\"=\"Ann\"\n\"Type\"=\"human\"\n", {"Ann", HumanPlayer}},
        TSeatCase{"TypeComputer", "\"Name\"=\"Ann\"\n\"Type\"=\"Computer\"\n", {"Ann", ComputerPlayer}},
        TSeatCase{"TypeMissing", "\"Name\"=\"Ann\"\n", {"Ann", ComputerPlayer}},
        TSeatCase{"TypeExpert", "\"Name\"=\"Ann\"\n\"Type\"=\"Expert\"\n", {"Ann", ExpertPlayer}},
        TSeatCase{"TypeUpperExpert", "\"Name\"=\"Ann\"\n\"Type\"=\"EXPERT\"\n", {"Ann", ExpertPlayer}},
        TSeatCase{"TypeOther", "\"Name\"=\"Ann\"\n\"Type\"=\"Person\"\n", {"Ann", ComputerPlayer}},
        TSeatCase{"EmptyNameIsEastEvenIfHuman", "\"Name\"=\"\"\n\"Type\"=\"Human\"\n", {"East", ComputerPlayer}},
        TSeatCase{"NoNameIgnoresAWrongTypedType", "\"Type\"=dword:00000000\n", {"East", ComputerPlayer}},
        TSeatCase{"UnicodeName", "\"Name\"=\"Zoë 東\"\n\"Type\"=\"Human\"\n", {QStringLiteral("Zoë 東"), HumanPlayer}}),
    [](const auto& info) { return std::string(info.param.Label); });

// ---- Saving ----------------------------------------------------------------------

TEST_F(DefaultsTest, SaveThenLoadReproducesEveryField)
{
    {
        TDefaults defaults(Music);
        defaults.SetTable("mahogany");
        defaults.SetCardBack(6);
        defaults.SetWinScore(500);
        defaults.SetSpeed(0);
        defaults.SetPlayerName(1, QStringLiteral("Zoë"));
        defaults.SetPlayerType(1, HumanPlayer);
        defaults.SetPlayerName(2, QStringLiteral("東"));
        defaults.SetPlayerName(3, "Sam");
        defaults.SetPlayerType(3, ComputerPlayer);
        defaults.SetPlayerName(4, "");  // comes back as West
        defaults.SetPlayerType(4, HumanPlayer);
        for (int slot = 0; slot < 8; ++slot)
            Music.SetSong(slot, QStringLiteral("/music/%1 \"x\" \\ é.mid").arg(slot));
        Music.SetSong(3, "");
        Music.MusicOn = false;
        defaults.Save();
    }
    TMusicSettings music = DefaultMusic();
    const TDefaults loaded(music);
    EXPECT_EQ(loaded.Table(), "IDB_MAHOGANY");
    EXPECT_EQ(loaded.CardBack(), 59);
    EXPECT_EQ(loaded.WinScore(), 500);
    EXPECT_EQ(loaded.Speed(), 0);
    EXPECT_EQ(loaded.Delay(), 1500);
    EXPECT_EQ(loaded.GetPlayer(1), (TPlayerRecord{QStringLiteral("Zoë"), HumanPlayer}));
    EXPECT_EQ(loaded.GetPlayer(2), (TPlayerRecord{QStringLiteral("東"), ComputerPlayer}));
    EXPECT_EQ(loaded.GetPlayer(3), (TPlayerRecord{"Sam", ComputerPlayer}));
    EXPECT_EQ(loaded.GetPlayer(4), (TPlayerRecord{"West", ComputerPlayer}));
    EXPECT_EQ(music.Songs, Music.Songs);
    EXPECT_EQ(music.Songs[3], "");  // an empty slot stays empty, not the default
    EXPECT_FALSE(music.MusicOn);
}

TEST_F(DefaultsTest, SaveWritesTheExactExport)
{
    TDefaults defaults(Music);
    defaults.SetTable("OAK");
    defaults.SetCardBack(3);
    defaults.SetWinScore(500);
    defaults.SetSpeed(3);
    defaults.SetPlayerName(2, QStringLiteral("Zoë"));
    defaults.SetPlayerType(2, HumanPlayer);
    defaults.SetPlayerName(4, QStringLiteral("東"));
    Music.SetSong(7, QStringLiteral("/home/zoë/My \"Best\" \\ Song.mid"));
    Music.MusicOn = false;
    defaults.Save();
    EXPECT_EQ(Config.ReadStore(), "Windows Registry Editor Version 5.00\n"
                                  "\n"
                                  "[HKEY_CURRENT_USER\\Software\\Tarnwell\\Spades]\n"
                                  "\n"
                                  "[HKEY_CURRENT_USER\\Software\\Tarnwell\\Spades\\Options]\n"
                                  "\"Table\"=\"OAK\"\n"
                                  "\"Card Back\"=dword:00000003\n"
                                  "\"WinScore\"=dword:000001f4\n"
                                  "\"Speed\"=\"Bullet\"\n"
                                  "\"Song_1\"=\"/opt/spades/Spades0.rmi\"\n"
                                  "\"Song_2\"=\"/opt/spades/Spades1.rmi\"\n"
                                  "\"Song_3\"=\"/opt/spades/Spades2.rmi\"\n"
                                  "\"Song_4\"=\"/opt/spades/Spades3.mid\"\n"
                                  "\"Song_5\"=\"/opt/spades/Spades4.mid\"\n"
                                  "\"Song_6\"=\"/opt/spades/Spades5.mid\"\n"
                                  "\"Song_7\"=\"\"\n"
                                  "\"Song_8\"=\"/home/zoë/My \\\"Best\\\" \\\\ Song.mid\"\n"
                                  "\"MusicOn\"=dword:00000000\n"
                                  "\"Mark Playable\"=dword:00000001\n"
                                  "\"Animate Cards\"=dword:00000001\n"
                                  "\"Refusals On Table\"=dword:00000000\n"
                                  "\"Sound Notice On Table\"=dword:00000000\n"
                                  "\"Sound Notice Shown\"=dword:00000000\n"
                                  "\n"
                                  "[HKEY_CURRENT_USER\\Software\\Tarnwell\\Spades\\Player1]\n"
                                  "\"Name\"=\"North\"\n"
                                  "\"Type\"=\"Computer\"\n"
                                  "\n"
                                  "[HKEY_CURRENT_USER\\Software\\Tarnwell\\Spades\\Player2]\n"
                                  "\"Name\"=\"Zoë\"\n"
                                  "\"Type\"=\"Human\"\n"
                                  "\n"
                                  "[HKEY_CURRENT_USER\\Software\\Tarnwell\\Spades\\Player3]\n"
                                  "\"Name\"=\"South\"\n"
                                  "\"Type\"=\"Human\"\n"
                                  "\n"
                                  "[HKEY_CURRENT_USER\\Software\\Tarnwell\\Spades\\Player4]\n"
                                  "\"Name\"=\"東\"\n"
                                  "\"Type\"=\"Computer\"\n"
                                  "\n");
}

TEST_F(DefaultsTest, SaveWritesNormalForAnUnknownSpeedAndNoTypeForAnUnknownSeatType)
{
    Config.WriteStoreKey("Player1", "\"Name\"=\"Ann\"\n\"Type\"=\"Human\"\n");
    TDefaults defaults(Music);
    defaults.SetSpeed(9);
    EXPECT_EQ(defaults.Delay(), 1000);
    defaults.SetPlayerType(1, 5);
    defaults.Save();
    const std::string saved = Config.ReadStore().toStdString();
    EXPECT_THAT(saved, HasSubstr("\"Speed\"=\"Normal\"\n"));
    EXPECT_THAT(saved, HasSubstr("\"Name\"=\"Ann\"\n\"Type\"=\"Human\"\n"));  // the old type stays
}

TEST_F(DefaultsTest, ExpertSeatIsSavedAsExpertAndLoadsBack)
{
    {
        TDefaults defaults(Music);
        defaults.SetPlayerType(2, ExpertPlayer);
        defaults.Save();
    }
    const std::string saved = Config.ReadStore().toStdString();
    EXPECT_THAT(saved, HasSubstr("Player2]\n\"Name\"=\"East\"\n\"Type\"=\"Expert\"\n"));
    TDefaults loaded(Music);
    EXPECT_EQ(loaded.GetPlayer(2).PlayerType, ExpertPlayer);
}

TEST_F(DefaultsTest, MusicKeepsWhatIsInMemoryWhenNothingIsStored)
{
    Config.WriteStoreKey("Options", "\"Song_2\"=\"/elsewhere/two.mid\"\n");
    Music.SetSong(0, "/edited/one.mid");
    Music.MusicOn = false;
    const TDefaults defaults(Music);
    EXPECT_EQ(Music.Songs[0], "/edited/one.mid");
    EXPECT_EQ(Music.Songs[1], "/elsewhere/two.mid");
    EXPECT_FALSE(Music.MusicOn);
}

TEST_F(DefaultsTest, LongSongPathsAreCutTo255)
{
    Config.WriteStoreKey("Options", "\"Song_1\"=\"/" + QByteArray(300, 'a') + "\"\n");
    const TDefaults defaults(Music);
    EXPECT_EQ(Music.Songs[0].size(), 255);
}

// ---- Setters ---------------------------------------------------------------------

TEST_F(DefaultsTest, SettersKeepTheirRanges)
{
    TDefaults defaults(Music);
    for (const auto& [index, value] : std::array<std::pair<int, int>, 5>{{{0, 54}, {1, 54}, {7, 60}, {8, 54}, {255, 54}}}) {
        defaults.SetCardBack(uint8_t(index));
        EXPECT_EQ(defaults.CardBack(), value) << index;
    }
    defaults.SetTable("GrAnItE");
    EXPECT_EQ(defaults.Table(), "IDB_GRANITE");
    defaults.SetTable("Felt");
    EXPECT_EQ(defaults.Table(), "IDB_GRANITE");
    defaults.SetTable("");
    EXPECT_EQ(defaults.Table(), "IDB_GREENCLOTH");
    for (const auto& [speed, delay] : std::array<std::pair<int, int>, 5>{{{0, 1500}, {1, 1000}, {2, 500}, {3, 100}, {4, 1000}}}) {
        defaults.SetSpeed(uint8_t(speed));
        EXPECT_EQ(defaults.Delay(), delay) << speed;
    }
}

TEST_F(DefaultsTest, SeatsOutsideOneToFourAreIgnored)
{
    TDefaults defaults(Music);
    defaults.SetPlayerName(0, "Nobody");
    defaults.SetPlayerName(5, "Nobody");
    defaults.SetPlayerType(0, HumanPlayer);
    defaults.SetPlayerType(5, HumanPlayer);
    EXPECT_EQ(defaults.GetPlayer(0), TPlayerRecord{});
    EXPECT_EQ(defaults.GetPlayer(5), TPlayerRecord{});
    for (int seat = 1; seat <= 4; ++seat)
        EXPECT_NE(defaults.GetPlayer(seat).Name, "Nobody");
    TPlayerRecord copy = defaults.GetPlayer(1);
    copy.Name = "Changed";
    EXPECT_EQ(defaults.GetPlayer(1).Name, "North");  // a copy, not a view
}

// ---- Failures --------------------------------------------------------------------

TEST_F(DefaultsTest, WrongTypedValuesLeaveTheConstructor)
{
    Config.WriteStoreKey("Options", "\"WinScore\"=\"300\"\n");
    EXPECT_EQ(ErrorOf([&] { TDefaults defaults(Music); }), "Invalid data type for 'WinScore'");
    Config.WriteStoreKey("Player3", "\"Name\"=dword:00000001\n");
    EXPECT_EQ(ErrorOf([&] { TDefaults defaults(Music); }), "Invalid data type for 'Name'");
    Config.WriteStoreKey("Options", "\"MusicOn\"=\"yes\"\n");
    EXPECT_EQ(ErrorOf([&] { TDefaults defaults(Music); }), "Invalid data type for 'MusicOn'");
}

// What the table does at start-up with a damaged file: keep it aside, go on with defaults.
TEST_F(DefaultsTest, DamagedFileIsKeptAsideAndAFreshOneSaved)
{
    const QByteArray damaged = "Windows Registry Editor Version 5.00\n\n"
                               "[HKEY_CURRENT_USER\\Software\\Tarnwell\\Spades\\Player1]\n"
                               "\"Name\"=\"Zoë\"\n"
                               "\"Type\"=hex:4g\n";
    Config.WriteStore(damaged);
    std::unique_ptr<TDefaults> defaults;
    try {
        defaults = std::make_unique<TDefaults>(Music);
        FAIL() << "accepted";
    } catch (const ERegFileDamaged& e) {
        EXPECT_EQ(e.Line(), 5);
        EXPECT_THAT(e.what(), HasSubstr(Config.StoreFile().toStdString() + ", line 5: bad hex byte \"4g\""));
        EXPECT_EQ(Config.ReadStore(), damaged);
        const QString kept = TRegFile(e.FilePath()).KeepDamagedCopy();
        EXPECT_EQ(TTempConfig::ReadFile(kept), damaged);
        defaults = std::make_unique<TDefaults>(Music);
    }
    ASSERT_TRUE(defaults);
    EXPECT_EQ(defaults->GetPlayer(1).Name, "North");
    defaults->Save();
    TMusicSettings music = DefaultMusic();
    EXPECT_EQ(TDefaults(music).GetPlayer(1).Name, "North");
    EXPECT_EQ(TTempConfig::ReadFile(Config.StoreFile() + ".damaged"), damaged);
}

TEST_F(DefaultsTest, FailedSavesKeepThePreviousFileByteForByte)
{
    TDefaults defaults(Music);
    defaults.Save();
    const QByteArray before = Config.ReadStore();
    defaults.SetTable("OAK");
    defaults.SetPlayerName(1, "Changed");

    std::exception_ptr fullDisk;
    {
        const TFileSizeLimit limit(64);
        fullDisk = Capture([&] { defaults.Save(); });
    }
    EXPECT_EQ(ErrorText(fullDisk), "Failed to set data for 'Table'");
    EXPECT_EQ(Config.ReadStore(), before);

    std::exception_ptr noFile;
    {
        const TOpenFileLimit limit;
        noFile = Capture([&] { defaults.Save(); });
    }
    // The accessor's own read of the file fails first.
    EXPECT_EQ(ErrorText(noFile), "Failed to set data for 'Table'");
    EXPECT_EQ(Config.ReadStore(), before);
    EXPECT_EQ(Config.FolderEntries(), QStringList{"Spades.reg"});
}

TEST_F(DefaultsTest, UncreatableFolderFailsToCreateTheOptionsKey)
{
    BlockStoreFolder(Config);
    TDefaults defaults(Music);
    EXPECT_EQ(defaults.Table(), "IDB_GREENCLOTH");
    EXPECT_EQ(ErrorOf([&] { defaults.Save(); }), "Failed to create key Options");
}

// ---- The program's folder ----------------------------------------------------------

TEST(ProgramDir, IsTheProgramsFolderWithATrailingSlash)
{
    EXPECT_EQ(ProgramDir(), QCoreApplication::applicationDirPath() + "/");
}

// Started by the test below through a symlink; writes what it sees.
TEST(ProgramDirProbe, WritesProgramDir)
{
    const QString out = qEnvironmentVariable("SPADES_PROGRAMDIR_PROBE");
    if (out.isEmpty())
        GTEST_SKIP() << "run through ProgramDir.ResolvesASymlinkedStart";
    QFile file(out);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(ProgramDir().toUtf8());
}

TEST(ProgramDir, ResolvesASymlinkedStart)
{
    const QTemporaryDir dir;
    const QString link = dir.path() + "/spades-link";
    ASSERT_TRUE(QFile::link(QCoreApplication::applicationFilePath(), link));
    QProcess probe;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("SPADES_PROGRAMDIR_PROBE", dir.path() + "/seen.txt");
    probe.setProcessEnvironment(env);
    probe.start(link, {"--gtest_filter=ProgramDirProbe.WritesProgramDir"});
    ASSERT_TRUE(probe.waitForFinished(120000));
    EXPECT_EQ(probe.exitCode(), 0) << probe.readAllStandardError().toStdString();
    EXPECT_EQ(QString::fromUtf8(TTempConfig::ReadFile(dir.path() + "/seen.txt")),
              QCoreApplication::applicationDirPath() + "/");
}
