// Seats played from other machines. The hand cycle asks such a seat as it asks
// any other; its question goes out as a Turn message to every table, numbered
// on the wire, and the player's Bid or Play for that number answers it. When no
// player is connected the seat's computer answers at once, and the host hands
// it a pending turn when the time is up, the player drops, is away or removed.
#pragma once

#include <cstdint>
#include <optional>

#include "HostWire.h"
#include "SeatController.h"

namespace spades::net {

TErrorMsg ErrorOf(const TRefusal& refusal);

class TRemoteTurns {
public:
    // The question a player from elsewhere is asked, as the wire numbers it.
    struct TQuestion {
        int Seat = 0;
        TTurnKind Kind = TTurnKind::Bid;
        uint32_t Turn = 0;
    };

    TRemoteTurns(THostWire& wire, uint32_t timeoutMs) : FWire(wire), FTimeoutMs(timeoutMs) {}

    const std::optional<TQuestion>& Waiting() const { return FWaiting; }
    // A player's answer; the error to send back when it is refused.
    std::optional<TErrorMsg> Bid(int seat, uint32_t turn, int bid);
    std::optional<TErrorMsg> Play(int seat, uint32_t turn, int card);
    // The pending question goes to the seat's computer.
    void PlayAbsent();

    // For the seats' controllers: asks the seat's player, or its computer when
    // no player is there to ask.
    void Ask(int seat, TSeatController& computer, TSpadesGame& game, const TWait& wait, TSeatAnswers& answers);
    void Cancel(uint32_t turn);

private:
    std::optional<TErrorMsg> Expected(int seat, uint32_t turn, TTurnKind kind) const;

    struct TPending {
        TSeatController* Computer = nullptr;
        TSpadesGame* Game = nullptr;
        TSeatAnswers* Answers = nullptr;
        TWait Wait;
    };

    THostWire& FWire;
    uint32_t FTimeoutMs;
    uint32_t FNextTurn = 1;  // over every game of the host: an old number is never given again
    std::optional<TQuestion> FWaiting;
    TPending FPending;
};

class TRemoteController final : public TSeatController {
public:
    TRemoteController(TRemoteTurns& turns, TSeatController& computer) : FTurns(turns), FComputer(computer) {}
    TSeatKind Kind() const override { return TSeatKind::Remote; }
    void Ask(TSpadesGame& game, const TWait& wait, TSeatAnswers& answers) override
    {
        FTurns.Ask(wait.Seat, FComputer, game, wait, answers);
    }
    void Cancel(uint32_t turn) override { FTurns.Cancel(turn); }

private:
    TRemoteTurns& FTurns;
    TSeatController& FComputer;
};

}  // namespace spades::net
