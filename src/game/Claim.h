// "The rest are mine": a seat to play that takes every trick left whatever the
// others do may end the hand with them, played out in the solver's order.
#pragma once

#include <vector>

#include "DoubleDummy.h"
#include "SeatController.h"

namespace spades {

class TSpadesGame;

// The hand in play as it lies, every seat's cards open.
TDDPosition OpenPosition(const TSpadesGame& game);
// The rest of the hand, card by card, when the seat to play takes every trick
// left against any defence; empty when it cannot, or when it is not its turn.
std::vector<TPlayRecord> ClaimLine(TDoubleDummy& solver, const TSpadesGame& game, int seat);
// The same from the position alone, so that it can be worked out away from the game.
std::vector<TPlayRecord> ClaimLine(TDoubleDummy& solver, const TDDPosition& position, int seat);

// A seat's controller that claims the rest whenever it can, once few enough
// tricks are left for the question to be cheap, and otherwise leaves the turn
// to the controller it wraps.
class TClaimingController final : public TSeatController {
public:
    TClaimingController(TSeatController& inner, TDoubleDummy& solver, int fromTricksLeft)
        : FInner(inner), FSolver(solver), FFrom(fromTricksLeft)
    {
    }
    TSeatKind Kind() const override { return FInner.Kind(); }
    void Ask(TSpadesGame& game, const TWait& wait, TSeatAnswers& answers) override;
    void Cancel(uint32_t turn) override { FInner.Cancel(turn); }
    long long Claims() const { return FClaims; }

private:
    TSeatController& FInner;
    TDoubleDummy& FSolver;
    int FFrom;
    long long FClaims = 0;
};

}  // namespace spades
