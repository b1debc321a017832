// The history file itself: its schema from an empty file and from the first
// version, and every kind of file it cannot use.
#include <QLockFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QUuid>

#include "HistoryQueries.h"
#include "HistoryTestSupport.h"

using namespace spades;
using namespace spades::testing;
using ::testing::HasSubstr;

namespace {

// A plain connection beside the store, as another program would hold one.
class TRawConnection {
public:
    explicit TRawConnection(const QString& path)
        : FName("raw-" + QUuid::createUuid().toString(QUuid::WithoutBraces))
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", FName);
        db.setDatabaseName(path);
        db.setConnectOptions("QSQLITE_BUSY_TIMEOUT=10");
        EXPECT_TRUE(db.open());
    }
    ~TRawConnection()
    {
        QSqlDatabase::database(FName, false).close();
        QSqlDatabase::removeDatabase(FName);
    }
    QSqlDatabase Db() const { return QSqlDatabase::database(FName, false); }
    bool Exec(const QString& sql) const
    {
        QSqlQuery query(Db());
        return query.exec(sql);
    }

private:
    QString FName;
};

TEST(HistorySchema, ANewFileGetsTheCurrentSchemaInWriteAheadMode)
{
    THistoryFolder folder;
    THistoryStore store(folder.Path("sub/dir/history.sqlite"));
    ASSERT_TRUE(store.Open()) << store.Problem().toStdString();
    EXPECT_EQ(SchemaVersion(store.Database()), CurrentSchemaVersion);
    EXPECT_EQ(Scalar(store.Database(), "PRAGMA journal_mode").toString(), "wal");
    for (const char* table : {"games", "hands", "game_seats"})
        EXPECT_EQ(Scalar(store.Database(), QString("SELECT COUNT(*) FROM sqlite_master WHERE name = '%1'").arg(table))
                      .toInt(),
                  1)
            << table;
    EXPECT_EQ(Scalar(store.Database(), "SELECT COUNT(*) FROM sqlite_master WHERE type = 'index' AND name LIKE 'games_%'")
                  .toInt(),
              2);
}

TEST(HistorySchema, AnEmptyFileIsTakenAsANewOne)
{
    THistoryFolder folder;
    folder.Write("history.sqlite", {});
    THistoryStore store(folder.Path());
    ASSERT_TRUE(store.Open()) << store.Problem().toStdString();
    EXPECT_EQ(SchemaVersion(store.Database()), CurrentSchemaVersion);
    EXPECT_EQ(folder.Files().filter("damaged").size(), 0);
}

TEST(HistorySchema, ReopeningKeepsEveryGame)
{
    THistoryFolder folder;
    {
        THistoryStore store(folder.Path());
        ASSERT_TRUE(store.Open());
        SimulateInto(store, 77, 3);
    }
    THistoryStore again(folder.Path());
    ASSERT_TRUE(again.Open());
    EXPECT_EQ(Scalar(again.Database(), "SELECT COUNT(*) FROM games").toInt(), 3);
    EXPECT_EQ(SchemaVersion(again.Database()), CurrentSchemaVersion);
}

// Copies the games and hands of a current file into a first-version file, the
// way the first version would have written them.
void WriteFirstVersionCopy(const QString& from, const QString& to)
{
    TRawConnection raw(to);
    CreateFirstVersion(raw.Db());
    ASSERT_TRUE(raw.Exec("ATTACH DATABASE '" + from + "' AS current"));
    ASSERT_TRUE(raw.Exec("INSERT INTO games SELECT id, started, ended, win_score, name1, name2, name3, name4,"
                         " type1, type2, type3, type4, winner FROM current.games"));
    ASSERT_TRUE(raw.Exec("INSERT INTO hands SELECT game, number, first_seat, deal, bids, plays, tricks, bags,"
                         " score1, score2, score3, score4 FROM current.hands"));
    ASSERT_TRUE(raw.Exec("DETACH DATABASE current"));
}

