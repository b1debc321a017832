#include "NetClient.h"

#include <QSslSocket>
#include <QtConcurrent/QtConcurrentRun>

#include <array>

#include "PlayerNames.h"
#include "Preamble.h"
#include "SecureLink.h"

namespace spades::net {

TNetClient::TNetClient(TNetClientOptions options, QObject* parent)
    : QObject(parent), FOptions(std::move(options)), FMirror(std::make_unique<TTableMirror>()),
      FSecret(FOptions.Secret)
{
    FThink.setSingleShot(true);
    connect(&FThink, &QTimer::timeout, this, &TNetClient::Answer);
    FMore.setSingleShot(true);
    connect(&FMore, &QTimer::timeout, this, &TNetClient::Read);
    FSilence.setSingleShot(true);
    connect(&FSilence, &QTimer::timeout, this, [this] {
        Fail(QStringLiteral("the host has said nothing for %1 seconds: the table is left")
                 .arg((FSilence.interval() + 999) / 1000));
    });
    connect(&FDecision, &QFutureWatcherBase::finished, this, &TNetClient::Decided);
    connect(&FKey, &QFutureWatcherBase::finished, this, &TNetClient::KeyDerived);
    FMirror->SetStreamSeed(FOptions.Seed);
}

TNetClient::~TNetClient()
{
    FDecision.disconnect(this);
    FDecision.waitForFinished();
    FKey.disconnect(this);
    FKey.waitForFinished();
    if (FSocket) {
        FSocket->disconnect(this);
        FSocket->abort();
    }
}

void TNetClient::Connect()
{
    FSocket = std::make_unique<QSslSocket>();
    FSocket->setSslConfiguration(SecureChannelConfig());
    FSocket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    connect(FSocket.get(), &QSslSocket::connected, this, [this] {
        const std::vector<uint8_t> knock = KnockFrame(FOptions.Version);
        FSocket->write(reinterpret_cast<const char*>(knock.data()), static_cast<qint64>(knock.size()));
    });
    connect(FSocket.get(), &QSslSocket::encrypted, this, [this] {
        FSecure = true;
        THello hello{FOptions.Code, FOptions.Name, FOptions.WantSeat, FOptions.Version, FSecret};
        if (hello.Secret == TSeatSecret{} && FSecretFile)
            hello.Secret = FSecretFile->Load().value_or(TSeatSecret{});
        Send(hello);
    });
    connect(FSocket.get(), &QSslSocket::readyRead, this, [this] { FSecure ? Read() : ReadSalt(); });
    connect(FSocket.get(), &QSslSocket::disconnected, this, [this] { Fail({}); });
    connect(FSocket.get(), &QSslSocket::errorOccurred, this, [this](QAbstractSocket::SocketError error) {
        if (error == QAbstractSocket::SslHandshakeFailedError) {
            // Closed once the TLS backend has returned.
            QTimer::singleShot(0, this, [this] { Fail({}); });
            return;
        }
        Fail(error == QAbstractSocket::RemoteHostClosedError ? QString() : FSocket->errorString());
    });
    FSocket->connectToHost(FOptions.Host, FOptions.Port);
    if (FOptions.GreetingMs > 0)
        FSilence.start(FOptions.GreetingMs);
}

void TNetClient::WatchSilence(const TMessage& message)
{
    // A host waiting for players to join or to start says nothing for as long
    // as it likes; one that has given a turn a time owes a message after it.
    if (const auto* turn = std::get_if<TTurnMsg>(&message); turn && turn->TimeoutMs > 0 && FOptions.TurnGraceMs > 0)
        FSilence.start(static_cast<int>(std::min<uint32_t>(turn->TimeoutMs, 3600000)) + FOptions.TurnGraceMs);
    else if (std::holds_alternative<TWelcome>(message) || std::holds_alternative<TCardPlayedMsg>(message) ||
             std::holds_alternative<TBidMadeMsg>(message) || std::holds_alternative<TGameOverMsg>(message))
        FSilence.stop();
}

bool TNetClient::Connected() const
{
    return FSocket && !FClosed && FSocket->state() == QAbstractSocket::ConnectedState;
}

void TNetClient::Send(const TMessage& message)
{
    const std::vector<uint8_t> bytes = Encode(message);
    SendBytes(QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())));
}

