#include "NetClient.h"

#include <QTcpSocket>
#include <QtConcurrent/QtConcurrentRun>

#include <array>

namespace spades::net {

TNetClient::TNetClient(TNetClientOptions options, QObject* parent)
    : QObject(parent), FOptions(std::move(options)), FMirror(std::make_unique<TTableMirror>())
{
    FThink.setSingleShot(true);
    connect(&FThink, &QTimer::timeout, this, &TNetClient::Answer);
    connect(&FDecision, &QFutureWatcherBase::finished, this, &TNetClient::Decided);
    FMirror->SetStreamSeed(FOptions.Seed);
}

TNetClient::~TNetClient()
{
    FDecision.disconnect(this);
    FDecision.waitForFinished();
    if (FSocket) {
        FSocket->disconnect(this);
        FSocket->abort();
    }
}

void TNetClient::Connect()
{
    FSocket = std::make_unique<QTcpSocket>();
    FSocket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    connect(FSocket.get(), &QTcpSocket::connected, this, [this] {
        Send(THello{FOptions.Code, FOptions.Name, FOptions.WantSeat, FHelloVersion});
    });
    connect(FSocket.get(), &QTcpSocket::readyRead, this, &TNetClient::Read);
    connect(FSocket.get(), &QTcpSocket::disconnected, this, [this] { Fail({}); });
    connect(FSocket.get(), &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError error) {
        Fail(error == QAbstractSocket::RemoteHostClosedError ? QString() : FSocket->errorString());
    });
    FSocket->connectToHost(FOptions.Host, FOptions.Port);
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
        Read();
    if (FClosed)
        return;
    FClosed = true;
    FThink.stop();
    if (FSocket && FSocket->state() != QAbstractSocket::UnconnectedState)
        FSocket->abort();
    emit Closed(why);
}

void TNetClient::Read()
{
    std::array<char, 4096> chunk;
    while (FSocket && !FClosed) {
        const qint64 n = FSocket->read(chunk.data(), static_cast<qint64>(chunk.size()));
        if (n <= 0)
            break;
        if (FRecorder)
            FRecorder(chunk.data(), static_cast<size_t>(n));
        FReader.Feed(reinterpret_cast<const uint8_t*>(chunk.data()), static_cast<size_t>(n));
        while (!FClosed) {
            std::optional<TDecoded> next = FReader.Next();
            if (!next)
                break;
            if (const auto* error = std::get_if<TDecodeError>(&*next)) {
                Fail(QStringLiteral("the host sent a bad message: ") + QString::fromStdString(error->Text));
                return;
            }
            const TMessage& message = std::get<TMessage>(*next);
            if (const auto* refused = std::get_if<TRefused>(&message);
                refused && refused->Code == TErrorCode::BadVersion && FMirror->Seat() == 0 &&
                FHelloVersion > ProtocolVersion) {
                SpeakOlderVersion();
                return;
            }
            std::string why;
            if (!FMirror->Apply(message, why)) {
                Fail(QStringLiteral("the host contradicted itself: ") + QString::fromStdString(why));
                return;
            }
            emit Received(static_cast<int>(TypeOf(message)));
            if (const auto* welcome = std::get_if<TWelcome>(&message))
                emit Joined(welcome->Seat);
            else if (const auto* refused = std::get_if<TRefused>(&message))
                emit Refused(static_cast<int>(refused->Code), QString::fromStdString(refused->Text));
            else if (const auto* error = std::get_if<TErrorMsg>(&message))
                emit ErrorReceived(static_cast<int>(error->Code), QString::fromStdString(error->Text));
            else if (const auto* over = std::get_if<TGameOverMsg>(&message))
                emit GameOver(over->Winner);
            else if (std::holds_alternative<TTurnMsg>(message) && FMirror->PendingTurn() && FOptions.Brain.Bid)
                FThink.start(FOptions.ThinkMs);
        }
    }
}

void TNetClient::SpeakOlderVersion()
{
    // A host of the first version: joined again in it, without the later messages.
    FHelloVersion = ProtocolVersion;
    FSocket->disconnect(this);
    FSocket->abort();
    FSocket.release()->deleteLater();  // this runs inside one of its signals
    FReader = TFrameReader(TDirection::ToClient);
    QTimer::singleShot(0, this, [this] {
        if (!FClosed)
            Connect();
    });
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
