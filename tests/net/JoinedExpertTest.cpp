// An Expert playing a seat from another program, over 127.0.0.1, and the
// referee that checks the host's log.
#include <gmock/gmock.h>

#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

#include <atomic>

#include "LogReferee.h"
#include "NetTestSupport.h"

using namespace spades;
using namespace spades::net;
using namespace spades::net::testing;

namespace {

constexpr TExpertSettings QuickExpert{24, 8, 4, 4, 0.03};
constexpr auto R = TSeatKind::Remote;
constexpr auto K = TSeatKind::Computer;

// The Expert's brain, counting the decisions it takes and where it takes them.
struct TCountedExpert {
    TSeatBrain Brain = ExpertBrain(QuickExpert);
    std::shared_ptr<std::atomic<int>> Decisions = std::make_shared<std::atomic<int>>(0);
    std::shared_ptr<std::atomic<int>> OnMainThread = std::make_shared<std::atomic<int>>(0);

    TCountedExpert()
    {
        QThread* main = QThread::currentThread();
        for (auto* choose : {&Brain.ViewBid, &Brain.ViewCard})
            *choose = [inner = *choose, decisions = Decisions, onMain = OnMainThread, main](const TExpertView& v) {
                ++*decisions;
                *onMain += QThread::currentThread() == main;
                return inner(v);
            };
    }
};

// The classic players' game on this seed and these seats is the simulator's
// (the whole-game loopback tests show it); the Expert at North plays another one,
// lawfully, taking every decision of its seat beside the event loop, and the
// same one again on the same seeds.
std::string ExpertGameLog(uint32_t clientSeed)
{
    TNetHostOptions options;
    options.Kinds = {R, K, R, K};
    options.Seed = 11;
    options.Games = 1;
    THosted hosted(options);
    EXPECT_TRUE(hosted.Ok);
    TCountedExpert expert;
    TNetClientOptions north = hosted.Client("Norah", North);
    north.Brain = expert.Brain;
    north.Seed = clientSeed;
    TJoined x(north);
    TJoined south(Playing(hosted.Client("Sally", South)));
    EXPECT_TRUE(WaitUntil([&] { return hosted.Finished && x.Closed && south.Closed; }, GameMs));

    const TRefereeResult referee = RefereeLog(hosted.Log.str(), hosted.Reports, 250);
    EXPECT_THAT(referee.Problems, ::testing::IsEmpty());
    EXPECT_EQ(referee.Games, 1);
    EXPECT_THAT(x.Errors, ::testing::IsEmpty()) << "the host refused none of its answers";
    EXPECT_EQ(x.Winners.size(), 1u);
    EXPECT_TRUE(x.Why.empty()) << x.Why;
    EXPECT_EQ(*expert.Decisions, 14 * referee.Hands) << "a bid and thirteen cards a hand, all the Expert's";
    EXPECT_EQ(*expert.OnMainThread, 0);
    return hosted.Log.str();
}

TEST(JoinedExpert, PlaysAWholeGameLawfullyAndNotAsTheClassicPlayer)
{
    const std::string log = ExpertGameLog(5);
    EXPECT_NE(AsComputers(log), SimulatedLog(11));
    EXPECT_EQ(ExpertGameLog(5), log) << "the same seeds give the same game";
}

// A host that speaks only the first version refuses a later Hello; the table
// says Hello again in the first version and joins.
TEST(JoinedExpert, RefusesToFallBackToAnOlderHostInClear)
{
    QTcpServer old;
    ASSERT_TRUE(old.listen(QHostAddress::LocalHost, 0));
    std::vector<int> versions;  // of each first frame, as it says
    QByteArray heard;
    QObject::connect(&old, &QTcpServer::newConnection, [&] {
        QTcpSocket* socket = old.nextPendingConnection();
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [&, socket] {
            const QByteArray frame = socket->readAll();
            heard += frame;
            if (frame.size() < 4)
                return;
            versions.push_back(static_cast<uint8_t>(frame[2]));
            const auto answer = Encode(TRefused{TErrorCode::BadVersion, "protocol version 3 is not spoken here"});
            socket->write(reinterpret_cast<const char*>(answer.data()), static_cast<qint64>(answer.size()));
            socket->disconnectFromHost();
        });
    });
    TNetClientOptions options;
    options.Port = old.serverPort();
    options.Code = "TESTCODE42";
    options.Name = "Ann";
    TJoined joined(options);
    ASSERT_TRUE(WaitUntil([&] { return joined.Closed; }, GameMs));
    EXPECT_EQ(joined.Refusal, static_cast<int>(TErrorCode::BadVersion));
    EXPECT_THAT(versions, ::testing::ElementsAre(NewestVersion)) << "one knock, and no Hello in clear after it";
    EXPECT_FALSE(heard.contains("TESTCODE42"));
}

