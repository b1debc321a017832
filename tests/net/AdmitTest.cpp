// Junk connections from many addresses cannot keep a player from the table:
// idle ones and guessing ones fill the pool, and a player still joins soon.
#include <gmock/gmock.h>

#include <QTcpSocket>

#include <chrono>
#include <iostream>

#include "NetTestSupport.h"
#include "Preamble.h"

using namespace spades;
using namespace spades::net;
using namespace spades::net::testing;

namespace {

// One connection after another from one address, each idle or, given the
// table's salt, gone without a handshake (a wrong code to the host).
class TJunk : public QObject {
public:
    TJunk(QHostAddress from, quint16 port, bool guesses) : FFrom(from), FPort(port), FGuesses(guesses) { Start(); }
    void Stop() { FRunning = false; }
    int Closed = 0;

private:
    void Start()
    {
        if (!FRunning)
            return;
        auto* socket = new QTcpSocket(this);
        socket->bind(FFrom, 0);
        connect(socket, &QTcpSocket::connected, socket, [this, socket] {
            if (FGuesses)
                socket->write(Raw(KnockFrame()));
        });
        connect(socket, &QTcpSocket::readyRead, socket, [socket] {
            socket->readAll();
            socket->disconnectFromHost();
        });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] { Again(socket); });
        connect(socket, &QTcpSocket::errorOccurred, this, [this, socket] {
            if (socket->state() == QAbstractSocket::UnconnectedState)
                Again(socket);
        });
        socket->connectToHost(QHostAddress::LocalHost, FPort);
    }
    void Again(QTcpSocket* socket)
    {
        socket->disconnect(this);
        socket->deleteLater();
        ++Closed;
        QTimer::singleShot(50, this, [this] { Start(); });
    }
    QHostAddress FFrom;
    quint16 FPort;
    bool FGuesses;
    bool FRunning = true;
};

TEST(Admission, JunkFromManyAddressesFillingThePoolLeavesAPlayerRoomToJoin)
{
    TNetHostOptions options;
    options.Kinds = {TSeatKind::Remote, TSeatKind::Computer, TSeatKind::Computer, TSeatKind::Computer};
    options.Seed = 71;
    options.MaxPending = 24;
    options.MaxPendingPerPrefix = 4;
    options.Guard.V4Bits = 32;     // every loopback address a network of its own
    options.Guard.TableLimit = 10;  // the table-wide back-off is reached
    THosted hosted(options);
    std::vector<std::unique_ptr<TJunk>> junk;
    for (int a = 2; a <= 9; ++a)
        for (int i = 0; i < 6; ++i)
            junk.push_back(std::make_unique<TJunk>(QHostAddress(0x7F000000u + static_cast<quint32>(a)),
                                                   hosted.Host->Port(), i % 2 == 1));
    ASSERT_TRUE(WaitUntil([&] { return hosted.Host->Connections() >= options.MaxPending; }, GameMs));
    WaitUntil([] { return false; }, 1500);  // guesses made, prefixes locked, the back-off grown
    const int evictedBefore = [&] {
        int n = 0;
        for (const auto& j : junk)
            n += j->Closed;
        return n;
    }();
    EXPECT_GT(evictedBefore, 0);

    const auto begun = std::chrono::steady_clock::now();
    TJoined player(Playing(hosted.Client("Norah", 1)));
    ASSERT_TRUE(WaitUntil([&] { return player.Seat != 0 || player.Closed; }, GameMs));
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - begun).count();
    std::cout << "a player joined in " << ms << " ms while junk filled the pool" << std::endl;
    EXPECT_EQ(player.Seat, 1) << player.Why;
    EXPECT_LT(ms, 8000) << "within the longest back-off and a handshake";
    for (auto& j : junk)
        j->Stop();
    ASSERT_TRUE(WaitUntil([&] { return hosted.Finished && player.Closed; }, GameMs));
    EXPECT_EQ(player.Winners.size(), 1u);
}

TEST(Admission, AConnectionThatSaysNothingIsClosedLongBeforeItsGreetingIsDue)
{
    TNetHostOptions options;
    options.FirstBytesMs = 200;
    options.HelloTimeoutMs = 60000;
    THosted hosted(options);
    QTcpSocket idle;
    bool closed = false;
    QObject::connect(&idle, &QTcpSocket::disconnected, [&] { closed = true; });
    idle.connectToHost(QHostAddress::LocalHost, hosted.Host->Port());
    EXPECT_TRUE(WaitUntil([&] { return closed; }, 5000));
}

}  // namespace
