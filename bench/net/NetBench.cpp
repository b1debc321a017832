// Figures for play over the network on loopback: how soon a card played at one
// table shows at the others, how many hands a host with three remote seats gets
// through, and what an idle host costs. Prints; never fails.
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <sstream>
#include <vector>

#include "NetClient.h"
#include "NetHost.h"

using namespace spades;
using namespace spades::net;
using Clock = std::chrono::steady_clock;

namespace {

bool WaitUntil(const std::function<bool()>& done, int ms)
{
    const QDeadlineTimer deadline(ms);
    QTimer tick;
    tick.start(20);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    return true;
}

double CpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

std::unique_ptr<TNetHost> MakeHost(TNetHostOptions options)
{
    options.Address = QHostAddress::LocalHost;
    options.Port = 0;
    options.Code = "BENCHCODE1";
    auto host = std::make_unique<TNetHost>(options);
    host->Listen();
    return host;
}

TNetClientOptions Client(const TNetHost& host, const std::string& name, int seat, bool plays)
{
    TNetClientOptions o;
    o.Port = host.Port();
    o.Code = host.Code();
    o.Name = name;
    o.WantSeat = static_cast<uint8_t>(seat);
    if (plays)
        o.Brain = ClassicBrain();
    return o;
}

// From the moment North sends its card to the moment each other table has it.
void Latency()
{
    TNetHostOptions options;
    options.Kinds = {TSeatKind::Remote, TSeatKind::Remote, TSeatKind::Computer, TSeatKind::Remote};
    options.Games = 3;
    auto host = MakeHost(options);
    bool finished = false;
    QObject::connect(host.get(), &TNetHost::Finished, [&] { finished = true; });
    host->Start();
    TNetClient north(Client(*host, "Norah", 1, false));
    TNetClient east(Client(*host, "Eddy", 2, true));
    TNetClient west(Client(*host, "Wren", 4, true));
    Clock::time_point sent;
    std::vector<double> ms;
    QObject::connect(&north, &TNetClient::Received, [&](int type) {
        if (type == static_cast<int>(TMsgType::Turn) && north.Mirror().PendingTurn()) {
            sent = Clock::now();
            north.AnswerWith(ClassicBrain());
        }
    });
    for (TNetClient* other : {&east, &west}) {
        QObject::connect(other, &TNetClient::Received, [&, other](int type) {
            if (type != static_cast<int>(TMsgType::CardPlayed))
                return;
            const TTableMirror& m = other->Mirror();
            const int place = m.Table().FirstEmptyPlace() - 1;
            if (place >= 1 && m.Table().Place(place).FSeat == North)
                ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - sent).count());
        });
    }
    north.Connect();
    east.Connect();
    west.Connect();
    WaitUntil([&] { return finished; }, 120000);
    std::sort(ms.begin(), ms.end());
    if (ms.empty()) {
        std::printf("latency: no cards measured\n");
        return;
    }
    const auto at = [&](double q) { return ms[std::min(ms.size() - 1, static_cast<size_t>(q * ms.size()))]; };
    std::printf("card shown at the other tables (one process, loopback): %zu cards, median %.3f ms, "
                "99th percentile %.3f ms, worst %.3f ms\n",
                ms.size(), at(0.5), at(0.99), ms.back());
}

// The host in a program of its own; North and East here: from North sending its
// card to East having it, through the host's process.
void LatencyAcrossProcesses()
{
    QProcess hostProgram;
    hostProgram.start(QStringLiteral(SPADES_SIM), {"--host", "0", "--code", "BENCHCODE2", "--seats",
                                                   "remote,remote,classic,classic", "--games", "3", "--seed", "9"});
    if (!hostProgram.waitForStarted(10000) || !hostProgram.waitForReadyRead(10000)) {
        std::printf("latency across processes: the host did not start\n");
        return;
    }
    const quint16 port = QString::fromUtf8(hostProgram.readLine()).trimmed().section(' ', -1).toUShort();
    TNetClientOptions o;
    o.Port = port;
    o.Code = "BENCHCODE2";
    o.Name = "Norah";
    o.WantSeat = 1;
    TNetClient north(o);
    o.Name = "Eddy";
    o.WantSeat = 2;
    o.Brain = ClassicBrain();
    TNetClient east(o);
    Clock::time_point sent;
    std::vector<double> ms;
    bool closed = false;
    QObject::connect(&north, &TNetClient::Received, [&](int type) {
        if (type == static_cast<int>(TMsgType::Turn) && north.Mirror().PendingTurn()) {
            sent = Clock::now();
            north.AnswerWith(ClassicBrain());
        }
    });
    QObject::connect(&east, &TNetClient::Received, [&](int type) {
        if (type != static_cast<int>(TMsgType::CardPlayed))
            return;
        const TTableMirror& m = east.Mirror();
        const int place = m.Table().FirstEmptyPlace() - 1;
        if (place >= 1 && m.Table().Place(place).FSeat == North)
            ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - sent).count());
    });
    QObject::connect(&east, &TNetClient::Closed, [&] { closed = true; });
    north.Connect();
    east.Connect();
    WaitUntil([&] { return closed; }, 120000);
    hostProgram.waitForFinished(10000);
    std::sort(ms.begin(), ms.end());
    if (ms.empty()) {
        std::printf("latency across processes: no cards measured\n");
        return;
    }
    const auto at = [&](double q) { return ms[std::min(ms.size() - 1, static_cast<size_t>(q * ms.size()))]; };
    std::printf("card shown at another table through a host program: %zu cards, median %.3f ms, "
                "99th percentile %.3f ms, worst %.3f ms\n",
                ms.size(), at(0.5), at(0.99), ms.back());
}

