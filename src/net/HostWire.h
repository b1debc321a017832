// Where the hosted game's words go: messages to the joined tables, one seat's
// or everyone's, and the running account for whoever hosts.
#pragma once

#include <string>

#include "NetMessage.h"

namespace spades::net {

class THostWire {
public:
    // To the player at seat, if one is connected.
    virtual void SendTo(int seat, const TMessage& message) = 0;
    virtual void Broadcast(const TMessage& message) = 0;
    // A player from another machine sits there now and answers for it.
    virtual bool Connected(int seat) const = 0;
    // One line of the running account ("hand 1.1 scores ...").
    virtual void Report(const std::string&) {}

protected:
    ~THostWire() = default;
};

}  // namespace spades::net
