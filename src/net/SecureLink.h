// The secure channel between a host and a joining table: TLS through Qt
// Network, keyed by the table's key (derived from the join code), with no
// certificate for anyone to make or trust. Both ends set it up alike here.
#pragma once

#include <QSslConfiguration>
#include <QTcpServer>

#include "TableKey.h"

class QSslSocket;

namespace spades::net {

// TLS 1.2 with a pre-shared key, fresh ECDHE keys per connection (a key found
// later opens no recording) and ChaCha20-Poly1305. Qt's client never offers an
// external pre-shared key in TLS 1.3, so 1.2 is the version both ends can use.
QSslConfiguration SecureChannelConfig();

// Gives the socket the table's key when the handshake asks for it; a peer
// that names another identity gets none, and the handshake fails.
void ProvideTableKey(QSslSocket& socket, const TTableKey& key);

// Hands out QSslSocket connections that start in clear, for the preamble.
class TSecureServer : public QTcpServer {
protected:
    void incomingConnection(qintptr descriptor) override;
};

}  // namespace spades::net
