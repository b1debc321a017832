// Hosts a table over TCP: accepts players, checks every message they send
// against the game and their seat, and runs the one game. All I/O is driven by
// Qt's event loop; nothing here waits.
#pragma once

#include <QElapsedTimer>
#include <QFutureWatcher>
#include <QHostAddress>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "HostGame.h"
#include "JoinGuard.h"
#include "SeatConduct.h"
#include "SeatRoster.h"
#include "TableKey.h"

class QTcpServer;
class QTcpSocket;

namespace spades::net {

struct TNetHostOptions {
    QHostAddress Address = QHostAddress::Any;
    quint16 Port = 0;                      // 0: any free port
    std::string Code;                      // empty: a fresh one
    std::array<TSeatKind, 4> Kinds{TSeatKind::Remote, TSeatKind::Computer, TSeatKind::Remote, TSeatKind::Computer};
    // Deals from this seed, which anyone who knows it can replay; none: secret
    // deals from the system's secure generator.
    std::optional<uint32_t> Seed;
    TRuleSet Rules;                        // of every game, the score to win among them
    int Games = 1;
    int TurnTimeoutMs = 60000;             // then the computer plays that turn
    int PauseMs = 0;                       // after every card
    std::function<int()> PauseSource;      // when set, asked for the pause each time instead
    int StartWaitMs = -1;                  // start with open seats after this; -1: wait for all
    int HelloTimeoutMs = 10000;            // a connection must say who it is by then
    int FirstBytesMs = 3000;               // a connection that says nothing at all by then is closed
    // Connections that have not proved the code yet; when full, the oldest of
    // the network prefix holding most of them makes room.
    int MaxPending = 64;
    int MaxPendingPerPrefix = 16;          // of those, from any one network prefix
    TSeatConduct::TLimits Conduct;         // time-outs, refused messages and rejoins of a seat
    qint64 MaxUnsent = 256 * 1024;         // a player who reads nothing is dropped past this
    int SeatsEveryMs = 250;                // changes of the seats are told together, at most this often
    TJoinGuard::TLimits Guard;
};

// What a table older than the rules is told by a host playing house rules.
std::string OlderThanRulesText(const std::string& houseRules);

class TNetHost : public QObject, private THostWire, private TGameObserver {
    Q_OBJECT
public:
    TNetHost(TNetHostOptions options, std::ostream* log = nullptr, QObject* parent = nullptr);
    ~TNetHost() override;

    // False with a reason when the port cannot be opened.
    bool Listen(QString* error = nullptr);
    quint16 Port() const;
    const std::string& Code() const { return FOptions.Code; }
    // The game begins once every open seat is taken (or StartWaitMs has passed).
    void Start();

    const TSeatRoster& Roster() const { return FRoster; }
    const THostGame& Game() const { return FGame; }
    int Connections() const { return static_cast<int>(FConns.size()); }
    bool Running() const { return FStarted && !FFinished; }
    // The pause the host takes now after a card (twice that after a trick).
    int PauseLength() const;
    // Sends the seat's player away for good: its secret is void and the
    // computer plays the seat. False when no player from elsewhere holds it.
    bool RemovePlayer(int seat);
    // The computer plays the seat at once until its player acts again.
    bool Away(int seat) const { return FConduct.Away(seat); }

signals:
    void Reported(const QString& line);
    void SeatsChanged();
    void Finished();
    // The game's steps as they happen, for a record of it; Game() shows the state at each.
    void gameBegun();
    void handDealt();
    void trickFull();
    void handScored(int winnerSeat);

private:
    struct TConn;
    using TConnId = TSeatRoster::TConnId;

    // THostWire
    void SendTo(int seat, const TMessage& message) override;
    void Broadcast(const TMessage& message) override;
    bool Connected(int seat) const override;
    void Report(const std::string& line) override;
    // TGameObserver: the steps, told on as signals
    void GameStarted(const TSpadesGame&, int) override { emit gameBegun(); }
    void HandDealt(const TSpadesGame&, int) override { emit handDealt(); }
    void TrickFull(const TSpadesGame&) override { emit trickFull(); }
    void HandScored(const TSpadesGame&, const TScoreResult& result) override { emit handScored(result.WinnerSeat); }
    bool Pausing() const { return FOptions.PauseMs > 0 || FOptions.PauseSource; }

    void Accept();
    void ReadFrom(TConnId id);
    // Before the secure channel: the knock, answered with the salt or a refusal.
    void ReadKnock(TConn& conn);
    void AnswerKnock(TConn& conn);
    // Gives the salt to every connection that knocked, once the key is there
    // and the table's back-off allows.
    void AnswerWaiting();
    // A new connection from prefix is coming: the pool of unproven ones keeps room.
    void MakeRoom(const TNetPrefix& prefix);
    void KeyReady();
    void Handle(TConnId id, const TMessage& message);
    void Hello(TConn& conn, const THello& hello);
    void Offence(TConnId id, const TErrorMsg& error);
    void Write(TConn& conn, const TMessage& message);
    void Refuse(TConnId id, TErrorCode code, const std::string& text);
    void Drop(TConnId id);
    void CheckAbsent();
    // The seats have changed: everyone is told soon, once for every change since.
    void TellSeats();
    // How the host's Expert reads each seat now.
    TSeatKindsMsg SeatKinds() const;
    void BeginGame();
    void Run();
    TConn* Find(TConnId id);
    // The options of the hosted rules that differ from the table's own.
    const std::string& HouseRules() const { return FHouseRules; }

    TNetHostOptions FOptions;
    TSeatRoster FRoster;
    THostGame FGame;
    TJoinGuard FGuard;
    TSeatConduct FConduct;
    std::unique_ptr<QTcpServer> FServer;
    TTableSalt FSalt;
    std::optional<TTableKey> FKey;  // derived once, beside the event loop
    QFutureWatcher<std::optional<TTableKey>> FKeyWatcher;
    std::map<TConnId, std::unique_ptr<TConn>> FConns;
    std::vector<std::unique_ptr<TConn>> FDead;
    TConnId FNextId = 1;
    QTimer FTurnTimer;
    QTimer FStepTimer;
    QTimer FStartTimer;
    QTimer FSeatsTimer;
    QTimer FGateTimer;                      // opens for the knocks the back-off holds
    TJoinGuard::TClock::time_point FLastSalt{};
    QElapsedTimer FSeatsClock;  // since the seats were last told
    TSeatsMsg FSeatsTold;
    std::string FHouseRules;
    int FGameNumber = 0;
    bool FStarted = false;
    bool FFinished = false;
    bool FWaitingToStart = false;
};

}  // namespace spades::net