// Host and three classic remote seats in this one process.
void HandsInProcess()
{
    TNetHostOptions options;
    options.Kinds = {TSeatKind::Remote, TSeatKind::Remote, TSeatKind::Computer, TSeatKind::Remote};
    options.Games = 40;
    options.TurnTimeoutMs = 2000;
    auto host = MakeHost(options);
    bool finished = false;
    long hands = 0;
    QObject::connect(host.get(), &TNetHost::Finished, [&] { finished = true; });
    QObject::connect(host.get(), &TNetHost::Reported, [&](const QString& line) {
        hands += line.startsWith("hand ");
        if (line.startsWith("no answer"))
            std::printf("%s (after %ld hands)\n", line.toUtf8().constData(), hands);
    });
    TNetClient a(Client(*host, "A", 1, true)), b(Client(*host, "B", 2, true)), c(Client(*host, "C", 4, true));
    a.Connect();
    b.Connect();
    c.Connect();
    WaitUntil([&] { return host->Roster().Full(); }, 10000);
    const auto start = Clock::now();
    host->Start();
    WaitUntil([&] { return finished; }, 300000);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    std::printf("three remote seats, one process: %ld hands in %.2f s = %.0f hands per minute\n", hands, seconds,
                60.0 * static_cast<double>(hands) / seconds);
}

// spades-sim as host and as three players, four processes.
void HandsAcrossProcesses()
{
    QProcess host;
    host.setProgram(QStringLiteral(SPADES_SIM));
    host.setArguments({"--host", "0", "--code", "BENCHCODE1", "--seats", "remote,remote,classic,remote", "--games",
                       "40", "--seed", "5"});
    host.start();
    if (!host.waitForStarted(10000) || !host.waitForReadyRead(10000)) {
        std::printf("processes: the host did not start\n");
        return;
    }
    const QString first = QString::fromUtf8(host.readLine()).trimmed();
    const QString port = first.section(' ', -1);
    std::vector<std::unique_ptr<QProcess>> players;
    for (const char* name : {"A", "B", "C"}) {
        auto p = std::make_unique<QProcess>();
        p->start(QStringLiteral(SPADES_SIM), {"--join", "127.0.0.1:" + port, "--code", "BENCHCODE1", "--name", name,
                                              "--play", "classic"});
        players.push_back(std::move(p));
    }
    if (!host.waitForFinished(300000)) {
        host.kill();
        std::printf("processes: the host did not finish\n");
        return;
    }
    for (auto& p : players)
        p->waitForFinished(10000);
    const QString out = QString::fromUtf8(host.readAllStandardOutput());
    const QString done = out.section('\n', -2, -2);  // "host done hands H seconds S"
    const double hands = done.section(' ', 3, 3).toDouble();
    const double seconds = done.section(' ', 5, 5).toDouble();
    std::printf("three remote seats, four processes: %.0f hands in %.2f s (joining included) = %.0f hands per minute\n",
                hands, seconds, seconds > 0 ? 60.0 * hands / seconds : 0.0);
}

// A host waiting for a player who thinks, with three tables connected.
void IdleCpu()
{
    TNetHostOptions options;
    options.Kinds = {TSeatKind::Remote, TSeatKind::Remote, TSeatKind::Computer, TSeatKind::Remote};
    auto host = MakeHost(options);
    host->Start();
    TNetClient a(Client(*host, "A", 1, false)), b(Client(*host, "B", 2, false)), c(Client(*host, "C", 4, false));
    a.Connect();
    b.Connect();
    c.Connect();
    WaitUntil([&] { return host->Running() && host->Game().Waiting().has_value(); }, 10000);
    const double cpu = CpuSeconds();
    const auto start = Clock::now();
    QEventLoop idle;  // nothing of the measurement's own wakes the loop
    QTimer::singleShot(3000, &idle, &QEventLoop::quit);
    idle.exec();
    const double wall = std::chrono::duration<double>(Clock::now() - start).count();
    std::printf("idle host waiting for a turn (host and 3 tables in this process): %.3f%% of a core\n",
                100.0 * (CpuSeconds() - cpu) / wall);
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    Latency();
    LatencyAcrossProcesses();
    HandsInProcess();
    HandsAcrossProcesses();
    IdleCpu();
    return 0;
}