void TNetClient::SendBytes(const QByteArray& bytes)
{
    if (FSocket && !FClosed)
        FSocket->write(bytes);
}

void TNetClient::Disconnect()
{
    if (FSocket && !FClosed)
        FSocket->disconnectFromHost();
}

void TNetClient::LeaveSeat()
{
    if (FSecretFile)
        FSecretFile->Remove();
    FSecret = {};
    Disconnect();
}

void TNetClient::Abort()
{
    if (FSocket && !FClosed) {
        FSocket->disconnect(this);
        FSocket->abort();
        FClosed = true;
        FThink.stop();
    }
}

void TNetClient::Fail(const QString& why)
{
    if (FClosed)
        return;
    // What arrived before the end is read first: the last messages matter.
    if (FSocket && FSocket->bytesAvailable() > 0)
        FSecure ? Read() : ReadSalt();
    if (FClosed)
        return;
    if (FHandshaking && !FSecure) {
        // A host that ends the handshake holds another key: the code is not this table's.
        FHandshaking = false;
        emit Refused(static_cast<int>(TErrorCode::WrongCode), QStringLiteral("wrong join code"));
    }
    FClosed = true;
    FThink.stop();
    FSilence.stop();
    if (FSocket && FSocket->state() != QAbstractSocket::UnconnectedState)
        FSocket->abort();
    // The host closes in order once the games are over: the seat is no more.
    if (why.isEmpty() && FGameOver && FSecretFile)
        FSecretFile->Remove();
    emit Closed(why);
}

QString NoticeText(TSeatNotice kind)
{
    switch (kind) {
    case TSeatNotice::TurnPlayed:
        return QStringLiteral("The time ran out: the computer played your turn.");
    case TSeatNotice::Away:
        return QStringLiteral("The computer plays your seat until you play again.");
    case TSeatNotice::Back:
        return QStringLiteral("Your seat is yours again.");
    }
    return {};
}

void TNetClient::Read()
{
    // A slice of messages at a time: however much the host sends at once, the
    // event loop turns between slices and the table never stops answering.
    constexpr int SliceMessages = 64;
    std::array<char, 4096> chunk;
    int applied = 0;
    while (FSocket && !FClosed) {
        while (!FClosed) {
            if (applied == SliceMessages) {
                FMore.start();
                return;
            }
            std::optional<TDecoded> next = FReader.Next();
            if (!next)
                break;
            ++applied;
            if (!Apply(*next))
                return;
        }
        if (FClosed || !FSocket)
            return;
        const qint64 n = FSocket->read(chunk.data(), static_cast<qint64>(chunk.size()));
        if (n <= 0)
            break;
        if (FRecorder)
            FRecorder(chunk.data(), static_cast<size_t>(n));
        FReader.Feed(reinterpret_cast<const uint8_t*>(chunk.data()), static_cast<size_t>(n));
    }
}

bool TNetClient::Apply(TDecoded& next)
{
    if (const auto* error = std::get_if<TDecodeError>(&next)) {
        Fail(QStringLiteral("the host sent a bad message: ") + ShownText(error->Text));
        return false;
    }
    TMessage& message = std::get<TMessage>(next);
    // Names are shown as they are: nothing in them may steer a terminal or the text's direction.
    if (auto* seats = std::get_if<TSeatsMsg>(&message))
        for (std::string& name : seats->Names)
            name = ShownText(name).toStdString();
    if (auto* over = std::get_if<TGameOverMsg>(&message))
        over->Name = ShownText(over->Name).toStdString();
    std::string why;
    if (!FMirror->Apply(message, why)) {
        Fail(QStringLiteral("the host contradicted itself: ") + QString::fromStdString(why));
        return false;
    }
    WatchSilence(message);
    emit Received(static_cast<int>(TypeOf(message)));
    if (const auto* welcome = std::get_if<TWelcome>(&message))
        emit Joined(welcome->Seat);
    else if (const auto* refused = std::get_if<TRefused>(&message))
        emit Refused(static_cast<int>(refused->Code), ShownText(refused->Text));
    else if (const auto* error = std::get_if<TErrorMsg>(&message))
        emit ErrorReceived(static_cast<int>(error->Code), ShownText(error->Text));
    else if (const auto* notice = std::get_if<TNoticeMsg>(&message))
        emit Noticed(static_cast<int>(notice->Kind));
    else if (const auto* secret = std::get_if<TSeatSecretMsg>(&message)) {
        FSecret = secret->Secret;
        if (FSecretFile)
            FSecretFile->Save(FSecret);
    } else if (const auto* over = std::get_if<TGameOverMsg>(&message)) {
        FGameOver = true;
        emit GameOver(over->Winner);
    }
    else if (std::holds_alternative<TTurnMsg>(message) && FMirror->PendingTurn() && FOptions.Brain.Bid)
        FThink.start(FOptions.ThinkMs);
    return !FClosed;
}

