#include "HandCycle.h"

#include "Claim.h"

namespace spades {

THandCycle::THandCycle(TSpadesGame& game, const TRuleSet& rules) : FGame(game), FNextRules(rules)
{
    FGame.FRules = rules;
    FGame.Table.Rules = rules.Table;
}

void THandCycle::Watch(TGameObserver& observer, TGameEvents events)
{
    for (size_t event = 0; event < FObservers.size(); ++event)
        if (events & (TGameEvents{1} << event))
            FObservers[event].push_back(&observer);
}

void THandCycle::NewGame(int gameNumber, const std::array<TSeatKind, 5>& kinds)
{
    Begin(gameNumber, kinds, FNextRules);
}

void THandCycle::Begin(int gameNumber, const std::array<TSeatKind, 5>& kinds, const TRuleSet& rules)
{
    FGame.NewGame({});
    for (int seat = North; seat <= West; ++seat)
        SetSeatKind(FGame.Table.Player(seat), kinds[static_cast<size_t>(seat)]);
    FGame.FRules = rules;
    FGame.Table.Rules = rules.Table;
    FGameNumber = gameNumber;
    FHandNumber = 0;
    FWinner = 0;
    FPending = false;
    FWait = {};
    FPhase = TPhase::Deal;
    Tell(TGameEvent::GameStarted, [&](TGameObserver& o) { o.GameStarted(FGame, gameNumber); });
}

const TWait& THandCycle::Advance()
{
    while (!FPending) {
        if (FPhase == TPhase::Playing)  // the step taken most by far
            Ask(FGame.SeatToPlay(), TWaitKind::Card);
        else
            Step();
    }
    return FWait;
}

const TWait& THandCycle::Play(const TSeatControllers& seats)
{
    for (;;) {
        const TWait& wait = Advance();
        if (wait.Kind != TWaitKind::Card && wait.Kind != TWaitKind::Bid)
            return wait;
        const uint32_t turn = wait.Turn;
        seats.At(wait.Seat).Ask(FGame, wait, *this);
        if (FPending && FWait.Turn == turn)
            return FWait;
    }
}

bool THandCycle::HandInPlay() const
{
    switch (FPhase) {
    case TPhase::Bidding:
    case TPhase::Playing:
    case TPhase::TrickFull:
    case TPhase::TrickShown:
    case TPhase::TrickGone:
        return true;
    default:
        return false;
    }
}

void THandCycle::Hold(TWaitKind kind, int seat, TPauseKind pause)
{
    FWait = {kind, seat, FNextTurn++, pause};
    FPending = true;
}

void THandCycle::Ask(int seat, TWaitKind kind)
{
    Hold(kind, seat);
    Tell(TGameEvent::TurnBegins, [&](TGameObserver& o) { o.TurnBegins(FGame, FWait); });
}

void THandCycle::Step()
{
    switch (FPhase) {
    case TPhase::Idle:
        Hold(TWaitKind::Nothing, 0);
        return;
    case TPhase::Deal:
        ++FHandNumber;
        if (FDealSource)
            FGame.BeginHand(*FDealSource);
        else
            FGame.BeginHand();
        FBidIndex = 1;
        FBidDone.fill(false);
        FPhase = TPhase::Bidding;
        Tell(TGameEvent::HandDealt, [&](TGameObserver& o) { o.HandDealt(FGame, FHandNumber); });
        return;
    case TPhase::Bidding:
        Ask(FGame.Bidder(FBidIndex), TWaitKind::Bid);
        return;
    case TPhase::Playing:
        Ask(FGame.SeatToPlay(), TWaitKind::Card);
        return;
    case TPhase::TrickFull:
        Tell(TGameEvent::TrickFull, [&](TGameObserver& o) { o.TrickFull(FGame); });
        FTrickWinner = FGame.GiveTrick(Rules().TrickTaker(FGame.Table));
        FPhase = TPhase::TrickShown;
        Tell(TGameEvent::TrickWon, [&](TGameObserver& o) { o.TrickWon(FGame, FTrickWinner); });
        if (FPauses)
            Hold(TWaitKind::Pause, FTrickWinner, TPauseKind::TrickWon);
        return;
    case TPhase::TrickShown:
        FGame.HideTrickCards();
        Tell(TGameEvent::TrickCleared, [&](TGameObserver& o) { o.TrickCleared(FGame, FTrickWinner); });
        if (FGame.HandOver()) {
            FPhase = TPhase::HandDone;
            return;
        }
        FGame.ClearTrick();
        FPhase = TPhase::TrickGone;
        if (FPauses)
            Hold(TWaitKind::Pause, FTrickWinner, TPauseKind::TrickCleared);
        return;
    case TPhase::TrickGone:
        FGame.StartNextTrick(FTrickWinner);
        FPhase = TPhase::Playing;
        return;
    case TPhase::HandDone:
        FinishHand();
        return;
    case TPhase::BetweenHands:
        Hold(TWaitKind::HandOver, 0);
        return;
    case TPhase::Over:
        Hold(TWaitKind::GameOver, FWinner);
        return;
    }
}

void THandCycle::FinishHand()
{
    Tell(TGameEvent::HandEnded, [&](TGameObserver& o) { o.HandEnded(FGame); });
    const TScoreResult result = Rules().Score(FGame.Table);
    Tell(TGameEvent::HandScored, [&](TGameObserver& o) { o.HandScored(FGame, result); });
    if (result.WinnerSeat != 0) {
        FWinner = result.WinnerSeat;
        FPhase = TPhase::Over;
        Tell(TGameEvent::GameOver, [&](TGameObserver& o) { o.GameOver(FGame, FWinner); });
        return;
    }
    FGame.PrepareNextHand();
    FPhase = TPhase::BetweenHands;
}

TRefusal THandCycle::Expected(int seat, uint32_t turn, TWaitKind kind) const
{
    if (FPending && FWait.Kind == kind && FWait.Seat == seat && FWait.Turn == turn)
        return {};
    if (turn != 0 && turn < FNextTurn && !(FPending && FWait.Turn == turn))
        return {TRefusalKind::TooLate};
    return {kind == TWaitKind::Bid ? TRefusalKind::NotYourTurnToBid : TRefusalKind::NotYourTurnToPlay};
}

TRefusal THandCycle::AnswerBid(int seat, uint32_t turn, int bid)
{
    if (const TRefusal refusal = Expected(seat, turn, TWaitKind::Bid))
        return refusal;
    if (bid < BlindNilBid || bid > 13)
        return {TRefusalKind::BidOutOfRange};
    if (!Rules().BidAllowed(FGame.Table, seat, HasBid(PartnerOf(seat)), bid))
        return {TRefusalKind::BidNotAllowed};
    FPending = false;
    FGame.PersonBid(seat, bid);
    FBidDone[static_cast<size_t>(seat)] = true;
    Tell(TGameEvent::BidMade, [&](TGameObserver& o) { o.BidMade(FGame, seat); });
    if (++FBidIndex > 4) {
        FGame.StartPlay();
        FPhase = TPhase::Playing;
        Tell(TGameEvent::PlayBegins, [&](TGameObserver& o) { o.PlayBegins(FGame); });
    }
    return {};
}

TRefusal THandCycle::AnswerCard(int seat, uint32_t turn, int card)
{
    if (const TRefusal refusal = Expected(seat, turn, TWaitKind::Card))
        return refusal;
    const int slot = FGame.Table.Player(seat).SlotOf(card);
    return slot == -1 ? TRefusal{TRefusalKind::CardNotHeld} : AnswerSlot(seat, turn, slot);
}

TRefusal THandCycle::AnswerSlot(int seat, uint32_t turn, int slot)
{
    if (const TRefusal refusal = Expected(seat, turn, TWaitKind::Card))
        return refusal;
    const TPlayer& player = FGame.Table.Player(seat);
    const int card = slot >= 1 && slot <= 13 ? player.FHand[static_cast<size_t>(slot)] : NoCard;
    if (card < 1 || card > 52)
        return {TRefusalKind::CardNotHeld};
    const TSeatKind kind = SeatKindOf(player);
    if (Rules().ChecksCards(kind))
        if (const TRefusal refusal = RefusalOf(Rules().Check(FGame.Table, player, card)))
            return refusal;
    const bool person = IsPerson(kind);
    FPending = false;
    const int place = FGame.FTurn;  // the card's place in the trick
    Tell(TGameEvent::CardChosen, [&](TGameObserver& o) { o.CardChosen(FGame, seat, card); });
    // A person's card leaves the hand before it is laid, a computer's after.
    if (person)
        FGame.PlayPersonCard(seat, slot);
    else
        FGame.PlayComputerCard(slot);
    Tell(TGameEvent::CardPlayed, [&](TGameObserver& o) { o.CardPlayed(FGame, seat, card, place); });
    const bool full = FGame.TrickFull();
    FPhase = full ? TPhase::TrickFull : TPhase::Playing;
    if (FPauses)
        Hold(TWaitKind::Pause, seat, full ? TPauseKind::LastCard : TPauseKind::Card);
    return {};
}

TRefusal THandCycle::AnswerClaim(int seat, uint32_t turn, TDoubleDummy& solver)
{
    if (const TRefusal refusal = Expected(seat, turn, TWaitKind::Card))
        return refusal;
    return AnswerClaim(seat, turn, ClaimLine(solver, FGame, seat));
}

TRefusal THandCycle::AnswerClaim(int seat, uint32_t turn, const std::vector<TPlayRecord>& line)
{
    if (const TRefusal refusal = Expected(seat, turn, TWaitKind::Card))
        return refusal;
    // The line must start with this seat and play out every card left.
    if (line.empty() || line.front().Seat != seat || static_cast<int>(line.size()) != 52 - FGame.FPlayCount)
        return {TRefusalKind::CannotClaim};
    const auto passPauses = [this] {
        while (FWait.Kind == TWaitKind::Pause && Resume(FWait.Turn))
            Advance();
    };
    for (const TPlayRecord& play : line) {
        passPauses();
        // The solver's line keeps the rules, so no card of it is refused.
        if (FWait.Kind != TWaitKind::Card || FWait.Seat != play.Seat || AnswerCard(play.Seat, FWait.Turn, play.Card))
            break;
        Advance();
    }
    passPauses();  // the hand ends here, scored
    return {};
}

bool THandCycle::Resume(uint32_t turn)
{
    if (!FPending || FWait.Kind != TWaitKind::Pause || FWait.Turn != turn)
        return false;
    FPending = false;
    return true;
}

void THandCycle::NextHand()
{
    if (FPhase != TPhase::BetweenHands)
        return;
    FPending = false;
    FPhase = TPhase::Deal;
}

void THandCycle::GiveUp()
{
    if (FPhase == TPhase::Idle || FPhase == TPhase::Over)
        return;
    FPending = false;
    FWinner = 0;
    FPhase = TPhase::Over;
    Tell(TGameEvent::GameOver, [&](TGameObserver& o) { o.GameOver(FGame, 0); });
}

void THandCycle::SetWinScore(int score)
{
    FNextRules.WinScore = score;
    FGame.FRules.WinScore = score;
}

void THandCycle::NewGameFrom(int gameNumber, const std::array<TSeatKind, 5>& kinds, const TStartPoint& start)
{
    Begin(gameNumber, kinds, start.Rules.value_or(FNextRules));
    for (int seat = North; seat <= West; ++seat) {
        const size_t s = static_cast<size_t>(seat);
        TPlayer& player = FGame.Table.Player(seat);
        player.SetName(start.Names[s]);
        player.FScore = start.Scores[s];
        player.FTotalBags = start.TotalBags[s];
    }
    FGame.FTurnOrder = TurnOrderFrom(start.FirstSeat);
    FGame.NextDeal = start.Deal;
}

void THandCycle::TakeUp(TTakeUp at, int seat)
{
    FPending = false;
    FWait = {};
    FBidDone.fill(false);
    const int bids = at == TTakeUp::Bidding ? FGame.FBidCount : 4;
    for (int i = 1; i <= bids && i <= 4; ++i)
        FBidDone[static_cast<size_t>(FGame.FHandOrder[static_cast<size_t>(i)])] = true;
    FBidIndex = bids + 1;
    FTrickWinner = seat;
    switch (at) {
    case TTakeUp::Bidding:
        FPhase = TPhase::Bidding;
        break;
    case TTakeUp::Playing:
        FPhase = TPhase::Playing;
        break;
    case TTakeUp::TrickFull:
        FPhase = TPhase::TrickFull;
        Hold(TWaitKind::Pause, seat, TPauseKind::LastCard);
        break;
    case TTakeUp::TrickWon:
        FPhase = TPhase::TrickShown;
        Hold(TWaitKind::Pause, seat, TPauseKind::TrickWon);
        break;
    case TTakeUp::TrickCleared:
        FPhase = TPhase::TrickGone;
        Hold(TWaitKind::Pause, seat, TPauseKind::TrickCleared);
        break;
    case TTakeUp::HandOver:
        FPhase = TPhase::BetweenHands;
        break;
    case TTakeUp::GameOver:
        FWinner = seat;
        FPhase = TPhase::Over;
        break;
    }
}

}  // namespace spades