TEST(HistorySchema, AFirstVersionFileIsMigratedWithTheSameFigures)
{
    THistoryFolder folder;
    std::vector<TSeatFigures> expected;
    std::vector<TSeatInts> expectedSeries;
    {
        THistoryStore store(folder.Path("new.sqlite"));
        ASSERT_TRUE(store.Open());
        SimulateInto(store, 4040, 6);
        // A game left after two hands, then one in play: the first was abandoned.
        SimulateInto(store, 11, 1, 250, nullptr, 2);
        ASSERT_TRUE(Scalar(store.Database(), "UPDATE games SET outcome = 0 WHERE id = 7").isNull());
        SimulateInto(store, 12, 1, 250, nullptr, 1);
        ASSERT_TRUE(Scalar(store.Database(), "UPDATE games SET outcome = 0 WHERE id = 8").isNull());
        expected = SeatFigures(store.Database());
        expectedSeries = ScoreSeries(store.Database(), 3);
    }
    WriteFirstVersionCopy(folder.Path("new.sqlite"), folder.Path("old.sqlite"));

    THistoryStore store(folder.Path("old.sqlite"));
    ASSERT_TRUE(store.Open()) << store.Problem().toStdString();
    EXPECT_EQ(SchemaVersion(store.Database()), CurrentSchemaVersion);
    EXPECT_EQ(SeatFigures(store.Database()), expected);
    EXPECT_EQ(ScoreSeries(store.Database(), 3), expectedSeries);
    EXPECT_EQ(Scalar(store.Database(), "SELECT outcome FROM games WHERE id = 7").toInt(),
              static_cast<int>(TGameOutcome::Abandoned));
    EXPECT_EQ(Scalar(store.Database(), "SELECT outcome FROM games WHERE id = 8").toInt(),
              static_cast<int>(TGameOutcome::Unfinished));
    EXPECT_EQ(Scalar(store.Database(), "SELECT COUNT(*) FROM games WHERE outcome = 1").toInt(), 6);
    ASSERT_TRUE(store.Unfinished().has_value());
    EXPECT_EQ(store.Unfinished()->Game.Id, 8);
    // Nothing was ever taken back in an old file.
    for (const TGameSummary& game : GameList(store.Database()))
        EXPECT_EQ(game.Undos, 0);
    ASSERT_TRUE(LoadHand(store.Database(), 3, 1).has_value());
    EXPECT_TRUE(LoadHand(store.Database(), 3, 1)->Undone.empty());
    // Every old game was played by the table's own rules.
    EXPECT_EQ(Scalar(store.Database(), "SELECT COUNT(*) FROM games WHERE rules = ''").toInt(), 8);
}

// A current file taken back to version 3: the games without their rules.
void MakeThirdVersion(const QString& path)
{
    TRawConnection raw(path);
    ASSERT_TRUE(raw.Exec("ALTER TABLE games DROP COLUMN rules"));
    ASSERT_TRUE(raw.Exec("PRAGMA user_version = 3"));
}

TEST(HistorySchema, AThirdVersionFileKeepsEveryRowAndGetsTheTablesOwnRules)
{
    THistoryFolder folder;
    std::vector<TSeatFigures> expected;
    std::vector<TGameSummary> expectedGames;
    {
        THistoryStore store(folder.Path());
        ASSERT_TRUE(store.Open());
        SimulateInto(store, 606, 4);
        expected = SeatFigures(store.Database());
        expectedGames = GameList(store.Database());
    }
    MakeThirdVersion(folder.Path());

    THistoryStore store(folder.Path());
    ASSERT_TRUE(store.Open()) << store.Problem().toStdString();
    EXPECT_EQ(SchemaVersion(store.Database()), CurrentSchemaVersion);
    EXPECT_EQ(SeatFigures(store.Database()), expected);
    EXPECT_EQ(SeatFigures(store.Database(), {}, QString("")), expected);
    const std::vector<TGameSummary> games = GameList(store.Database());
    ASSERT_EQ(games.size(), expectedGames.size());
    for (const TGameSummary& game : games)
        EXPECT_EQ(game.Rules, "") << game.Id;
    EXPECT_EQ(RulesPlayed(store.Database()), (std::vector<TRulesPlayed>{{"", 4}}));
}

TEST(HistorySchema, StepsTakenBackAreKeptWithTheHandAndCountedForTheGame)
{
    THistoryFolder folder;
    THistoryStore store(folder.Path());
    ASSERT_TRUE(store.Open());
    TGameRecord record;
    for (int seat = 1; seat <= 4; ++seat)
        record.Seats[static_cast<size_t>(seat)].Name = QString("Seat %1").arg(seat);
    const qint64 game = store.BeginGame(record);
    // A card and then a bid taken back.
    THandRecord hand{1, 3, {}, std::vector<int>(52), {0, 3, 3, 3, 4}, {0, 3, 3, 3, 4}, {}, {}, {17, 0}, true};
    for (int i = 0; i < 52; ++i)
        hand.Deal[static_cast<size_t>(i)] = hand.Plays[static_cast<size_t>(i)] = i + 1;
    store.WriteHand(game, hand);
    store.CountUndo(game);
    store.CountUndo(game);
    ASSERT_EQ(GameList(store.Database()).size(), 1u);
    EXPECT_EQ(GameList(store.Database()).front().Undos, 2);
    const auto loaded = LoadHand(store.Database(), game, 1);
    ASSERT_TRUE(loaded.has_value());
    EXPECT_EQ(loaded->Undone, hand.Undone);
}