void TNetClient::ReadSalt()
{
    std::array<char, 2 + MaxBody> chunk;
    const qint64 room = static_cast<qint64>(chunk.size() - FClear.size());
    const qint64 n = room > 0 && !FKey.isRunning() ? FSocket->read(chunk.data(), room) : 0;
    if (n <= 0)
        return;
    FClear.insert(FClear.end(), chunk.data(), chunk.data() + n);
    const TAnswerRead read = ReadAnswer(FClear.data(), FClear.size(), FOptions.Version);
    switch (read.Kind) {
    case TAnswerRead::TKind::More:
        return;
    case TAnswerRead::TKind::Refused: {
        // An older host refuses the knock in its own words; those are not shown.
        const bool older = read.Refusal.Code == TErrorCode::BadVersion && read.Refusal.Text != NeedsNewerText;
        emit Refused(static_cast<int>(read.Refusal.Code),
                     older ? QString::fromUtf8(RunsOlderText) : ShownText(read.Refusal.Text));
        Fail({});
        return;
    }
    case TAnswerRead::TKind::Bad:
        Fail(QStringLiteral("the host does not answer as a table of this version does"));
        return;
    case TAnswerRead::TKind::Salt:
        break;
    }
    if (read.Used != FClear.size() || FSocket->bytesAvailable() > 0) {
        Fail(QStringLiteral("the host sent more than its salt before the secure channel"));
        return;
    }
    if (!FOptions.SeatFolder.isEmpty())
        FSecretFile = std::make_unique<TSeatSecretFile>(FOptions.SeatFolder, FOptions.Host, FOptions.Port, read.Salt,
                                                         FOptions.Name);
    // Tens of milliseconds and tens of megabytes: beside the event loop.
    FKey.setFuture(QtConcurrent::run([code = FOptions.Code, salt = read.Salt] { return DeriveTableKeyOnWorker(code, salt); }));
}

void TNetClient::KeyDerived()
{
    if (FClosed || !FSocket)
        return;
    const std::optional<TTableKey> key = FKey.result();
    if (!key) {
        Fail(QStringLiteral("not enough memory to derive the table's key"));
        return;
    }
    if (FSocket->bytesAvailable() > 0) {
        Fail(QStringLiteral("the host sent more than its salt before the secure channel"));
        return;
    }
    ProvideTableKey(*FSocket, *key);
    FHandshaking = true;
    FSocket->startClientEncryption();
}

void TNetClient::Answer()
{
    const TSeatBrain& brain = FOptions.Brain;
    const auto& pending = FMirror->PendingTurn();
    const auto view = brain.ViewBid && brain.ViewCard && pending ? FMirror->ExpertView() : std::nullopt;
    if (!view) {
        AnswerWith(brain);
        return;
    }
    // The Expert takes tens of milliseconds: it thinks beside the event loop, one
    // decision at a time (a turn given up meanwhile waits for the last to end).
    FDecision.waitForFinished();
    auto choose = pending->Kind == TTurnKind::Bid ? brain.ViewBid : brain.ViewCard;
    FDecidingTurn = pending->Turn;
    FDecision.setFuture(QtConcurrent::run([choose, v = *view] { return choose(v); }));
}

void TNetClient::Decided()
{
    const auto& pending = FMirror->PendingTurn();
    if (FClosed || !pending || pending->Turn != FDecidingTurn || !FDecision.isFinished() ||
        FDecision.future().isCanceled())
        return;
    std::optional<TMessage> answer = FMirror->AnswerWith(FDecision.result());
    if (!answer)
        answer = FMirror->Decide(ClassicBrain());
    if (answer)
        Send(*answer);
}

bool TNetClient::AnswerWith(const TSeatBrain& brain)
{
    std::optional<TMessage> answer = FMirror->Decide(brain);
    if (answer)
        Send(*answer);
    return answer.has_value();
}

}  // namespace spades::net
