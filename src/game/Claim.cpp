#include "Claim.h"

#include "SpadesGame.h"

namespace spades {

TDDPosition OpenPosition(const TSpadesGame& game)
{
    TDDPosition position;
    for (int seat = North; seat <= West; ++seat) {
        const TPlayer& player = game.Table.Player(seat);
        for (int slot = 1; slot <= 13; ++slot) {
            const int card = player.FHand[static_cast<size_t>(slot)];
            if (card >= 1 && card <= 52)
                position.Hands[static_cast<size_t>(seat)] |= CardBit(card);
        }
    }
    // Spades count as broken for the lead only by a trick already complete.
    const int complete = game.FPlayCount / 4 * 4;
    for (int i = 0; i < complete; ++i)
        position.SpadesBroken = position.SpadesBroken || CardSuit(game.FPlays[static_cast<size_t>(i)].Card) == Spades;
    for (int i = complete; i < game.FPlayCount; ++i)
        position.Trick[static_cast<size_t>(position.TrickCount++)] = game.FPlays[static_cast<size_t>(i)];
    position.Leader = position.TrickCount > 0 ? position.Trick[0].Seat : game.SeatToPlay();
    return position;
}

std::vector<TPlayRecord> ClaimLine(TDoubleDummy& solver, const TSpadesGame& game, int seat)
{
    return ClaimLine(solver, OpenPosition(game), seat);
}

std::vector<TPlayRecord> ClaimLine(TDoubleDummy& solver, const TDDPosition& position, int seat)
{
    if (position.TrickCount > 3 || position.ToPlay() != seat || !CheckPosition(position).empty())
        return {};
    const int left = position.TricksLeft();
    if (left == 0 || !solver.Reaches(position, TDDGoal::Seat(seat), left))
        return {};
    return solver.BestLine(position, TDDGoal::Seat(seat));
}

void TClaimingController::Ask(TSpadesGame& game, const TWait& wait, TSeatAnswers& answers)
{
    if (wait.Kind == TWaitKind::Card && 13 - game.FPlayCount / 4 <= FFrom &&
        !answers.AnswerClaim(wait.Seat, wait.Turn, FSolver)) {
        ++FClaims;
        return;
    }
    FInner.Ask(game, wait, answers);
}

}  // namespace spades
