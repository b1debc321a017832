#include "SecureLink.h"

#include <QSslCipher>
#include <QSslPreSharedKeyAuthenticator>
#include <QSslSocket>

namespace spades::net {

namespace {
// Sent in clear in the handshake, so it says nothing of the table or the player.
const QByteArray Identity = QByteArrayLiteral("Quelbrin Spades table");
}  // namespace

QSslConfiguration SecureChannelConfig()
{
    QSslConfiguration config = QSslConfiguration::defaultConfiguration();
    config.setProtocol(QSsl::TlsV1_2);
    config.setCiphers({QSslCipher(QStringLiteral("ECDHE-PSK-CHACHA20-POLY1305"), QSsl::TlsV1_2)});
    config.setPeerVerifyMode(QSslSocket::VerifyNone);  // the key is the proof, both ways
    config.setCaCertificates({});
    config.setSslOption(QSsl::SslOptionDisableSessionTickets, true);
    config.setSslOption(QSsl::SslOptionDisableSessionPersistence, true);
    return config;
}

void ProvideTableKey(QSslSocket& socket, const TTableKey& key)
{
    const QByteArray bytes(reinterpret_cast<const char*>(key.data()), static_cast<qsizetype>(key.size()));
    QObject::connect(&socket, &QSslSocket::preSharedKeyAuthenticationRequired, &socket,
                     [&socket, bytes](QSslPreSharedKeyAuthenticator* auth) {
                         if (socket.mode() == QSslSocket::SslClientMode)
                             auth->setIdentity(Identity);
                         else if (auth->identity() != Identity)
                             return;
                         auth->setPreSharedKey(bytes);
                     });
}

void TSecureServer::incomingConnection(qintptr descriptor)
{
    auto* socket = new QSslSocket(this);
    if (!socket->setSocketDescriptor(descriptor)) {
        delete socket;
        return;
    }
    socket->setSslConfiguration(SecureChannelConfig());
    addPendingConnection(socket);
}

}  // namespace spades::net
