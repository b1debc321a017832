// spades-sim as a host with no window and as players at other "machines":
// separate programs talking over 127.0.0.1.
#include <gmock/gmock.h>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <fstream>

#include "LogReferee.h"
#include "NetTestSupport.h"

using namespace spades::net::testing;

namespace {

constexpr int ProcessMs = 60000;

struct TCliCase {
    const char* Name;
    QStringList Args;
    const char* Says;
};

class ToolOptions : public ::testing::TestWithParam<TCliCase> {};

TEST_P(ToolOptions, BadOnesAreRefusedWithAReason)
{
    QProcess sim;
    sim.start(QStringLiteral(SPADES_SIM), GetParam().Args);
    ASSERT_TRUE(sim.waitForFinished(ProcessMs));
    EXPECT_EQ(sim.exitCode(), 2);
    EXPECT_THAT(sim.readAllStandardError().toStdString(), ::testing::HasSubstr(GetParam().Says));
    EXPECT_TRUE(sim.readAllStandardOutput().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Tool, ToolOptions,
    ::testing::Values(
        TCliCase{"JoinSeedNotANumber",
                 {"--join", "127.0.0.1:1", "--code", "ABCDEFGH", "--name", "a", "--play", "expert", "--seed", "x"},
                 "--seed takes"},
        TCliCase{"ThreeSeats", {"--host", "0", "--code", "ABCDEFGH", "--seats", "remote,classic,remote"}, "four seat types"},
        TCliCase{"UnknownSeat", {"--host", "0", "--code", "ABCDEFGH", "--seats", "remote,classic,remote,robot"},
                 "unknown seat type robot"},
        TCliCase{"ShortCode", {"--host", "0", "--code", "ABC", "--seats", "remote,classic,remote,expert"}, "--code takes"},
        TCliCase{"WeakCode", {"--host", "0", "--code", "ABCDEFGHJ", "--seats", "remote,classic,remote,expert"},
                 "too weak"},
        TCliCase{"RepeatedCode", {"--host", "0", "--code", "AAAAAAAAAAAA", "--seats", "remote,classic,remote,expert"},
                 "too weak"},
        TCliCase{"NoCode", {"--host", "0", "--seats", "remote,classic,remote,expert"}, "needs --code"},
        TCliCase{"PortTooBig", {"--host", "70000", "--code", "ABCDEFGH", "--seats", "remote,classic,remote,expert"},
                 "port number"},
        TCliCase{"JoinWithoutPort", {"--join", "localhost", "--code", "ABCDEFGH", "--name", "A", "--play", "classic"},
                 "HOST:PORT"},
        TCliCase{"UnknownPlay", {"--join", "127.0.0.1:9", "--code", "ABCDEFGH", "--name", "A", "--play", "genius"},
                 "--play takes classic or expert"},
        TCliCase{"NoName", {"--join", "127.0.0.1:9", "--code", "ABCDEFGH", "--play", "classic"}, "needs --code, --name"},
        TCliCase{"BadName", {"--join", "127.0.0.1:9", "--code", "ABCDEFGH", "--name", "a\tb", "--play", "classic"},
                 "a name is 1 to 32 bytes"},
        TCliCase{"SeatName", {"--join", "127.0.0.1:9", "--code", "ABCDEFGH", "--name", "S0uth", "--play", "classic"},
                 "may not look like a seat"},
        TCliCase{"InvisibleName", {"--join", "127.0.0.1:9", "--code", "ABCDEFGH", "--name", "A\u200bB", "--play", "classic"},
                 "invisible"},
        TCliCase{"BothModes", {"--host", "0", "--join", "127.0.0.1:9"}, "do not go together"}),
    [](const auto& info) { return std::string(info.param.Name); });

// A host program, its port read from its first line.
class THostProgram {
public:
    THostProgram(const QString& log, const QStringList& extra)
    {
        Process.start(QStringLiteral(SPADES_SIM), QStringList{"--host", "0", "--code", "PROCCODE77", "--log", log} + extra);
        if (Process.waitForStarted(ProcessMs) && Process.waitForReadyRead(ProcessMs)) {
            const QString line = QString::fromUtf8(Process.readLine()).trimmed();
            Port = line.section(' ', -1);
        }
    }
    ~THostProgram()
    {
        if (Process.state() != QProcess::NotRunning) {
            Process.kill();
            Process.waitForFinished(ProcessMs);
        }
    }
    std::unique_ptr<QProcess> Join(const QString& name, int seat, const QString& play = "classic")
    {
        auto p = std::make_unique<QProcess>();
        // Where a player program keeps its seat's secret: this test's own folder.
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_DATA_HOME"), Data.path());
        p->setProcessEnvironment(env);
        p->start(QStringLiteral(SPADES_SIM), {"--join", "127.0.0.1:" + Port, "--code", "PROCCODE77", "--name", name,
                                              "--seat", QString::number(seat), "--play", play});
        return p;
    }
    QProcess Process;
    QString Port;
    QTemporaryDir Data;
};

std::string ReadFile(const QString& path)
{
    std::ifstream in(path.toStdString(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(Tool, AHostAndThreePlayerProgramsPlayTheComputersGame)
{
    QTemporaryDir dir;
    const QString log = dir.filePath("host.log");
    THostProgram host(log, {"--seats", "remote,remote,classic,remote", "--seed", "61", "--games", "2"});
    ASSERT_FALSE(host.Port.isEmpty());
    std::vector<std::unique_ptr<QProcess>> players;
    players.push_back(host.Join("Norah", 1));
    players.push_back(host.Join("Eddy", 2));
    players.push_back(host.Join("Wren", 4));
    ASSERT_TRUE(host.Process.waitForFinished(ProcessMs));
    EXPECT_EQ(host.Process.exitCode(), 0);
    const QString out = QString::fromUtf8(host.Process.readAllStandardOutput());
    EXPECT_EQ(out.count(QStringLiteral("game ")), 2) << out.toStdString();
    for (auto& p : players) {
        ASSERT_TRUE(p->waitForFinished(ProcessMs));
        EXPECT_EQ(p->exitCode(), 0) << p->readAllStandardError().toStdString();
        EXPECT_EQ(QString::fromUtf8(p->readAllStandardOutput()).count("game over"), 2);
    }
    const std::string written = ReadFile(log);
    EXPECT_NE(written.find("Player 1:  Norah - Remote"), std::string::npos);
    EXPECT_NE(written.find("Player 3:  South - Computer"), std::string::npos);
    EXPECT_EQ(AsComputers(written), SimulatedLog(61, 2));
    EXPECT_FALSE(QFile::exists(log + ".tmp"));
}

// A player program told to play as the Expert does: every decision of its seat
// is the Expert's, the game is lawful and it is not the classic players' game.
TEST(Tool, AnExpertPlayerProgramPlaysItsSeatAsTheExpert)
{
    QTemporaryDir dir;
    const QString log = dir.filePath("host.log");
    THostProgram host(log, {"--seats", "remote,remote,classic,remote", "--seed", "61", "--win-score", "100"});
    ASSERT_FALSE(host.Port.isEmpty());
    auto expert = host.Join("Norah", 1, "expert");
    auto east = host.Join("Eddy", 2);
    auto west = host.Join("Wren", 4);
    ASSERT_TRUE(host.Process.waitForFinished(ProcessMs * 3));
    EXPECT_EQ(host.Process.exitCode(), 0);
    std::vector<std::string> account;
    for (const QString& line : QString::fromUtf8(host.Process.readAllStandardOutput()).split('\n'))
        account.push_back(line.toStdString());
    const TRefereeResult referee = RefereeLog(ReadFile(log), account, 100);
    EXPECT_THAT(referee.Problems, ::testing::IsEmpty());
    ASSERT_EQ(referee.Games, 1);
    ASSERT_TRUE(expert->waitForFinished(ProcessMs));
    EXPECT_EQ(expert->exitCode(), 0) << expert->readAllStandardError().toStdString();
    const QString said = QString::fromUtf8(expert->readAllStandardOutput());
    EXPECT_TRUE(said.contains(QStringLiteral("expert decisions %1 ").arg(14 * referee.Hands))) << said.toStdString();
    const auto firstHand = [](const std::string& text) { return text.substr(0, text.find(std::string(50, '-'))); };
    EXPECT_NE(firstHand(AsComputers(ReadFile(log))), firstHand(SimulatedLog(61)))
        << "the first hand is played otherwise than by the classic players";
    for (auto* p : {east.get(), west.get()})
        EXPECT_TRUE(p->waitForFinished(ProcessMs));
}

TEST(Tool, APlayerProgramKilledInTheGameComesBackToItsSeat)
{
    QTemporaryDir dir;
    const QString log = dir.filePath("host.log");
    THostProgram host(log, {"--seats", "remote,classic,remote,classic", "--seed", "62", "--pause", "15"});
    ASSERT_FALSE(host.Port.isEmpty());
    auto south = host.Join("Sally", 3);
    auto north = host.Join("Norah", 1);
    QString seen;
    const auto hostSays = [&](const QString& text) {
        return WaitUntil(
            [&] {
                seen += QString::fromUtf8(host.Process.readAllStandardOutput());
                return seen.contains(text);
            },
            ProcessMs);
    };
    ASSERT_TRUE(hostSays("seats Norah=2 East=3 Sally=2 West=3")) << seen.toStdString();
    WaitUntil([] { return false; }, 300);  // into the first hand
    north->kill();
    north->waitForFinished(ProcessMs);
    ASSERT_TRUE(hostSays("seats Norah=5")) << seen.toStdString();
    EXPECT_FALSE(seen.contains("game 1 ")) << "killed during the game";
    const QDir seats(host.Data.filePath("Tarnwell/Spades/seats"));
    const QStringList kept = seats.entryList(QDir::Files);
    ASSERT_EQ(kept.size(), 2) << "each player keeps its seat's secret while the game is on";
    EXPECT_EQ(QFile(seats.filePath(kept[0])).permissions() & ~(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser), 0);
    auto back = host.Join("Norah", 2);  // started again as the user would
    ASSERT_TRUE(back->waitForFinished(ProcessMs));
    EXPECT_EQ(back->exitCode(), 0) << back->readAllStandardError().toStdString();
    EXPECT_THAT(back->readAllStandardOutput().toStdString(), ::testing::HasSubstr("joined seat 1"));
    EXPECT_TRUE(south->waitForFinished(ProcessMs));
    EXPECT_THAT(seats.entryList(QDir::Files), ::testing::IsEmpty()) << "forgotten when the game is over";
    ASSERT_TRUE(host.Process.waitForFinished(ProcessMs));
    EXPECT_EQ(AsComputers(ReadFile(log)), SimulatedLog(62));
}

}  // namespace
