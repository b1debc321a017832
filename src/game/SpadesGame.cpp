#include "SpadesGame.h"

#include <algorithm>
#include <string>

namespace spades {

TSpadesGame::TSpadesGame(TCardHost& host, uint32_t seed) : Random(seed), FHost(host)
{
    for (int seat = North; seat <= West; ++seat) {
        Table.Players[static_cast<size_t>(seat)] = std::make_unique<TPlayer>(host, Table);
        Table.Player(seat).SetSeat(seat);
    }
    for (int place = 1; place <= 4; ++place)
        Table.Place(place) = TPlayStack(TrickPlaceRect(place));
}

void TSpadesGame::NewGame(const std::array<bool, 5>& human)
{
    for (int seat = North; seat <= West; ++seat) {
        TPlayer& player = Table.Player(seat);
        player.ResetSeat();
        if (human[static_cast<size_t>(seat)]) {
            player.SetFaceUp(true);
            player.SetHuman(true);
        }
    }
    FTurnOrder = NewGameOrder;
    Script.reset();
}

void TSpadesGame::NewGameSameDeal(const std::array<bool, 5>& human)
{
    const std::array<uint8_t, 53> deal = Deck.FDeck;
    const TTurnOrder order = FHandOrder;
    NewGame(human);
    NextDeal = deal;
    FTurnOrder = order;
}

void TSpadesGame::BeginHand()
{
    if (NextDeal) {
        TFixedDeal replay(*NextDeal);
        NextDeal.reset();
        BeginHand(replay);
    } else {
        TTableShuffle shuffle(Random);
        BeginHand(shuffle);
    }
}

void TSpadesGame::BeginHand(TDealSource& source)
{
    Table.SpadesBroken = false;
    Table.NilInPlay = false;
    Table.BlindNil.fill(false);
    Table.CardsPlayed.fill(false);
    for (int place = 1; place <= 4; ++place)
        Table.Place(place).Clear();
    source.Order(Deck);
    Deck.Deal(Table);
    ++FHandsDealt;
    FPlayCount = 0;
    FBidCount = 0;
    FHandOrder = FTurnOrder;
    for (int seat = North; seat <= West; ++seat) {
        TPlayer& player = Table.Player(seat);
        player.FBid = player.FTricks = player.FBags = 0;
        FHost.SuspendDrawing();
        const TCardName name(seat, 1);
        player.SortHand(name.View().substr(0, 10));  // "imgPlayer" and the seat digit
        FHost.ResumeDrawing();
    }
    FNextFirstSeat = FTurnOrder[2];
}

void TSpadesGame::ComputerBid(int seat)
{
    TPlayer& player = Table.Player(seat);
    if (Script)
        player.FBid = std::clamp(Script->Bids[static_cast<size_t>(seat)], 0, 13);
    else
        player.ComputeBid();
    ++FBidCount;
    if (player.FBid == 0)
        Table.NilInPlay = true;
}

void TSpadesGame::PersonBid(int seat, int bid)
{
    TPlayer& player = Table.Player(seat);
    Table.BlindNil[static_cast<size_t>(seat)] = bid == BlindNilBid;
    player.FBid = std::clamp(bid, 0, 13);
    ++FBidCount;
    if (player.FBid == 0)
        Table.NilInPlay = true;
}

void TSpadesGame::LayOnTable(int seat, int slot, int card, TCardControl* control)
{
    TPlayStack& place = Table.Place(Table.FirstEmptyPlace());
    place.SetSeat(seat);
    place.SetValue(card);
    place.SetCard(control);
    if (FPlayCount < 52 && card >= 1 && card <= 52)
        FPlays[static_cast<size_t>(FPlayCount++)] = {static_cast<uint8_t>(seat), static_cast<uint8_t>(card)};
    if (control && FHost.ShowsCards()) {
        control->MoveTo(place.FBounds.Left, place.FBounds.Top);
        control->SetValue(card);  // face up on the table
        control->BringToFront();
    }
    (void)slot;
}

int TSpadesGame::ScriptedSlot(TPlayer& player)
{
    if (Script->Next < Script->Plays.size()) {
        const int slot = player.SlotOf(Script->Plays[Script->Next++]);
        if (slot != -1)
            return slot;
    }
    // A record that does not fit the deal: the seat chooses for itself.
    return player.ChooseCard();
}

void TSpadesGame::PlayComputerTurn()
{
    TPlayer& player = Table.Player(SeatToPlay());
    PlayComputerCard(Script ? ScriptedSlot(player) : player.ChooseCard());
}

void TSpadesGame::PlayComputerCard(int slot)
{
    const int seat = SeatToPlay();
    TPlayer& player = Table.Player(seat);
    // Nothing to hold back on a table that shows no cards.
    const bool shows = FHost.ShowsCards();
    if (shows)
        FHost.SuspendDrawing();
    if (slot >= 1 && slot <= 13) {
        const int card = player.FHand[static_cast<size_t>(slot)];
        LayOnTable(seat, slot, card, FHost.CardAt(seat, slot));
        if (card >= 1 && card <= 52)
            Table.CardsPlayed[static_cast<size_t>(card)] = true;
        player.PlaySlot(seat, slot);
    }
    if (shows)
        FHost.ResumeDrawing();
    ++FTurn;
}

TPlayVerdict TSpadesGame::CheckPersonCard(int seat, int slot) const
{
    const TPlayer& player = Table.Player(seat);
    return CheckPlay(Table, player, player.FHand[static_cast<size_t>(slot)]);
}

void TSpadesGame::PlayPersonCard(int seat, int slot)
{
    TPlayer& player = Table.Player(seat);
    // The card is taken from the hand, not from its control: a seat switched to a
    // person in mid-hand still shows backs.
    const int card = player.FHand[static_cast<size_t>(slot)];
    if (card == NoCard)
        return;
    const TCardName name(seat, slot);
    TCardControl* control = FHost.CardAt(seat, slot);
    player.PlayCard(name);
    LayOnTable(seat, slot, card, control);
    if (control && FHost.ShowsCards())
        control->ClearClickHandler();
    if (card >= 1 && card <= 52)
        Table.CardsPlayed[static_cast<size_t>(card)] = true;
    ++FTurn;
}

void TSpadesGame::PlaySeatCard(int seat, int card)
{
    const int slot = Table.Player(seat).SlotOf(card);
    if (slot != -1)
        PlayPersonCard(seat, slot);
}

int TSpadesGame::ResolveTrick() { return GiveTrick(TrickWinner(Table)); }

int TSpadesGame::GiveTrick(int winner)
{
    if (winner >= North && winner <= West)
        CountTrick(Table.Player(winner));
    return winner;
}

void TSpadesGame::HideTrickCards()
{
    if (!FHost.ShowsCards())
        return;
    for (int place = 1; place <= 4; ++place) {
        if (TCardControl* control = Table.Place(place).FCard) {
            control->SetValue(Table.CardBack);
            control->SetVisible(false);
        }
    }
}

void TSpadesGame::ClearTrick()
{
    for (int place = 1; place <= 4; ++place)
        Table.Place(place).Clear();
}

void TSpadesGame::StartNextTrick(int winner)
{
    RecomputeNilInPlay(Table);
    FTurnOrder = TurnOrderFrom(winner);
    FTurn = 1;
}

}  // namespace spades
