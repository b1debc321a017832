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
#include "FrameReader.h"
#include "NetMessage.h"
#include "SeatSecretFile.h"
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
    TSeatSecret Secret{};  // the seat's secret from an earlier connection, if any
    QString SeatFolder;    // keeps the seat's secret there while the game is on; empty: nowhere
    int GreetingMs = 30000;  // a host that has not welcomed the table by then is left
    int TurnGraceMs = 20000; // past the time a turn allows, a host that says nothing is left
    // The version the table says it speaks (OldestJoinVersion..NewestVersion):
    // an older one knocks and says Hello as a table of that version does, to try
    // a host as one would.
    uint8_t Version = NewestVersion;
};

// The words a table shows and prints for the host's notice about its seat.
QString NoticeText(TSeatNotice kind);

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
    // The seat is given up for good: its secret is forgotten, here and on disk.
    void LeaveSeat();
    // The secret the host gave this seat (all zero before it did).
    const TSeatSecret& Secret() const { return FSecret; }
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
    // What the host says of this seat (TSeatNotice).
    void Noticed(int kind);
    void Received(int type);
    void GameOver(int winner);
    // The connection ended; why is empty when the host closed it in order.
    void Closed(const QString& why);

private:
    void Read();
    // One message from the host; false once the table has been left.
    bool Apply(TDecoded& next);
    // Before the secure channel: the host's salt, or its refusal in clear.
    void ReadSalt();
    void KeyDerived();
    void Answer();
    void Fail(const QString& why);
    void Decided();
    void WatchSilence(const TMessage& message);

    TNetClientOptions FOptions;
    std::unique_ptr<QSslSocket> FSocket;
    std::unique_ptr<TTableMirror> FMirror;
    TFrameReader FReader{TDirection::ToClient};
    std::function<void(const char*, size_t)> FRecorder;
    QTimer FThink;
    QTimer FMore;     // what is left of a flood, read in the next turn of the event loop
    QTimer FSilence;  // runs while the host owes the table a message
    QFutureWatcher<int> FDecision;
    QFutureWatcher<std::optional<TTableKey>> FKey;
    std::vector<uint8_t> FClear;  // what the host sent before the channel
    std::unique_ptr<TSeatSecretFile> FSecretFile;
    TSeatSecret FSecret{};
    bool FGameOver = false;
    uint32_t FDecidingTurn = 0;
    bool FHandshaking = false;
    bool FSecure = false;
    bool FClosed = false;
};

}  // namespace spades::net
