#include "RemoteSeat.h"

#include "SpadesGame.h"

namespace spades::net {

TErrorMsg ErrorOf(const TRefusal& refusal)
{
    TErrorCode code = TErrorCode::OutOfTurn;
    switch (refusal.Kind) {
    case TRefusalKind::TooLate:
        code = TErrorCode::TooLate;
        break;
    case TRefusalKind::BidOutOfRange:
    case TRefusalKind::BidNotAllowed:
        code = TErrorCode::BidOutOfRange;
        break;
    case TRefusalKind::CardNotHeld:
        code = TErrorCode::CardNotHeld;
        break;
    case TRefusalKind::MustFollowSuit:
        code = TErrorCode::MustFollowSuit;
        break;
    case TRefusalKind::SpadesNotOpened:
        code = TErrorCode::SpadesNotOpened;
        break;
    case TRefusalKind::None:
    case TRefusalKind::NotYourTurnToBid:
    case TRefusalKind::NotYourTurnToPlay:
    case TRefusalKind::CannotClaim:
        break;
    }
    return {code, std::string(refusal.Text())};
}

void TRemoteTurns::Ask(int seat, TSeatController& computer, TSpadesGame& game, const TWait& wait,
                       TSeatAnswers& answers)
{
    if (!FWire.Connected(seat)) {
        computer.Ask(game, wait, answers);
        return;
    }
    const TTurnKind kind = wait.Kind == TWaitKind::Bid ? TTurnKind::Bid : TTurnKind::Card;
    FWaiting = TQuestion{seat, kind, FNextTurn++};
    FPending = {&computer, &game, &answers, wait};
    FWire.Broadcast(TTurnMsg{FWaiting->Turn, kind, static_cast<uint8_t>(seat), FTimeoutMs});
}

void TRemoteTurns::Cancel(uint32_t turn)
{
    if (FWaiting && FPending.Wait.Turn == turn)
        FWaiting.reset();
}

std::optional<TErrorMsg> TRemoteTurns::Expected(int seat, uint32_t turn, TTurnKind kind) const
{
    if (FWaiting && FWaiting->Seat == seat && FWaiting->Kind == kind && FWaiting->Turn == turn)
        return std::nullopt;
    if (turn != 0 && turn < FNextTurn && !(FWaiting && FWaiting->Turn == turn))
        return ErrorOf({TRefusalKind::TooLate});
    return ErrorOf({kind == TTurnKind::Bid ? TRefusalKind::NotYourTurnToBid : TRefusalKind::NotYourTurnToPlay});
}

std::optional<TErrorMsg> TRemoteTurns::Bid(int seat, uint32_t turn, int bid)
{
    if (auto error = Expected(seat, turn, TTurnKind::Bid))
        return error;
    if (const TRefusal refusal = FPending.Answers->AnswerBid(seat, FPending.Wait.Turn, bid))
        return ErrorOf(refusal);
    FWaiting.reset();
    return std::nullopt;
}

std::optional<TErrorMsg> TRemoteTurns::Play(int seat, uint32_t turn, int card)
{
    if (auto error = Expected(seat, turn, TTurnKind::Card))
        return error;
    if (const TRefusal refusal = FPending.Answers->AnswerCard(seat, FPending.Wait.Turn, card))
        return ErrorOf(refusal);
    FWaiting.reset();
    return std::nullopt;
}

void TRemoteTurns::PlayAbsent()
{
    if (!FWaiting)
        return;
    FWaiting.reset();
    FPending.Computer->Ask(*FPending.Game, FPending.Wait, *FPending.Answers);
}

}  // namespace spades::net
