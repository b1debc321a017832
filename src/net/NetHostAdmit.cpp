// Admission at a hosted table: who is let in to prove the code, and when.
// Nothing an unproven connection does may keep a player out for long.
#include <QSslSocket>
#include <QTcpServer>

#include <chrono>

#include "NetHost.h"
#include "NetHostConn.h"
#include "Preamble.h"
#include "SecureLink.h"

namespace spades::net {

void TNetHost::KeyReady()
{
    FKey = FKeyWatcher.result();
    if (!FKey)
        emit Reported(QStringLiteral("cannot derive the table's key: out of memory"));
    AnswerWaiting();
}

void TNetHost::AnswerWaiting()
{
    const auto now = TJoinGuard::TClock::now();
    if (FKey) {
        // While the table is guessed at, salts go out in rounds spaced by the
        // back-off: a player waits a few seconds, a guesser many times longer.
        const auto at = FLastSalt + FGuard.Backoff(now);
        if (now < at) {
            if (!FGateTimer.isActive())
                FGateTimer.start(static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(at - now).count()));
            return;
        }
    } else if (!FKeyWatcher.isFinished()) {
        return;  // answered once the key is there
    }
    std::vector<TConnId> waiting;
    for (const auto& [id, conn] : FConns)
        if (conn->Knocked)
            waiting.push_back(id);
    if (!waiting.empty())
        FLastSalt = now;
    for (TConnId id : waiting) {
        if (TConn* conn = Find(id)) {
            if (FKey)
                AnswerKnock(*conn);
            else
                Refuse(id, TErrorCode::NotJoined, "the table cannot take players");
        }
    }
}

void TNetHost::ReadKnock(TConn& conn)
{
    const TConnId id = conn.Id;
    std::array<char, 2 + MaxBody> chunk;
    const qint64 room = static_cast<qint64>(chunk.size() - conn.Knock.size());
    const qint64 n = room > 0 ? conn.Socket->read(chunk.data(), room) : 0;
    if (n > 0) {
        conn.FirstBytesTimer.stop();
        conn.Knock.insert(conn.Knock.end(), chunk.data(), chunk.data() + n);
    }
    const TKnockRead read = net::ReadKnock(conn.Knock.data(), conn.Knock.size());
    using K = TKnockRead::TKind;
    switch (read.Kind) {
    case K::More:
        return;
    case K::Older:
        Refuse(id, TErrorCode::BadVersion, NeedsNewerText);
        return;
    case K::Newer:
        Refuse(id, TErrorCode::BadVersion, RunsOlderText);
        return;
    case K::Bad:
        Refuse(id, TErrorCode::Malformed, "not a knock of this version");
        return;
    case K::Knock:
        break;
    }
    // The joining table waits for the salt before it says more.
    if (read.Used != conn.Knock.size() || conn.Socket->bytesAvailable() > 0) {
        Refuse(id, TErrorCode::Malformed, "more than a knock before the salt");
        return;
    }
    if (FGuard.Locked(conn.Prefix, TJoinGuard::TClock::now())) {
        Refuse(id, TErrorCode::Throttled, "too many wrong codes from your network; try again later");
        return;
    }
    if (!conn.Knocked && !conn.Answered) {
        conn.Knocked = true;
        conn.KnockVersion = read.Version;
        AnswerWaiting();
    }
}

void TNetHost::AnswerKnock(TConn& conn)
{
    auto* socket = qobject_cast<QSslSocket*>(conn.Socket.data());
    if (!socket || !FKey) {
        Refuse(conn.Id, TErrorCode::NotJoined, "the table cannot take players");
        return;
    }
    conn.Knocked = false;
    conn.Answered = true;
    conn.HelloTimer.start(FOptions.HelloTimeoutMs);  // as long again for the key and the handshake
    const std::vector<uint8_t> salt = SaltFrame(FSalt, conn.KnockVersion);
    socket->write(reinterpret_cast<const char*>(salt.data()), static_cast<qint64>(salt.size()));
    ProvideTableKey(*socket, *FKey);
    const TConnId id = conn.Id;
    connect(socket, &QSslSocket::encrypted, this, [this, id] {
        TConn* c = Find(id);
        if (!c)
            return;
        c->Secure = true;
        // Proved the code: out of the unproven pool, in a room of its own that only the code opens.
        int proven = 0;
        for (const auto& [other, conn] : FConns)
            proven += conn->Seat == 0 && conn->Secure;
        if (proven > FOptions.MaxPending) {
            Refuse(id, TErrorCode::NotJoined, "too many connections are waiting; try again");
            return;
        }
        ReadFrom(id);
    });
    socket->startServerEncryption();
}

void TNetHost::Accept()
{
    while (QTcpSocket* socket = FServer->nextPendingConnection()) {
        if (FFinished) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        const TNetPrefix prefix = FGuard.Prefix(socket->peerAddress());
        MakeRoom(prefix);
        auto conn = std::make_unique<TConn>();
        const TConnId id = FNextId++;
        conn->Id = id;
        conn->Socket = socket;
        conn->Prefix = prefix;
        socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        conn->HelloTimer.setSingleShot(true);
        connect(&conn->HelloTimer, &QTimer::timeout, this,
                [this, id] { Refuse(id, TErrorCode::NotJoined, "no greeting in time"); });
        conn->HelloTimer.start(FOptions.HelloTimeoutMs);
        conn->FirstBytesTimer.setSingleShot(true);
        connect(&conn->FirstBytesTimer, &QTimer::timeout, this,
                [this, id] { Refuse(id, TErrorCode::NotJoined, "nothing said in time"); });
        conn->FirstBytesTimer.start(FOptions.FirstBytesMs);
        connect(socket, &QTcpSocket::readyRead, this, [this, id] { ReadFrom(id); });
        connect(socket, &QTcpSocket::disconnected, this, [this, id] { Drop(id); });
        connect(socket, &QTcpSocket::errorOccurred, this, [this, id](QAbstractSocket::SocketError error) {
            // The TLS backend still holds the connection while it reports: closed after it.
            if (error == QAbstractSocket::SslHandshakeFailedError)
                QTimer::singleShot(0, this, [this, id] { Drop(id); });
            else
                Drop(id);
        });
        FConns.emplace(id, std::move(conn));
    }
}

void TNetHost::MakeRoom(const TNetPrefix& prefix)
{
    struct THeld {
        int Count = 0;
        TConnId Oldest = 0;
    };
    std::map<TNetPrefix, THeld> held;
    int pending = 0;
    for (const auto& [id, conn] : FConns) {
        if (!conn->Unproven())
            continue;
        ++pending;
        THeld& h = held[conn->Prefix];
        if (h.Count++ == 0)
            h.Oldest = id;  // the map is in order of arrival
    }
    // Whoever floods the pool pushes out its own connections first: a player
    // arriving from elsewhere is never the one to go while another prefix holds more.
    TConnId evict = 0;
    if (const auto it = held.find(prefix); it != held.end() && it->second.Count >= FOptions.MaxPendingPerPrefix) {
        evict = it->second.Oldest;
    } else if (pending >= FOptions.MaxPending) {
        THeld most;
        for (const auto& [p, h] : held)
            if (h.Count > most.Count || (h.Count == most.Count && h.Oldest < most.Oldest))
                most = h;
        evict = most.Oldest;
    }
    if (TConn* conn = Find(evict)) {
        conn->Evicted = true;
        Refuse(evict, TErrorCode::NotJoined, "too many connections are waiting; try again");
    }
}

}  // namespace spades::net
