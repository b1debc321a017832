// A connection as the host holds it, for the host's own files.
#pragma once

#include <QPointer>
#include <QTcpSocket>
#include <QTimer>

#include <vector>

#include "FrameReader.h"
#include "NetHost.h"

namespace spades::net {

struct TNetHost::TConn {
    TConnId Id = 0;
    QPointer<QTcpSocket> Socket;
    TFrameReader Reader{TDirection::ToHost};
    TNetPrefix Prefix;
    int Seat = 0;
    uint8_t Version = ProtocolVersion;  // the version its Hello spoke
    uint8_t KnockVersion = NewestVersion;  // the salt is answered in it
    QTimer HelloTimer;
    QTimer FirstBytesTimer;
    std::vector<uint8_t> Knock;  // what came in clear, up to the knock
    bool Knocked = false;        // waits for the table's key to be answered
    bool Answered = false;       // the handshake has begun
    bool Secure = false;         // through the handshake: it knows the code
    bool Evicted = false;        // made room for a newer one; no wrong code of its own
    bool Unproven() const { return Seat == 0 && !Secure; }
};

}  // namespace spades::net