TEST(HistorySchema, AFileFromANewerProgramIsLeftAlone)
{
    THistoryFolder folder;
    {
        TRawConnection raw(folder.Path());
        ASSERT_TRUE(raw.Exec("CREATE TABLE games (id INTEGER PRIMARY KEY)"));
        ASSERT_TRUE(raw.Exec("PRAGMA user_version = 99"));
    }
    const QByteArray before = folder.Read("history.sqlite");
    THistoryStore store(folder.Path());
    EXPECT_FALSE(store.Open());
    EXPECT_EQ(store.State(), THistoryState::Unusable);
    EXPECT_THAT(store.Problem().toStdString(), HasSubstr("newer version"));
    EXPECT_THAT(store.Problem().toStdString(), HasSubstr("goes on without history"));
    EXPECT_EQ(folder.Read("history.sqlite"), before);
    EXPECT_TRUE(store.KeptAs().isEmpty());
}

// ---- Files the store cannot use ------------------------------------------------------------------

struct TBadFile {
    const char* Name;
    std::function<void(const THistoryFolder&)> Make;
    const char* Reason;  // part of the message
};

void PrintTo(const TBadFile& bad, std::ostream* out) { *out << bad.Name; }

class HistoryBadFile : public ::testing::TestWithParam<TBadFile> {};

TEST_P(HistoryBadFile, IsKeptAsideUntouchedAndTheGameGoesOnWithoutHistory)
{
    if (GetParam().Name == std::string("ReadOnly") && geteuid() == 0)
        GTEST_SKIP() << "root writes read-only files";
    THistoryFolder folder;
    GetParam().Make(folder);
    const QByteArray before = folder.Read("history.sqlite");

    THistoryStore store(folder.Path());
    EXPECT_FALSE(store.Open());
    EXPECT_EQ(store.State(), THistoryState::SetAside);
    EXPECT_EQ(store.KeptAs(), folder.Path("history.sqlite.damaged"));
    EXPECT_EQ(folder.Read("history.sqlite.damaged"), before) << "the kept copy is the file as it was";
    EXPECT_FALSE(QFile::exists(folder.Path()));
    const std::string problem = store.Problem().toStdString();
    EXPECT_THAT(problem, HasSubstr(folder.Path().toStdString()));
    EXPECT_THAT(problem, HasSubstr("kept as " + folder.Path("history.sqlite.damaged").toStdString()));
    EXPECT_THAT(problem, HasSubstr(GetParam().Reason));
    EXPECT_THAT(problem, HasSubstr("The game goes on without history."));

    // The next start makes a new file and never overwrites the kept one.
    GetParam().Make(folder);
    THistoryStore second(folder.Path());
    EXPECT_FALSE(second.Open());
    EXPECT_EQ(second.KeptAs(), folder.Path("history.sqlite.damaged.2"));
    EXPECT_EQ(folder.Read("history.sqlite.damaged"), before);
    THistoryStore fresh(folder.Path());
    EXPECT_TRUE(fresh.Open()) << fresh.Problem().toStdString();
}

const TBadFile BadFiles[] = {
    {"NotADatabase",
     [](const THistoryFolder& f) { f.Write("history.sqlite", QByteArray(4096, 'x')); },
     "not a database"},
    {"TornHeader",
     [](const THistoryFolder& f) {
         f.Write("history.sqlite", QByteArray("SQLite format 3\0", 16) + QByteArray(200, '\xff'));
     },
     ""},
    {"SomeoneElsesDatabase",
     [](const THistoryFolder& f) {
         TRawConnection raw(f.Path());
         raw.Exec("CREATE TABLE recipes (name TEXT)");
     },
     "not a game history"},
    {"DamagedHands",
     [](const THistoryFolder& f) {
         TRawConnection raw(f.Path());
         CreateFirstVersion(raw.Db());
         raw.Exec("INSERT INTO games VALUES (1, 0, NULL, 250, 'a', 'b', 'c', 'd', 1, 1, 1, 1, NULL)");
         raw.Exec("INSERT INTO hands VALUES (1, 1, 3, '1 2', 'x y', '', '', '', 1, 2, 3, 4)");
     },
     "unreadable bids"},
    {"ThirdVersionWithRulesAlready",
     [](const THistoryFolder& f) {
         {
             THistoryStore store(f.Path());
             store.Open();
         }
         TRawConnection raw(f.Path());
         raw.Exec("PRAGMA journal_mode = DELETE");
         raw.Exec("PRAGMA user_version = 3");
     },
     "rules of the games cannot be added"},
    {"ReadOnly",
     [](const THistoryFolder& f) {
         {
             THistoryStore store(f.Path());
             store.Open();
         }
         QFile::setPermissions(f.Path(), QFile::ReadOwner | QFile::ReadGroup);
     },
     "cannot be written"},
};