// The referee itself: the log of a game checks out, and each kind of fault put
// into it is caught.
struct TFault {
    const char* Name;
    std::function<void(std::string& log, std::vector<std::string>& account)> Put;
};

// The first trick's line of the log, cut into its four plays.
std::vector<std::string> FirstTrick(const std::string& log, size_t& at, size_t& end)
{
    at = log.find("Play: ") + 6;
    end = log.find('\r', at);
    std::vector<std::string> plays;
    for (size_t p = at; p < end; p += 10)
        plays.push_back(log.substr(p, 10));
    return plays;
}

class Referee : public ::testing::TestWithParam<TFault> {};

TEST_P(Referee, CatchesAFaultPutIntoAGoodLog)
{
    struct TQuiet : THostWire {
        void SendTo(int, const TMessage&) override {}
        void Broadcast(const TMessage&) override {}
        bool Connected(int) const override { return false; }
        void Report(const std::string& line) override { Lines.push_back(line); }
        std::vector<std::string> Lines;
    } out;
    std::ostringstream log;
    THostGameOptions options;
    options.Seed = 5;
    THostGame game(out, options, &log);
    game.NewGame(1);
    while (game.Step() != TStep::GameEnded) {
    }
    std::string text = log.str();
    ASSERT_THAT(RefereeLog(text, out.Lines, 250).Problems, ::testing::IsEmpty());
    GetParam().Put(text, out.Lines);
    EXPECT_THAT(RefereeLog(text, out.Lines, 250).Problems, ::testing::Not(::testing::IsEmpty()));
}

INSTANTIATE_TEST_SUITE_P(
    Faults, Referee,
    ::testing::Values(
        TFault{"OutOfTurn",
               [](std::string& log, std::vector<std::string>&) {
                   size_t at = 0, end = 0;
                   const auto plays = FirstTrick(log, at, end);
                   log.replace(at, 20, plays[1] + plays[0]);
               }},
        TFault{"CardNotHeldOrSuitNotFollowed",
               [](std::string& log, std::vector<std::string>&) {
                   size_t at = 0, end = 0;
                   const auto plays = FirstTrick(log, at, end);
                   const size_t suit = at + 10 + plays[1].find_last_of("SHCD");
                   log[suit] = log[suit] == 'H' ? 'D' : 'H';
               }},
        TFault{"WrongScore", [](std::string&, std::vector<std::string>& account) { account[1] += "1"; }},
        TFault{"WrongBags",
               [](std::string& log, std::vector<std::string>&) {
                   const size_t row = log.find('\n', log.find("Bid   Made  Bags")) + 1;
                   const size_t last = log.find('\r', row) - 1;
                   log[last] = log[last] == '0' ? '1' : '0';
               }},
        TFault{"TrickLost",
               [](std::string& log, std::vector<std::string>&) {
                   const size_t at = log.find("Play: ");
                   log.erase(at, log.find('\n', at) + 1 - at);
               }}),
    [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
