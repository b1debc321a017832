#include "HostGame.h"

#include <algorithm>

#include "GameLines.h"

namespace spades::net {

namespace {
uint8_t U8(int v) { return static_cast<uint8_t>(v); }
uint16_t HandNumberOf(int hand) { return static_cast<uint16_t>(std::min(hand, 65535)); }
uint16_t BagsOf(const TPlayer& player) { return static_cast<uint16_t>(std::clamp(player.FTotalBags, 0, 65535)); }
}  // namespace

THostGame::THostGame(THostWire& wire, THostGameOptions options, std::ostream* log)
    : FWire(wire), FOptions(std::move(options)), FGame(FHost, FOptions.Seed), FCycle(FGame, FOptions.Rules),
      FRemote(wire, FOptions.TurnTimeoutMs)
{
    for (int seat = North; seat <= West; ++seat) {
        const auto i = static_cast<size_t>(seat);
        FGame.Table.Player(seat).SetName(FOptions.Names[i - 1]);
        const TSeatKind kind = FOptions.Kinds[i - 1];
        FKinds[i] = kind == TSeatKind::Expert || kind == TSeatKind::Remote ? kind : TSeatKind::Computer;
        if (FKinds[i] == TSeatKind::Expert)
            FOwn[i] = std::make_unique<TExpertController>(FOptions.Expert);
        else if (FKinds[i] == TSeatKind::Remote)
            FOwn[i] = std::make_unique<TRemoteController>(FRemote, FClassic);
        FSeats.Set(seat, FOwn[i] ? *FOwn[i] : FClassic);
    }
    FCycle.SetPauses(FOptions.PauseAfterCards);
    FCycle.SetDealSource(FOptions.Deals.get());
    FCycle.Watch(*this, EventBit(TGameEvent::HandDealt) | EventBit(TGameEvent::BidMade) |
                            EventBit(TGameEvent::CardPlayed) | EventBit(TGameEvent::TrickWon) |
                            EventBit(TGameEvent::HandScored) | EventBit(TGameEvent::GameOver));
    if (log) {
        FLog.emplace(*log);
        FCycle.Watch(*FLog, TPlayLogObserver::Events);
    }
}

void THostGame::SetSeatName(int seat, const std::string& name)
{
    FGame.Table.Player(seat).SetName(name);
    FOptions.Names[static_cast<size_t>(seat - 1)] = name;
}

void THostGame::GiveSeatToComputer(int seat)
{
    FKinds[static_cast<size_t>(seat)] = TSeatKind::Computer;
    FSeats.Set(seat, FClassic);
    SetSeatKind(FGame.Table.Player(seat), TSeatKind::Computer);
}

void THostGame::NewGame(int gameNumber)
{
    FSeats.Cancel(FCycle.Waiting());
    FCycle.NewGame(gameNumber, FKinds);
}

TStep THostGame::Step()
{
    if (FRemote.Waiting())
        return TStep::WaitRemote;
    for (;;) {
        // Asked again in a pause: the driver has taken it, or (after an answer
        // from afar) paced it itself.
        if (FCycle.Waiting().Kind == TWaitKind::Pause)
            FCycle.Resume(FCycle.Waiting().Turn);
        const spades::TWait& wait = FCycle.Play(FSeats);
        switch (wait.Kind) {
        case TWaitKind::Bid:
        case TWaitKind::Card:
            return TStep::WaitRemote;
        case TWaitKind::Pause:
            // As at the table: no pause after the computer's fourth card, two once the
            // trick is taken (after the last trick, before the hand is scored).
            switch (wait.Pause) {
            case TPauseKind::Card:
                return TStep::Pause;
            case TPauseKind::LastCard:
                break;
            case TPauseKind::TrickWon:
                if (FGame.HandOver())
                    return TStep::TrickPause;
                break;
            case TPauseKind::TrickCleared:
                return TStep::TrickPause;
            }
            break;
        case TWaitKind::HandOver:
            FCycle.NextHand();
            return TStep::HandEnded;
        case TWaitKind::GameOver:
        case TWaitKind::Nothing:
            return TStep::GameEnded;
        }
    }
}

std::optional<TErrorMsg> THostGame::Bid(int seat, uint32_t turn, int bid)
{
    return FRemote.Bid(seat, turn, bid);
}

std::optional<TErrorMsg> THostGame::Play(int seat, uint32_t turn, int card)
{
    return FRemote.Play(seat, turn, card);
}

void THostGame::PlayAbsent()
{
    FRemote.PlayAbsent();
}

void THostGame::HandDealt(const TSpadesGame& game, int handNumber)
{
    for (int seat = North; seat <= West; ++seat) {
        THandMsg hand;
        hand.HandNumber = HandNumberOf(handNumber);
        hand.FirstSeat = U8(game.Bidder(1));
        const TPlayer& player = game.Table.Player(seat);
        for (size_t slot = 1; slot <= 13; ++slot)
            hand.Slots[slot - 1] = U8(player.FHand[slot]);
        // Each player is sent their own hand and nothing of the others'.
        FWire.SendTo(seat, hand);
    }
}

void THostGame::BidMade(const TSpadesGame& game, int seat)
{
    FWire.Broadcast(TBidMadeMsg{U8(seat), U8(game.Table.Player(seat).FBid)});
}

void THostGame::CardPlayed(const TSpadesGame&, int seat, int card, int place)
{
    FWire.Broadcast(TCardPlayedMsg{U8(seat), U8(card), U8(place)});
}

void THostGame::TrickWon(const TSpadesGame& game, int winner)
{
    TTrickWonMsg won;
    won.Winner = U8(winner);
    for (int seat = North; seat <= West; ++seat)
        won.Tricks[static_cast<size_t>(seat - 1)] = U8(game.Table.Player(seat).FTricks);
    FWire.Broadcast(won);
}

void THostGame::HandScored(const TSpadesGame& game, const TScoreResult& result)
{
    THandScoredMsg scored;
    for (int seat = North; seat <= West; ++seat) {
        const TPlayer& p = game.Table.Player(seat);
        scored.Seats[static_cast<size_t>(seat - 1)] = {p.FScore, U8(p.FBid), U8(p.FTricks), U8(p.FBags), BagsOf(p)};
    }
    scored.Winner = U8(result.WinnerSeat);
    FWire.Broadcast(scored);
    FWire.Report(HandScoresLine(FCycle.GameNumber(), FCycle.HandNumber(), game.Table));
}

void THostGame::GameOver(const TSpadesGame& game, int winnerSeat)
{
    if (winnerSeat == 0)
        return;
    // In a partnership a side wins, and its name is told as the simulator prints it.
    const std::string name =
        FCycle.Rules().Partnership() ? SideName(SideOf(winnerSeat)) : game.Table.Player(winnerSeat).FName;
    FWire.Broadcast(TGameOverMsg{U8(winnerSeat), name});
    FWire.Report(GameWinnerLine(FCycle.GameNumber(), name, FCycle.HandNumber()));
}

TPhase THostGame::Phase() const
{
    if (FCycle.WinnerSeat() != 0)
        return TPhase::Over;
    if (!FCycle.HandInPlay())
        return TPhase::Idle;
    int tricks = 0;
    for (int seat = North; seat <= West; ++seat)
        tricks += FGame.Table.Player(seat).FTricks;
    if (tricks == 13)
        return TPhase::Over;  // the last trick is taken, the hand not yet scored
    return FCycle.HasBid(FGame.Bidder(4)) ? TPhase::Playing : TPhase::Bidding;
}

TSyncMsg THostGame::SyncFor(int seat) const
{
    TSyncMsg m;
    const TTableState& table = FGame.Table;
    m.HandNumber = HandNumberOf(FCycle.HandNumber());
    m.Phase = Phase();
    const bool dealt = m.Phase == TPhase::Bidding || m.Phase == TPhase::Playing;
    const TPlayer& own = table.Player(seat);
    for (size_t slot = 1; slot <= 13; ++slot) {
        const int card = own.FHand[slot];
        m.Slots[slot - 1] = dealt && card >= 1 && card <= 52 ? U8(card) : NoSlotCard;
    }
    for (int s = North; s <= West; ++s) {
        const TPlayer& p = table.Player(s);
        const auto i = static_cast<size_t>(s - 1);
        m.Bids[i] = dealt && FCycle.HasBid(s) ? U8(p.FBid) : NoBid;
        m.Tricks[i] = U8(p.FTricks);
        m.Scores[i] = p.FScore;
        m.TotalBags[i] = BagsOf(p);
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
    const TPhase phase = Phase();
    if (phase == TPhase::Bidding || phase == TPhase::Playing)
        for (int i = 0; i < FGame.FPlayCount && i < 52; ++i)
            m.Plays.push_back({FGame.FPlays[static_cast<size_t>(i)].Seat, FGame.FPlays[static_cast<size_t>(i)].Card});
    return m;
}

}  // namespace spades::net
