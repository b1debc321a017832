#include "HostGame.h"

#include <algorithm>
#include <iostream>

namespace spades::net {

namespace {
uint8_t U8(int v) { return static_cast<uint8_t>(v); }

TErrorMsg Refuse(TErrorCode code, std::string text) { return {code, std::move(text)}; }
}  // namespace

THostGame::THostGame(THostOutput& output, THostGameOptions options, std::ostream* log)
    : FOut(output), FOptions(std::move(options)), FGame(FHost, FOptions.Seed), FLogStream(log),
      FLog(log ? *log : std::cerr)
{
    FGame.FWinScore = FOptions.WinScore;
    for (int seat = North; seat <= West; ++seat) {
        TPlayer& player = FGame.Table.Player(seat);
        player.SetName(FOptions.Names[static_cast<size_t>(seat - 1)]);
        // A nonzero id marks a seat played from another machine.
        player.FNet.Id = FOptions.Remote[static_cast<size_t>(seat - 1)] ? seat : 0;
        if (!BrainOf(seat).Bid)
            BrainOf(seat) = ClassicBrain();
        player.FExpert = player.FNet.Id == 0 && BrainOf(seat).GameCard != nullptr;
    }
}

void THostGame::SetSeatName(int seat, const std::string& name)
{
    FGame.Table.Player(seat).SetName(name);
    FOptions.Names[static_cast<size_t>(seat - 1)] = name;
}

void THostGame::NewGame(int gameNumber)
{
    FGameNumber = gameNumber;
    FHandNumber = 0;
    FWinner = 0;
    FWaiting.reset();
    FGame.NewGame({});
    FPhase = TPhase::StartHand;
    FOut.GameBegun();
}

void THostGame::BeginHand()
{
    ++FHandNumber;
    if (FOptions.Deals)
        FGame.NextDeal = FOptions.Deals->NextDeck();
    FGame.BeginHand();
    FBidIndex = 1;
    FBidDone.fill(false);
    FOut.HandDealt();
    for (int seat = North; seat <= West; ++seat) {
        THandMsg hand;
        hand.HandNumber = static_cast<uint16_t>(std::min(FHandNumber, 65535));
        hand.FirstSeat = U8(FGame.Bidder(1));
        const TPlayer& player = FGame.Table.Player(seat);
        for (size_t slot = 1; slot <= 13; ++slot)
            hand.Slots[slot - 1] = U8(player.FHand[slot]);
        // Each player is sent their own hand and nothing of the others'.
        FOut.SendTo(seat, hand);
    }
    FPhase = TPhase::Bidding;
}

TStep THostGame::Ask(int seat, TTurnKind kind)
{
    FWaiting = TWait{seat, kind, FNextTurn++};
    TTurnMsg turn;
    turn.Turn = FWaiting->Turn;
    turn.Kind = kind;
    turn.Seat = U8(seat);
    turn.TimeoutMs = FOptions.TurnTimeoutMs;
    FOut.Broadcast(turn);
    return TStep::WaitRemote;
}

void THostGame::ComputerBid(int seat)
{
    TPlayer& player = FGame.Table.Player(seat);
    const TSeatBrain& brain = BrainOf(seat);
    const int bid = brain.GameBid ? brain.GameBid(FGame, seat) : brain.Bid(player);
    FGame.PersonBid(seat, bid);
    AfterBid(seat);
}

void THostGame::AfterBid(int seat)
{
    FBidDone[static_cast<size_t>(seat)] = true;
    FOut.Broadcast(TBidMadeMsg{U8(seat), U8(FGame.Table.Player(seat).FBid)});
    if (++FBidIndex > 4) {
        FGame.StartPlay();
        if (FLogStream)
            FLog.LogHandStart(FGame.Table);
        FPhase = TPhase::Playing;
    }
}

void THostGame::ComputerCard(int seat)
{
    TPlayer& player = FGame.Table.Player(seat);
    const TSeatBrain& brain = BrainOf(seat);
    int slot = 0;
    if (brain.GameCard) {
        const int value = brain.GameCard(FGame, seat);
        for (int s = 1; s <= 13; ++s)
            if (value != NoCard && player.FHand[static_cast<size_t>(s)] == value)
                slot = s;
    } else {
        slot = brain.ChooseSlot(player);
    }
    if (slot < 1 || slot > 13 || player.FHand[static_cast<size_t>(slot)] == NoCard) {
        // A brain that answers nonsense loses the choice to the classic one.
        slot = player.ChooseCard();
    }
    const int card = player.FHand[static_cast<size_t>(slot)];
    const int place = FGame.Table.FirstEmptyPlace();
    FGame.PlayPersonCard(seat, slot);
    AfterCard(seat, card, place);
}

void THostGame::AfterCard(int seat, int card, int place)
{
    FOut.Broadcast(TCardPlayedMsg{U8(seat), U8(card), U8(place)});
    if (FGame.TrickFull())
        FPhase = TPhase::TrickFull;
}

void THostGame::FinishTrick()
{
    if (FLogStream)
        FLog.LogTrick(FGame.Table);
    FOut.TrickFull();
    const int winner = FGame.ResolveTrick();
    TTrickWonMsg won;
    won.Winner = U8(winner);
    for (int seat = North; seat <= West; ++seat)
        won.Tricks[static_cast<size_t>(seat - 1)] = U8(FGame.Table.Player(seat).FTricks);
    FOut.Broadcast(won);
    FGame.HideTrickCards();
    if (FGame.HandOver()) {
        FPhase = TPhase::HandDone;
        return;
    }
    FGame.ClearTrick();
    FGame.StartNextTrick(winner);
    FPhase = TPhase::Playing;
}

TStep THostGame::FinishHand()
{
    if (FLogStream)
        FLog.LogHandEnd(FGame.Table);
    const TScoreResult result = FGame.ScoreHand();
    THandScoredMsg scored;
    for (int seat = North; seat <= West; ++seat) {
        const TPlayer& p = FGame.Table.Player(seat);
        TSeatScore& s = scored.Seats[static_cast<size_t>(seat - 1)];
        s.Score = p.FScore;
        s.Bid = U8(p.FBid);
        s.Tricks = U8(p.FTricks);
        s.Bags = U8(p.FBags);
        s.TotalBags = static_cast<uint16_t>(std::clamp(p.FTotalBags, 0, 65535));
    }
    scored.Winner = U8(result.WinnerSeat);
    FOut.Broadcast(scored);
    FOut.HandScored(result.WinnerSeat);

    std::string line = "hand " + std::to_string(FGameNumber) + "." + std::to_string(FHandNumber) + " scores";
    for (int seat = North; seat <= West; ++seat) {
        line += ' ';
        line += std::to_string(FGame.Table.Player(seat).FScore);
    }
    FOut.Report(line);

    if (result.WinnerSeat != 0) {
        FWinner = result.WinnerSeat;
        FOut.Broadcast(TGameOverMsg{U8(result.WinnerSeat), result.WinnerName});
        FOut.Report("game " + std::to_string(FGameNumber) + " winner " + result.WinnerName + " after " +
                    std::to_string(FHandNumber) + " hands");
        FPhase = TPhase::Over;
        return TStep::GameEnded;
    }
    FGame.PrepareNextHand();
    FPhase = TPhase::StartHand;
    return TStep::HandEnded;
}

TStep THostGame::Step()
{
    if (FWaiting)
        return TStep::WaitRemote;
    for (;;) {
        switch (FPhase) {
        case TPhase::Idle:
        case TPhase::Over:
            return TStep::GameEnded;
        case TPhase::StartHand:
            BeginHand();
            break;
        case TPhase::Bidding: {
            const int seat = FGame.Bidder(FBidIndex);
            if (FOut.RemoteAt(seat))
                return Ask(seat, TTurnKind::Bid);
            ComputerBid(seat);
            break;
        }
        case TPhase::Playing: {
            const int seat = FGame.SeatToPlay();
            if (FOut.RemoteAt(seat))
                return Ask(seat, TTurnKind::Card);
            ComputerCard(seat);
            // As at the table: no pause after the fourth card, two once the trick is taken.
            if (FOptions.PauseAfterCards && FPhase != TPhase::TrickFull)
                return TStep::Pause;
            break;
        }
        case TPhase::TrickFull:
            FinishTrick();
            if (FOptions.PauseAfterCards)
                return TStep::TrickPause;
            break;
        case TPhase::HandDone:
            return FinishHand();
        }
    }
}

bool THostGame::Expected(int seat, uint32_t turn, TTurnKind kind, std::optional<TErrorMsg>& error) const
{
    if (FWaiting && FWaiting->Seat == seat && FWaiting->Kind == kind && FWaiting->Turn == turn)
        return true;
    if (turn != 0 && turn < FNextTurn && !(FWaiting && FWaiting->Turn == turn))
        error = Refuse(TErrorCode::TooLate, "that turn is over");
    else
        error = Refuse(TErrorCode::OutOfTurn, kind == TTurnKind::Bid ? "it is not your turn to bid"
                                                                     : "it is not your turn to play");
    return false;
}

std::optional<TErrorMsg> THostGame::Bid(int seat, uint32_t turn, int bid)
{
    std::optional<TErrorMsg> error;
    if (!Expected(seat, turn, TTurnKind::Bid, error))
        return error;
    if (bid < 0 || bid > 13)
        return Refuse(TErrorCode::BidOutOfRange, "a bid is Nil (0) or 1 to 13");
    FWaiting.reset();
    FGame.PersonBid(seat, bid);
    AfterBid(seat);
    return std::nullopt;
}

std::optional<TErrorMsg> THostGame::Play(int seat, uint32_t turn, int card)
{
    std::optional<TErrorMsg> error;
    if (!Expected(seat, turn, TTurnKind::Card, error))
        return error;
    const TPlayer& player = FGame.Table.Player(seat);
    int slot = 0;
    for (int s = 1; s <= 13; ++s)
        if (card >= 1 && card <= 52 && player.FHand[static_cast<size_t>(s)] == card)
            slot = s;
    if (slot == 0)
        return Refuse(TErrorCode::CardNotHeld, "you do not hold that card");
    switch (FGame.CheckPersonCard(seat, slot)) {
    case TPlayVerdict::MustFollowSuit:
        return Refuse(TErrorCode::MustFollowSuit, std::string(VerdictText(TPlayVerdict::MustFollowSuit)));
    case TPlayVerdict::SpadesNotOpened:
        return Refuse(TErrorCode::SpadesNotOpened, std::string(VerdictText(TPlayVerdict::SpadesNotOpened)));
    case TPlayVerdict::Legal:
        break;
    }
    FWaiting.reset();
    const int place = FGame.Table.FirstEmptyPlace();
    FGame.PlayPersonCard(seat, slot);
    AfterCard(seat, card, place);
    return std::nullopt;
}

void THostGame::PlayAbsent()
{
    if (!FWaiting)
        return;
    const TWait wait = *FWaiting;
    FWaiting.reset();
    if (wait.Kind == TTurnKind::Bid)
        ComputerBid(wait.Seat);
    else
        ComputerCard(wait.Seat);
}

TSyncMsg THostGame::SyncFor(int seat) const
{
    TSyncMsg m;
    const TTableState& table = FGame.Table;
    m.HandNumber = static_cast<uint16_t>(std::min(FHandNumber, 65535));
    switch (FPhase) {
    case TPhase::Bidding:
        m.Phase = net::TPhase::Bidding;
        break;
    case TPhase::Playing:
    case TPhase::TrickFull:
        m.Phase = net::TPhase::Playing;
        break;
    case TPhase::HandDone:
    case TPhase::Over:
        m.Phase = net::TPhase::Over;
        break;
    case TPhase::Idle:
    case TPhase::StartHand:
        m.Phase = net::TPhase::Idle;
        break;
    }
    const bool dealt = m.Phase == net::TPhase::Bidding || m.Phase == net::TPhase::Playing;
    const TPlayer& own = table.Player(seat);
    for (size_t slot = 1; slot <= 13; ++slot) {
        const int card = own.FHand[slot];
        m.Slots[slot - 1] = dealt && card >= 1 && card <= 52 ? U8(card) : NoSlotCard;
    }
    for (int s = North; s <= West; ++s) {
        const TPlayer& p = table.Player(s);
        const auto i = static_cast<size_t>(s - 1);
        m.Bids[i] = dealt && FBidDone[static_cast<size_t>(s)] ? U8(p.FBid) : NoBid;
        m.Tricks[i] = U8(p.FTricks);
        m.Scores[i] = p.FScore;
        m.TotalBags[i] = static_cast<uint16_t>(std::clamp(p.FTotalBags, 0, 65535));
    }
    m.SpadesBroken = table.SpadesBroken;
    for (int place = 1; place <= 4; ++place) {
        const TPlayStack& stack = table.Place(place);
        if (stack.HasCard() && dealt) {
            m.PlaceSeats[static_cast<size_t>(place - 1)] = U8(stack.FSeat);
            m.PlaceCards[static_cast<size_t>(place - 1)] = U8(stack.FValue);
        }
    }
    // Cards already laid on the table this hand: every table saw them.
    for (size_t card = 1; card <= 52; ++card)
        m.CardsPlayed[card] = dealt && table.CardsPlayed[card];
    return m;
}

THistoryMsg THostGame::History() const
{
    THistoryMsg m;
    m.FirstSeat = U8(FGame.FHandOrder[1]);
    const bool dealt = FPhase == TPhase::Bidding || FPhase == TPhase::Playing || FPhase == TPhase::TrickFull;
    if (dealt)
        for (int i = 0; i < FGame.FPlayCount && i < 52; ++i)
            m.Plays.push_back({FGame.FPlays[static_cast<size_t>(i)].Seat, FGame.FPlays[static_cast<size_t>(i)].Card});
    return m;
}

}  // namespace spades::net
