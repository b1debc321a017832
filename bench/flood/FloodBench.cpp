// How long a joined table stops answering while a host floods it: a host of
// its own that welcomes the table and then sends thousands of Seats at once.
// Prints the longest stretch the event loop did not turn, and the whole time
// the flood took to be read. Never fails.
#include <QApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QSslSocket>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "JoinedTable.h"
#include "NetMessage.h"
#include "Preamble.h"
#include "SecureLink.h"
#include "TableKey.h"
#include "TableScene.h"

using namespace spades;
using namespace spades::net;

namespace {

constexpr const char* Code = "FLOODCODE1";

// Answers the knock, then the Hello with a welcome and the flood.
class TFloodingHost {
public:
    TFloodingHost(int seatsMessages) : FCount(seatsMessages), FSalt(FreshSalt())
    {
        FKey = *DeriveTableKey(Code, FSalt);
        FServer.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&FServer, &QTcpServer::newConnection, [this] {
            auto* socket = qobject_cast<QSslSocket*>(FServer.nextPendingConnection());
            if (!socket)
                return;
            QObject::connect(socket, &QSslSocket::readyRead, socket, [this, socket] { Read(*socket); });
            QObject::connect(socket, &QSslSocket::encrypted, socket, [this, socket] { FSecure = true; Read(*socket); });
        });
    }
    quint16 Port() const { return FServer.serverPort(); }

private:
    void Read(QSslSocket& socket)
    {
        if (!FAnswered) {
            if (socket.bytesAvailable() < 4)
                return;
            socket.readAll();
            FAnswered = true;
            const std::vector<uint8_t> salt = SaltFrame(FSalt);
            socket.write(reinterpret_cast<const char*>(salt.data()), static_cast<qsizetype>(salt.size()));
            ProvideTableKey(socket, FKey);
            socket.startServerEncryption();
            return;
        }
        if (!FSecure || FFlooded || socket.bytesAvailable() == 0)
            return;
        socket.readAll();  // the Hello
        FFlooded = true;
        QByteArray all;
        const auto put = [&all](const TMessage& m) {
            const std::vector<uint8_t> b = Encode(m);
            all.append(reinterpret_cast<const char*>(b.data()), static_cast<qsizetype>(b.size()));
        };
        put(TWelcome{1, 250});
        for (int i = 0; i < FCount; ++i) {
            TSeatsMsg seats;
            for (size_t s = 0; s < 4; ++s) {
                seats.States[s] = (i + static_cast<int>(s)) % 2 ? TSeatState::Remote : TSeatState::Dropped;
                seats.Names[s] = "Player " + std::to_string((i * 4 + static_cast<int>(s)) % 997);
            }
            put(seats);
        }
        socket.write(all);
    }

    int FCount;
    TSecureServer FServer;
    TTableSalt FSalt;
    TTableKey FKey{};
    bool FAnswered = false;
    bool FSecure = false;
    bool FFlooded = false;
};

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3000;
    for (int run = 1; run <= 3; ++run) {
        TFloodingHost host(count);
        TNetClientOptions options;
        options.Port = host.Port();
        options.Code = Code;
        options.Name = "Ann";
        TJoinedTable table(options);
        table.resize(TTableScene::Width, TTableScene::Height);
        table.show();
        int seats = 0;
        QElapsedTimer flood;
        QObject::connect(&table.Client(), &TNetClient::Received, [&](int type) {
            if (type == static_cast<int>(TMsgType::Seats) && seats++ == 0)
                flood.start();
        });
        // The loop's heartbeat: the longest time between two beats is the
        // longest the window could not have answered a click.
        QElapsedTimer beat;
        qint64 longest = 0;
        QTimer heart;
        heart.setInterval(1);
        QObject::connect(&heart, &QTimer::timeout, [&] {
            if (flood.isValid())
                longest = std::max(longest, beat.elapsed());
            beat.restart();
        });
        beat.start();
        heart.start();
        const QDeadlineTimer deadline(120000);
        while (seats < count && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        const qint64 read = flood.isValid() ? flood.elapsed() : -1;
        // The drawing that follows the last message counts too.
        const QDeadlineTimer after(200);
        while (!after.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 10);
        std::printf("flood of %d Seats (run %d): window unresponsive at most %lld ms, all read in %lld ms%s\n", count,
                    run, static_cast<long long>(longest), static_cast<long long>(read),
                    seats < count ? " (incomplete)" : "");
    }
    return 0;
}