INSTANTIATE_TEST_SUITE_P(Files, HistoryBadFile, ::testing::ValuesIn(BadFiles),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(HistoryLocks, AFileAnotherProgramKeepsLockedIsKeptAside)
{
    THistoryFolder folder;
    {
        THistoryStore store(folder.Path());
        ASSERT_TRUE(store.Open());
    }
    TRawConnection other(folder.Path());
    ASSERT_TRUE(other.Exec("BEGIN EXCLUSIVE"));
    ASSERT_TRUE(other.Exec("CREATE TABLE held (x)"));

    THistoryStore store(folder.Path());
    EXPECT_FALSE(store.Open());
    EXPECT_EQ(store.State(), THistoryState::SetAside);
    EXPECT_THAT(store.Problem().toStdString(), HasSubstr("locked"));
    other.Exec("ROLLBACK");
}

TEST(HistoryLocks, ASecondCopyGoesOnWithoutHistoryAndLeavesTheFileAlone)
{
    THistoryFolder folder;
    THistoryStore first(folder.Path());
    ASSERT_TRUE(first.Open());
    SimulateInto(first, 1, 1);

    THistoryStore second(folder.Path());
    EXPECT_FALSE(second.Open());
    EXPECT_EQ(second.State(), THistoryState::InUse);
    EXPECT_THAT(second.Problem().toStdString(), HasSubstr("Another copy of Quelbrin Spades"));
    EXPECT_THAT(second.Problem().toStdString(), HasSubstr("without history"));
    EXPECT_EQ(folder.Files().filter("damaged").size(), 0);

    // The first copy goes on writing; once it has closed, the file is free again.
    SimulateInto(first, 2, 1);
    EXPECT_EQ(Scalar(first.Database(), "SELECT COUNT(*) FROM games").toInt(), 2);
    first.Close();
    THistoryStore third(folder.Path());
    ASSERT_TRUE(third.Open());
    EXPECT_EQ(Scalar(third.Database(), "SELECT COUNT(*) FROM games").toInt(), 2);
}

TEST(HistoryLocks, TheLockOfAKilledCopyDoesNotKeepTheFile)
{
    THistoryFolder folder;
    {
        THistoryStore store(folder.Path());
        ASSERT_TRUE(store.Open());
    }
    // A lock file left by a process that is gone.
    QProcess gone;
    gone.start("true", {});
    ASSERT_TRUE(gone.waitForFinished(10000));
    const qint64 pid = gone.processId() ? gone.processId() : 999999;
    folder.Write("history.sqlite.lock",
                 QByteArray::number(pid) + "\nquelbrin-spades\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    THistoryStore store(folder.Path());
    EXPECT_TRUE(store.Open()) << store.Problem().toStdString();
}

TEST(HistoryLocks, AFolderThatCannotBeMadeLeavesNothingBehind)
{
    THistoryFolder folder;
    folder.Write("blocker", "a file where the folder should be");
    THistoryStore store(folder.Path("blocker/history.sqlite"));
    EXPECT_FALSE(store.Open());
    EXPECT_EQ(store.State(), THistoryState::Unusable);
    EXPECT_THAT(store.Problem().toStdString(), HasSubstr("cannot be made"));
    EXPECT_EQ(folder.Read("blocker"), "a file where the folder should be");
}

TEST(HistoryLocks, AFailedWriteMovesTheFileAsideOnce)
{
    THistoryFolder folder;
    THistoryStore store(folder.Path());
    ASSERT_TRUE(store.Open());
    // A hand for a game that is not in the file breaks the foreign key.
    THandRecord hand;
    hand.Number = 1;
    EXPECT_THROW(store.WriteHand(4711, hand), EHistoryError);
    store.Fail("Writing failed.");
    EXPECT_EQ(store.State(), THistoryState::SetAside);
    EXPECT_THAT(store.Problem().toStdString(), HasSubstr("Writing failed."));
    const QString firstProblem = store.Problem();
    store.Fail("again");
    EXPECT_EQ(store.Problem(), firstProblem) << "one message, however often it fails";
    EXPECT_EQ(folder.Files().filter("damaged").size(), 1);
}

}  // namespace
