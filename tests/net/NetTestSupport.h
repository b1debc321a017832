// Hosts and joined tables on the loopback address, inside the test's event loop.
#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTimer>

#include <array>
#include <functional>

#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "NetClient.h"
#include "NetHost.h"
#include "Simulator.h"

namespace spades::net::testing {

// Every wait in these tests ends by itself. A sanitized build plays an Expert's
// game some twenty times slower, so it is given longer before a wait gives up.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr int GameMs = 240000;  // inside the test runner's own limit
#else
inline constexpr int GameMs = 60000;
#endif

// Runs the event loop until done() holds or ms have passed; sleeps between events.
inline bool WaitUntil(const std::function<bool()>& done, int ms)
{
    const QDeadlineTimer deadline(ms);
    QTimer tick;  // wakes the loop now and then so the deadline is seen
    tick.start(20);
    while (!done()) {
        if (deadline.hasExpired())
            return done();
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    return true;
}

// A host on 127.0.0.1 at a free port, with its play log and its report lines.
struct THosted {
    explicit THosted(TNetHostOptions options)
    {
        options.Address = QHostAddress::LocalHost;
        options.Port = 0;
        if (options.Code.empty())
            options.Code = "TESTCODE42";
        Host = std::make_unique<TNetHost>(options, &Log);
        QObject::connect(Host.get(), &TNetHost::Reported,
                         [this](const QString& line) { Reports.push_back(line.toStdString()); });
        QObject::connect(Host.get(), &TNetHost::Finished, [this] { Finished = true; });
        QString error;
        Ok = Host->Listen(&error);
        Host->Start();
    }
    TNetClientOptions Client(const std::string& name, uint8_t seat = 0) const
    {
        TNetClientOptions o;
        o.Port = Host->Port();
        o.Code = Host->Code();
        o.Name = name;
        o.WantSeat = seat;
        return o;
    }

    std::ostringstream Log;
    std::vector<std::string> Reports;
    std::unique_ptr<TNetHost> Host;
    bool Ok = false;
    bool Finished = false;
};

// A joined table that remembers what happened to it.
struct TJoined {
    explicit TJoined(TNetClientOptions options) : Client(std::make_unique<TNetClient>(std::move(options)))
    {
        QObject::connect(Client.get(), &TNetClient::Joined, [this](int seat) { Seat = seat; });
        QObject::connect(Client.get(), &TNetClient::Refused, [this](int code, const QString& text) {
            Refusal = code;
            RefusalText = text.toStdString();
        });
        QObject::connect(Client.get(), &TNetClient::ErrorReceived, [this](int code, const QString&) {
            Errors.push_back(code);
        });
        QObject::connect(Client.get(), &TNetClient::GameOver, [this](int winner) { Winners.push_back(winner); });
        QObject::connect(Client.get(), &TNetClient::Closed, [this](const QString& why) {
            Closed = true;
            Why = why.toStdString();
        });
        Client->Connect();
    }
    std::unique_ptr<TNetClient> Client;
    int Seat = 0;
    int Refusal = 0;
    std::string RefusalText;
    std::vector<int> Errors;
    std::vector<int> Winners;
    bool Closed = false;
    std::string Why;
};

inline TNetClientOptions Playing(TNetClientOptions o)
{
    o.Brain = ClassicBrain();
    return o;
}

inline std::string Replace(std::string text, const std::string& from, const std::string& to)
{
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// A host refuses a seat's name, so players go by these, as long as the seats'
// own names, and a log read as the computer's game reads them back as those.
inline const std::array<std::string, 5> PlayerAt = {"", "Norah", "Eddy", "Sally", "Wren"};
inline std::string AsComputers(std::string log)
{
    log = Replace(log, " - Remote", " - Computer");
    const std::array<std::string, 5> seats = {"", "North", "East", "South", "West"};
    for (size_t seat = 1; seat <= 4; ++seat)
        log = Replace(log, PlayerAt[seat], seats[seat]);
    return log;
}

// The log of the same game played by four computer seats.
inline std::string SimulatedLog(uint32_t seed, int games = 1)
{
    std::ostringstream out, log;
    TSimulator sim(seed, 250, out, &log);
    for (int g = 1; g <= games; ++g)
        sim.PlayGame(g);
    return log.str();
}

inline std::vector<uint8_t> Bytes(const TMessage& m) { return Encode(m); }
inline QByteArray Raw(const std::vector<uint8_t>& b)
{
    return QByteArray(reinterpret_cast<const char*>(b.data()), static_cast<qsizetype>(b.size()));
}

}  // namespace spades::net::testing
