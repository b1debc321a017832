// Joins a hosted table: says hello with the join code, keeps the table's copy
// up to date from the host's messages and, given a brain, answers its turns.
#pragma once

#include <QFutureWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>
#include <string>

#include "Brains.h"
#include "NetMessage.h"
#include "TableKey.h"
#include "TableMirror.h"

class QSslSocket;

namespace spades::net {

struct TNetClientOptions {
    QString Host = QStringLiteral("127.0.0.1");
    quint16 Port = 0;
    std::string Code;
    std::string Name;
    uint8_t WantSeat = 0;
    TSeatBrain Brain;   // empty: the player answers through Send
    int ThinkMs = 0;    // pause before an automatic answer
    uint32_t Seed = 0;  // mixed into an Expert brain's stream
};

class TNetClient : public QObject {
    Q_OBJECT
public:
    explicit TNetClient(TNetClientOptions options, QObject* parent = nullptr);
    ~TNetClient() override;

    void Connect();
    void Send(const TMessage& message);
    // Bytes as they are, for tests that speak out of turn or out of shape.
    void SendBytes(const QByteArray& bytes);
    // Answers the pending turn now, chosen by brain; false when none is pending.
    bool AnswerWith(const TSeatBrain& brain);
    // An Expert's decision is running beside the event loop.
    bool Thinking() const { return FDecision.isRunning(); }
    void Disconnect();
    // Closes the connection at once, as a crash would.
    void Abort();

    const TTableMirror& Mirror() const { return *FMirror; }
    bool Connected() const;
    // Everything received, byte for byte, when asked to keep it.
    void SetRecorder(std::function<void(const char*, size_t)> recorder) { FRecorder = std::move(recorder); }

signals:
    void Joined(int seat);
    void Refused(int code, const QString& text);
    void ErrorReceived(int code, const QString& text);
    void Received(int type);
    void GameOver(int winner);
    // The connection ended; why is empty when the host closed it in order.
    void Closed(const QString& why);

private:
    void Read();
    // Before the secure channel: the host's salt, or its refusal in clear.
    void ReadSalt();
    void KeyDerived();
    void Answer();
    void Fail(const QString& why);
    void Decided();

    TNetClientOptions FOptions;
    std::unique_ptr<QSslSocket> FSocket;
    std::unique_ptr<TTableMirror> FMirror;
    TFrameReader FReader{TDirection::ToClient};
    std::function<void(const char*, size_t)> FRecorder;
    QTimer FThink;
    QFutureWatcher<int> FDecision;
    QFutureWatcher<std::optional<TTableKey>> FKey;
    std::vector<uint8_t> FClear;  // what the host sent before the channel
    uint32_t FDecidingTurn = 0;
    bool FHandshaking = false;
    bool FSecure = false;
    bool FClosed = false;
};

}  // namespace spades::net
