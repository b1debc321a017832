#include "NetHost.h"
#include "NetHostConn.h"

#include <QSslSocket>
#include <QTcpServer>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <limits>

#include "Preamble.h"
#include "RuleText.h"
#include "SecureDeals.h"
#include "SecureLink.h"

namespace spades::net {

namespace {

THostGameOptions GameOptions(const TNetHostOptions& options)
{
    THostGameOptions game;
    if (options.Seed) {
        game.Seed = *options.Seed;
    } else {
        SecureRandomBytes(&game.Seed, sizeof game.Seed);
        game.Deals = std::make_shared<TSecureDeals>();
    }
    game.Rules = options.Rules;
    game.PauseAfterCards = options.PauseMs > 0 || options.PauseSource;
    game.TurnTimeoutMs = static_cast<uint32_t>(std::max(options.TurnTimeoutMs, 0));
    game.Kinds = options.Kinds;
    return game;
}

// The bid byte as the hand cycle reads it: Blind Nil only from a table that
// knows the byte; any other byte out of range is refused by the cycle.
int BidOf(const TBidMsg& bid, uint8_t version)
{
    return bid.Bid == BlindNilByte && version >= RulesVersion ? BlindNilBid : bid.Bid;
}

std::array<std::string, 4> SeatNames() { return {"North", "East", "South", "West"}; }

// Closes gently so a last refusal still reaches the peer, but never waits long
// for a peer that reads nothing.
void Close(QTcpSocket* socket)
{
    if (!socket)
        return;
    QObject::disconnect(socket, nullptr, nullptr, nullptr);
    QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    socket->disconnectFromHost();
    if (socket->state() == QAbstractSocket::UnconnectedState) {
        socket->deleteLater();
        return;
    }
    QPointer<QTcpSocket> guard(socket);
    QTimer::singleShot(1000, socket, [guard] {
        if (guard) {
            guard->abort();
            guard->deleteLater();
        }
    });
}

}  // namespace

std::string OlderThanRulesText(const std::string& houseRules)
{
    return "This table plays house rules (" + houseRules + "): update Quelbrin Spades to join it";
}

TNetHost::TNetHost(TNetHostOptions options, std::ostream* log, QObject* parent)
    : QObject(parent), FOptions(std::move(options)), FRoster(FOptions.Kinds, SeatNames()),
      FGame(*this, GameOptions(FOptions), log), FGuard(FOptions.Guard), FSalt(FreshSalt())
{
    if (FOptions.Code.empty())
        FOptions.Code = MakeJoinCode();
    FHouseRules = HouseRulesText(FOptions.Rules);
    FConduct = TSeatConduct(FOptions.Conduct);
    FGame.Watch(*this, EventBit(TGameEvent::GameStarted) | EventBit(TGameEvent::HandDealt) |
                           EventBit(TGameEvent::TrickFull) | EventBit(TGameEvent::HandScored));
    FGateTimer.setSingleShot(true);
    connect(&FGateTimer, &QTimer::timeout, this, &TNetHost::AnswerWaiting);
    FTurnTimer.setSingleShot(true);
    FStepTimer.setSingleShot(true);
    FStartTimer.setSingleShot(true);
    connect(&FTurnTimer, &QTimer::timeout, this, [this] {
        if (const auto& waiting = FGame.Waiting()) {
            const int seat = waiting->Seat;
            const bool away = FConduct.TimedOut(seat);
            emit Reported(away ? QStringLiteral("no answer in time from seat %1 again: the computer plays the seat "
                                                "until its player acts")
                                     .arg(seat)
                               : QStringLiteral("no answer in time from seat %1: the computer plays the turn").arg(seat));
            SendTo(seat, TNoticeMsg{away ? TSeatNotice::Away : TSeatNotice::TurnPlayed});
        }
        FGame.PlayAbsent();
        Run();
    });
    connect(&FStepTimer, &QTimer::timeout, this, &TNetHost::Run);
    connect(&FStartTimer, &QTimer::timeout, this, &TNetHost::BeginGame);
    FSeatsTimer.setSingleShot(true);
    FSeatsTold = FRoster.Message();
    connect(&FSeatsTimer, &QTimer::timeout, this, [this] {
        const TSeatsMsg now = FRoster.Message();
        if (now == FSeatsTold)
            return;  // left and back again meanwhile: nothing to tell
        FSeatsTold = now;
        FSeatsClock.start();
        Broadcast(now);
    });
    connect(&FKeyWatcher, &QFutureWatcherBase::finished, this, &TNetHost::KeyReady);
}

TNetHost::~TNetHost()
{
    FKeyWatcher.disconnect(this);
    FKeyWatcher.waitForFinished();
    // Aborting emits at once; nothing of this host may answer any more.
    for (auto& [id, conn] : FConns) {
        if (conn->Socket) {
            conn->Socket->disconnect(this);
            conn->Socket->abort();
        }
    }
}

bool TNetHost::Listen(QString* error)
{
    FServer = std::make_unique<TSecureServer>();
    // Beyond what Qt queues, the kernel's backlog holds new connections.
    FServer->setMaxPendingConnections(FOptions.MaxPending);
    connect(FServer.get(), &QTcpServer::newConnection, this, &TNetHost::Accept);
    if (!FServer->listen(FOptions.Address, FOptions.Port)) {
        if (error)
            *error = FServer->errorString();
        return false;
    }
    // Once per table: no connection can make the host do this work again.
    FKeyWatcher.setFuture(QtConcurrent::run(
        [code = FOptions.Code, salt = FSalt] { return DeriveTableKeyOnWorker(code, salt); }));
    return true;
}

quint16 TNetHost::Port() const
{
    return FServer ? FServer->serverPort() : 0;
}

void TNetHost::Start()
{
    FWaitingToStart = true;
    if (FRoster.Full())
        BeginGame();
    else if (FOptions.StartWaitMs >= 0)
        FStartTimer.start(FOptions.StartWaitMs);
}

void TNetHost::BeginGame()
{
    if (FStarted || !FWaitingToStart)
        return;
    FStarted = true;
    FStartTimer.stop();
    FGame.NewGame(++FGameNumber);
    Run();
}

void TNetHost::Run()
{
    if (FFinished)
        return;
    switch (FGame.Step()) {
    case TStep::WaitRemote:
        // A seat whose player has let its turns run out is played at once until
        // it is back: at the next turn of the event loop, so what is sent meanwhile goes out.
        if (FGame.Waiting() && FConduct.Away(FGame.Waiting()->Seat)) {
            FTurnTimer.stop();
            QTimer::singleShot(0, this, [this] {
                if (FGame.Waiting() && FConduct.Away(FGame.Waiting()->Seat))
                    FGame.PlayAbsent();
                Run();
            });
            return;
        }
        if (!FTurnTimer.isActive())
            FTurnTimer.start(FOptions.TurnTimeoutMs);
        return;
    case TStep::Pause:
        FStepTimer.start(PauseLength());
        return;
    case TStep::TrickPause:
        FStepTimer.start(2 * PauseLength());
        return;
    case TStep::HandEnded:
        FStepTimer.start(Pausing() ? PauseLength() : 0);  // back to the event loop between hands
        return;
    case TStep::GameEnded:
        if (FGameNumber < FOptions.Games) {
            FGame.NewGame(++FGameNumber);
            FStepTimer.start(0);
            return;
        }
        FFinished = true;
        std::vector<TConnId> ids;
        for (const auto& [id, conn] : FConns)
            ids.push_back(id);
        for (TConnId id : ids)
            Drop(id);  // after the last message has been written
        emit Finished();
        return;
    }
}

TNetHost::TConn* TNetHost::Find(TConnId id)
{
    const auto it = FConns.find(id);
    return it == FConns.end() ? nullptr : it->second.get();
}

void TNetHost::ReadFrom(TConnId id)
{
    std::array<char, 4096> chunk;
    for (;;) {
        TConn* conn = Find(id);
        if (!conn || !conn->Socket)
            return;
        if (!conn->Secure) {
            if (!conn->Answered)
                ReadKnock(*conn);
            return;
        }
        const qint64 n = conn->Socket->read(chunk.data(), static_cast<qint64>(chunk.size()));
        if (n <= 0)
            return;
        conn->Reader.Feed(reinterpret_cast<const uint8_t*>(chunk.data()), static_cast<size_t>(n));
        while (TConn* c = Find(id)) {
            std::optional<TDecoded> next = c->Reader.Next();
            if (!next)
                break;
            if (auto* error = std::get_if<TDecodeError>(&*next))
                Offence(id, TErrorMsg{error->Code, error->Text});
            else
                Handle(id, std::get<TMessage>(*next));
        }
    }
}

void TNetHost::Offence(TConnId id, const TErrorMsg& error)
{
    TConn* conn = Find(id);
    if (!conn)
        return;
    // Before joining there is no game to go on with: one strike.
    if (conn->Seat == 0) {
        Refuse(id, error.Code, error.Text);
        return;
    }
    Write(*conn, error);
    // An answer too late is a player's bad luck, not junk: it only shows the player is there.
    if (error.Code == TErrorCode::TooLate) {
        if (FConduct.Acted(conn->Seat))
            Write(*conn, TNoticeMsg{TSeatNotice::Back});
        return;
    }
    // Counted over the game, whatever the connection: junk costs the seat for a while.
    if (Find(id) && FConduct.Refused(conn->Seat, TJoinGuard::TClock::now()))
        Refuse(id, TErrorCode::TooManyErrors, "too many refused messages: the computer plays your seat for a while");
}

void TNetHost::Handle(TConnId id, const TMessage& message)
{
    TConn* conn = Find(id);
    if (!conn)
        return;
    if (const auto* hello = std::get_if<THello>(&message)) {
        if (conn->Seat != 0)
            Offence(id, {TErrorCode::AlreadyJoined, "already seated"});
        else
            Hello(*conn, *hello);
        return;
    }
    if (conn->Seat == 0) {
        Offence(id, {TErrorCode::NotJoined, "say hello with the join code first"});
        return;
    }
    if (std::holds_alternative<TBackMsg>(message)) {
        if (FConduct.Acted(conn->Seat))
            Write(*conn, TNoticeMsg{TSeatNotice::Back});
        return;
    }
    std::optional<TErrorMsg> error;
    if (const auto* bid = std::get_if<TBidMsg>(&message)) {
        if (bid->Seat != conn->Seat)
            error = TErrorMsg{TErrorCode::WrongSeat, "you sit at another seat"};
        else
            error = FGame.Bid(bid->Seat, bid->Turn, BidOf(*bid, conn->Version));
    } else if (const auto* play = std::get_if<TPlayMsg>(&message)) {
        if (play->Seat != conn->Seat)
            error = TErrorMsg{TErrorCode::WrongSeat, "you sit at another seat"};
        else
            error = FGame.Play(play->Seat, play->Turn, play->Card);
    } else {
        error = TErrorMsg{TErrorCode::UnknownType, "not a message for the host"};
    }
    if (error) {
        Offence(id, *error);
        return;
    }
    if (FConduct.Acted(conn->Seat))
        Write(*conn, TNoticeMsg{TSeatNotice::Back});
    FTurnTimer.stop();
    // A player's card is followed by a pause, as a person's is at the table.
    if (Pausing() && std::holds_alternative<TPlayMsg>(message))
        FStepTimer.start(PauseLength());
    else
        Run();
}

int TNetHost::PauseLength() const
{
    return std::clamp(FOptions.PauseSource ? FOptions.PauseSource() : FOptions.PauseMs, 0, 60000);
}

void TNetHost::Hello(TConn& conn, const THello& hello)
{
    const TConnId id = conn.Id;
    const auto now = TJoinGuard::TClock::now();
    if (FGuard.Locked(conn.Prefix, now)) {
        Refuse(id, TErrorCode::Throttled, "too many wrong codes from your network; try again later");
        return;
    }
    if (!SameCode(hello.Code, FOptions.Code)) {
        FGuard.WrongCode(conn.Prefix, now);
        Refuse(id, TErrorCode::WrongCode, "wrong join code");
        return;
    }
    // A seat left and taken back in a loop, or lost for junk, waits before it is given back.
    if (const int back = FRoster.SecretSeat(hello.Secret); back != 0) {
        const auto wait = FConduct.Return(back, now);
        if (wait.count() > 0) {
            const auto seconds = std::chrono::ceil<std::chrono::seconds>(wait).count();
            Refuse(id, TErrorCode::Throttled,
                   "your seat cannot be taken back yet; try again in " + std::to_string(seconds) + " seconds");
            return;
        }
    }
    // A table older than the rules knows the table's own game alone: it would
    // play and show another game than the one hosted here.
    if (hello.Version < RulesVersion && !HouseRules().empty()) {
        Refuse(id, TErrorCode::BadVersion, OlderThanRulesText(HouseRules()));
        return;
    }
    const TSeatRoster::TJoin join = FRoster.Join(hello.Name, hello.WantSeat, id, hello.Secret);
    if (join.Seat == 0) {
        Refuse(id, join.Refusal, join.Text);
        return;
    }
    FGuard.RightCode(conn.Prefix);
    if (!join.Returning)
        FConduct.Clear(join.Seat);
    conn.Seat = join.Seat;
    conn.Version = hello.Version;
    conn.HelloTimer.stop();
    if (join.Replaced != 0)
        Drop(join.Replaced);  // the seat is already this connection's: the old one only goes
    if (!Find(id))
        return;
    FGame.SetSeatName(join.Seat, FRoster.At(join.Seat).Name);
    Write(conn, TWelcome{static_cast<uint8_t>(join.Seat), static_cast<uint16_t>(FOptions.Rules.WinScore)});
    if (conn.Version >= RulesVersion)
        Write(conn, TRulesMsg{HouseRules()});
    // To this seat alone, inside its own channel.
    if (conn.Version >= SecretVersion)
        Write(conn, TSeatSecretMsg{FRoster.At(join.Seat).Secret});
    if (conn.Version >= HistoryVersion)
        Write(conn, SeatKinds());
    Write(conn, FRoster.Message());
    TellSeats();
    if (!Find(id))
        return;
    Write(conn, FGame.SyncFor(join.Seat));
    if (conn.Version >= HistoryVersion && Find(id))
        Write(conn, FGame.History());
    const auto& waiting = FGame.Waiting();
    if (waiting && waiting->Seat == join.Seat && Find(id))
        Write(conn, TTurnMsg{waiting->Turn, waiting->Kind, static_cast<uint8_t>(join.Seat),
                             static_cast<uint32_t>(FTurnTimer.remainingTime() > 0 ? FTurnTimer.remainingTime() : 0)});
    emit SeatsChanged();
    if (FWaitingToStart && !FStarted && FRoster.Full())
        QTimer::singleShot(0, this, &TNetHost::BeginGame);
}

void TNetHost::Write(TConn& conn, const TMessage& message)
{
    if (!conn.Socket)
        return;
    const std::vector<uint8_t> bytes = Encode(message);
    conn.Socket->write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
    if (conn.Socket->bytesToWrite() > FOptions.MaxUnsent) {
        // Dropped later, never inside a step of the game.
        const TConnId id = conn.Id;
        QTimer::singleShot(0, this, [this, id] { Drop(id); });
    }
}

void TNetHost::Refuse(TConnId id, TErrorCode code, const std::string& text)
{
    TConn* conn = Find(id);
    if (!conn)
        return;
    Write(*conn, TRefused{code, text});
    Drop(id);
}

void TNetHost::Drop(TConnId id)
{
    const auto it = FConns.find(id);
    if (it == FConns.end())
        return;
    std::unique_ptr<TConn> conn = std::move(it->second);
    FConns.erase(it);
    // Given the salt but never through the handshake: only a table with the key gets through.
    if (conn->Answered && !conn->Secure && !conn->Evicted)
        FGuard.WrongCode(conn->Prefix, TJoinGuard::TClock::now());
    Close(conn->Socket);
    conn->HelloTimer.stop();
    conn->FirstBytesTimer.stop();
    const int seat = conn->Seat;
    // Freed after the running signal (perhaps its own timer's) has returned.
    FDead.push_back(std::move(conn));
    if (FDead.size() == 1)
        QTimer::singleShot(0, this, [this] { FDead.clear(); });
    if (seat != 0) {
        FRoster.Leave(id);
        TellSeats();
        emit SeatsChanged();
        // The game may be inside a step; its absent turn is played after it.
        QTimer::singleShot(0, this, &TNetHost::CheckAbsent);
    }
}

bool TNetHost::RemovePlayer(int seat)
{
    if (seat < 1 || seat > 4 || FRoster.At(seat).Kind != TSeatKind::Remote || FRoster.At(seat).Player.empty())
        return false;
    const TConnId id = FRoster.Remove(seat);
    FConduct.Clear(seat);
    FGame.SetSeatName(seat, FRoster.At(seat).Name);
    FGame.GiveSeatToComputer(seat);
    emit Reported(QStringLiteral("the player of seat %1 is removed: the computer plays the seat").arg(seat));
    if (TConn* conn = Find(id)) {
        conn->Seat = 0;  // the seat is no longer its own to leave
        Refuse(id, TErrorCode::Removed, "the host has removed you from the table");
    }
    // The tables' Experts read the seat as the host's own now does.
    const TSeatKindsMsg kinds = SeatKinds();
    for (auto& [other, c] : FConns)
        if (c->Seat != 0 && c->Version >= HistoryVersion)
            Write(*c, kinds);
    TellSeats();
    emit SeatsChanged();
    QTimer::singleShot(0, this, &TNetHost::CheckAbsent);
    if (FWaitingToStart && !FStarted && FRoster.Full())
        QTimer::singleShot(0, this, &TNetHost::BeginGame);
    return true;
}

TSeatKindsMsg TNetHost::SeatKinds() const
{
    std::array<TSeatKind, 4> kinds{};
    for (int seat = 1; seat <= 4; ++seat)
        kinds[static_cast<size_t>(seat - 1)] = FRoster.At(seat).Kind;
    return SeatKindsOf(kinds);
}

void TNetHost::TellSeats()
{
    // At once after a quiet while; however fast players come and go, the table
    // hears of it a few times a second.
    if (FSeatsTimer.isActive())
        return;
    const qint64 since = FSeatsClock.isValid() ? FSeatsClock.elapsed() : std::numeric_limits<qint64>::max();
    FSeatsTimer.start(static_cast<int>(std::clamp<qint64>(FOptions.SeatsEveryMs - since, 0, FOptions.SeatsEveryMs)));
}

void TNetHost::CheckAbsent()
{
    const auto& waiting = FGame.Waiting();
    if (waiting && !FRoster.Connected(waiting->Seat)) {
        FTurnTimer.stop();
        FGame.PlayAbsent();
        Run();
    }
}

void TNetHost::SendTo(int seat, const TMessage& message)
{
    if (TConn* conn = Find(FRoster.ConnAt(seat)))
        Write(*conn, message);
}

void TNetHost::Broadcast(const TMessage& message)
{
    const std::vector<uint8_t> bytes = Encode(message);
    std::vector<TConnId> slow;
    for (auto& [id, conn] : FConns) {
        if (conn->Seat == 0 || !conn->Socket)
            continue;
        conn->Socket->write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
        if (conn->Socket->bytesToWrite() > FOptions.MaxUnsent)
            slow.push_back(id);
    }
    for (TConnId id : slow)
        QTimer::singleShot(0, this, [this, id] { Drop(id); });
}

bool TNetHost::Connected(int seat) const
{
    return FRoster.Connected(seat);
}

void TNetHost::Report(const std::string& line)
{
    emit Reported(QString::fromStdString(line));
}

}  // namespace spades::net
