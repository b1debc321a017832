// spades-sim --history FILE, run as a program: the same printed games, the
// games in the file, and a file it cannot use.
#include <QProcess>

#include "HistoryQueries.h"
#include "HistoryTestSupport.h"

using namespace spades;
using namespace spades::testing;
using ::testing::HasSubstr;

namespace {

struct TRun {
    int Exit = -1;
    QByteArray Out, Err;
};

TRun Sim(const QStringList& arguments)
{
    QProcess sim;
    sim.start(SPADES_SIM_PROGRAM, arguments);
    TRun run;
    if (!sim.waitForFinished(120000))
        return run;
    run.Exit = sim.exitCode();
    run.Out = sim.readAllStandardOutput();
    run.Err = sim.readAllStandardError();
    return run;
}

QByteArray WithoutSummary(const QByteArray& out) { return out.left(out.lastIndexOf("summary")); }

struct TCase {
    const char* Seed;
    const char* Games;
    const char* WinScore;
};

class SimCommand : public ::testing::TestWithParam<TCase> {};

TEST_P(SimCommand, PrintsTheSameGamesAndFillsTheFile)
{
    THistoryFolder folder;
    const QStringList game = {"--seed", GetParam().Seed, "--games", GetParam().Games, "--win-score", GetParam().WinScore};
    const TRun plain = Sim(game);
    const TRun recorded = Sim(game + QStringList{"--history", folder.Path()});
    ASSERT_EQ(plain.Exit, 0) << plain.Err.toStdString();
    ASSERT_EQ(recorded.Exit, 0) << recorded.Err.toStdString();
    EXPECT_EQ(WithoutSummary(recorded.Out), WithoutSummary(plain.Out));
    EXPECT_TRUE(recorded.Err.isEmpty()) << recorded.Err.toStdString();

    THistoryStore store(folder.Path());
    ASSERT_TRUE(store.Open());
    EXPECT_EQ(Scalar(store.Database(), "SELECT COUNT(*) FROM games WHERE outcome = 1").toInt(),
              QByteArray(GetParam().Games).toInt());
    EXPECT_EQ(Scalar(store.Database(), "SELECT COUNT(*) FROM hands WHERE score1 IS NOT NULL").toInt(),
              plain.Out.count("\nhand ") + (plain.Out.startsWith("hand ") ? 1 : 0));
    // The last printed scores are the last recorded ones.
    const QList<QByteArray> lines = plain.Out.split('\n');
    QByteArray last;
    for (const QByteArray& line : lines)
        if (line.startsWith("hand "))
            last = line;
    const auto series = ScoreSeries(store.Database(), QByteArray(GetParam().Games).toInt());
    ASSERT_FALSE(series.empty());
    const QList<QByteArray> words = last.split(' ');
    for (int seat = 1; seat <= 4; ++seat)
        EXPECT_EQ(series.back()[static_cast<size_t>(seat)], words[2 + seat].toInt()) << last.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Runs, SimCommand,
                         ::testing::Values(TCase{"1", "1", "250"}, TCase{"90210", "7", "500"}, TCase{"4", "20", "100"}),
                         [](const auto& info) {
                             return std::string("Seed") + info.param.Seed + "Games" + info.param.Games;
                         });

// Every game goes into the file with its rules, and its log begins with them
// unless they are the table's own.
TEST(SimCommand, RecordsAndLogsTheRulesOfEveryGame)
{
    const struct {
        QStringList Rules;
        const char* Stored;
    } cases[] = {
        {{}, ""},
        {{"--win-score", "300"}, ""},
        {{"--variant", "partnership", "--rule", "bags=ten"}, "variant=partnership bags=ten"},
        {{"--rule", "nil=50", "--rule", "spades=anytime"}, "nil=50 spades=anytime"},
    };
    for (const auto& c : cases) {
        THistoryFolder folder;
        const TRun run = Sim(QStringList{"--seed", "8", "--games", "2", "--history", folder.Path(), "--log",
                                         folder.Path("play.log")} +
                             c.Rules);
        ASSERT_EQ(run.Exit, 0) << run.Err.toStdString();
        THistoryStore store(folder.Path());
        ASSERT_TRUE(store.Open());
        EXPECT_EQ(RulesPlayed(store.Database()), (std::vector<TRulesPlayed>{{c.Stored, 2}})) << c.Stored;
        const QByteArray log = folder.Read("play.log");
        const QByteArray line = QByteArray("Rules: ") + c.Stored + "\r\n";
        EXPECT_EQ(log.count("Rules: "), *c.Stored ? 2 : 0) << c.Stored;
        EXPECT_EQ(log.startsWith(line), *c.Stored != 0) << c.Stored;
    }
}

TEST(SimCommand, AddsToAFileThatHasGamesAlready)
{
    THistoryFolder folder;
    ASSERT_EQ(Sim({"--seed", "3", "--games", "2", "--history", folder.Path()}).Exit, 0);
    ASSERT_EQ(Sim({"--seed", "5", "--games", "3", "--history", folder.Path()}).Exit, 0);
    THistoryStore store(folder.Path());
    ASSERT_TRUE(store.Open());
    EXPECT_EQ(Scalar(store.Database(), "SELECT COUNT(*) FROM games").toInt(), 5);
}

TEST(SimCommand, AFileItCannotUseIsKeptAsideAndTheRunFails)
{
    THistoryFolder folder;
    folder.Write("history.sqlite", "plain text, not a database");
    const TRun run = Sim({"--seed", "1", "--games", "1", "--history", folder.Path()});
    EXPECT_EQ(run.Exit, 1);
    EXPECT_TRUE(run.Out.isEmpty()) << "no game is played";
    EXPECT_THAT(run.Err.toStdString(), HasSubstr("kept as " + folder.Path("history.sqlite.damaged").toStdString()));
    EXPECT_EQ(folder.Read("history.sqlite.damaged"), "plain text, not a database");
}

TEST(SimCommand, AFileAnotherCopyHoldsIsLeftAlone)
{
    THistoryFolder folder;
    THistoryStore holder(folder.Path());
    ASSERT_TRUE(holder.Open());
    const TRun run = Sim({"--seed", "1", "--games", "1", "--history", folder.Path()});
    EXPECT_EQ(run.Exit, 1);
    EXPECT_THAT(run.Err.toStdString(), HasSubstr("Another copy"));
    EXPECT_EQ(folder.Files().filter("damaged").size(), 0);
}

TEST(SimCommand, AnEmptyFileNameIsRefused)
{
    const TRun run = Sim({"--history", ""});
    EXPECT_EQ(run.Exit, 2);
    EXPECT_THAT(run.Err.toStdString(), HasSubstr("--history takes a file name"));
}

}  // namespace
