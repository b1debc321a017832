#include "SeatController.h"

#include <algorithm>

#include "ClassicRules.h"
#include "ExpertView.h"
#include "SpadesGame.h"

namespace spades {

std::string_view TRefusal::Text() const
{
    switch (Kind) {
    case TRefusalKind::None:
        break;
    case TRefusalKind::TooLate:
        return "that turn is over";
    case TRefusalKind::NotYourTurnToBid:
        return "it is not your turn to bid";
    case TRefusalKind::NotYourTurnToPlay:
        return "it is not your turn to play";
    case TRefusalKind::BidOutOfRange:
        return "a bid is Nil (0) or 1 to 13";
    case TRefusalKind::CardNotHeld:
        return "you do not hold that card";
    case TRefusalKind::MustFollowSuit:
        return VerdictText(TPlayVerdict::MustFollowSuit);
    case TRefusalKind::SpadesNotOpened:
        return VerdictText(TPlayVerdict::SpadesNotOpened);
    case TRefusalKind::CannotClaim:
        return "the others can still take a trick";
    case TRefusalKind::BidNotAllowed:
        return "the rules of this game do not allow that bid now";
    }
    return {};
}

TRefusal RefusalOf(TPlayVerdict verdict)
{
    switch (verdict) {
    case TPlayVerdict::MustFollowSuit:
        return {TRefusalKind::MustFollowSuit};
    case TPlayVerdict::SpadesNotOpened:
        return {TRefusalKind::SpadesNotOpened};
    case TPlayVerdict::Legal:
        break;
    }
    return {};
}

void TClassicController::Ask(TSpadesGame& game, const TWait& wait, TSeatAnswers& answers)
{
    TPlayer& player = game.Table.Player(wait.Seat);
    if (wait.Kind == TWaitKind::Bid) {
        answers.AnswerBid(wait.Seat, wait.Turn, ClassicBid(game, player));
    } else if (wait.Kind == TWaitKind::Card) {
        answers.AnswerSlot(wait.Seat, wait.Turn, ClassicSlot(player));
    }
}

void TExpertController::Ask(TSpadesGame& game, const TWait& wait, TSeatAnswers& answers)
{
    TRefusal refusal;
    if (wait.Kind == TWaitKind::Bid)
        refusal = answers.AnswerBid(wait.Seat, wait.Turn, FExpert.ChooseBid(ViewOf(game, wait.Seat)));
    else if (wait.Kind == TWaitKind::Card)
        refusal = answers.AnswerCard(wait.Seat, wait.Turn, FExpert.ChooseCard(ViewOf(game, wait.Seat)));
    if (refusal && !refusal.Stale())
        FClassic.Ask(game, wait, answers);
}

void TScriptedController::Ask(TSpadesGame& game, const TWait& wait, TSeatAnswers& answers)
{
    if (wait.Kind == TWaitKind::Bid) {
        answers.AnswerBid(wait.Seat, wait.Turn, std::clamp(FBids[static_cast<size_t>(wait.Seat)], 0, 13));
        return;
    }
    if (wait.Kind != TWaitKind::Card)
        return;
    if (FNext < FPlays.size()) {
        const int card = FPlays[FNext++];
        if (game.Table.Player(wait.Seat).SlotOf(card) != -1) {
            answers.AnswerCard(wait.Seat, wait.Turn, card);
            return;
        }
    }
    FClassic.Ask(game, wait, answers);
}

std::array<TSeatKind, 5> TSeatControllers::Kinds() const
{
    std::array<TSeatKind, 5> kinds{};
    for (int seat = North; seat <= West; ++seat)
        kinds[static_cast<size_t>(seat)] = At(seat).Kind();
    return kinds;
}

void TSeatControllers::Cancel(const TWait& wait) const
{
    if (wait.Kind == TWaitKind::Bid || wait.Kind == TWaitKind::Card)
        At(wait.Seat).Cancel(wait.Turn);
}

}  // namespace spades
