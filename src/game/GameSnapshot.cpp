#include "GameSnapshot.h"

namespace spades {

TGameSnapshot TakeSnapshot(const TSpadesGame& game)
{
    TGameSnapshot s;
    const TTableState& table = game.Table;
    for (int seat = North; seat <= West; ++seat) {
        const TPlayer& p = table.Player(seat);
        s.Seats[static_cast<size_t>(seat)] = {p.FName,  p.FFaceUp, p.FHuman, p.FExpert, p.FNet,   p.FHand,
                                              p.FSuitCount, p.FCardCount, p.FLastPlayed, p.FBid, p.FTricks,
                                              p.FBags,  p.FTotalBags, p.FScore};
    }
    for (int place = 1; place <= 4; ++place) {
        const TPlayStack& stack = table.Place(place);
        s.Places[static_cast<size_t>(place)] = {stack.FValue, stack.FSeat, stack.FCard ? stack.FCard->Name() : ""};
    }
    s.CardsPlayed = table.CardsPlayed;
    s.SpadesBroken = table.SpadesBroken;
    s.NilInPlay = table.NilInPlay;
    s.BlindNil = table.BlindNil;
    s.AllComputer = table.AllComputer;
    s.StopRequested = table.StopRequested;
    s.Plays = game.FPlays;
    s.PlayCount = game.FPlayCount;
    s.BidCount = game.FBidCount;
    s.HandOrder = game.FHandOrder;
    s.TurnOrder = game.FTurnOrder;
    s.NextFirstSeat = game.FNextFirstSeat;
    s.Rules = game.FRules;
    s.Turn = game.FTurn;
    s.Deck = game.Deck;
    s.Seed = game.Random.Seed();
    s.NextDeal = game.NextDeal;
    return s;
}

void RestoreSnapshot(TSpadesGame& game, TCardHost& host, const TGameSnapshot& s)
{
    TTableState& table = game.Table;
    table.CardsPlayed = s.CardsPlayed;
    table.SpadesBroken = s.SpadesBroken;
    table.NilInPlay = s.NilInPlay;
    table.BlindNil = s.BlindNil;
    table.AllComputer = s.AllComputer;
    table.StopRequested = s.StopRequested;
    game.FPlays = s.Plays;
    game.FPlayCount = s.PlayCount;
    game.FBidCount = s.BidCount;
    game.FHandOrder = s.HandOrder;
    game.FTurnOrder = s.TurnOrder;
    game.FNextFirstSeat = s.NextFirstSeat;
    game.FRules = s.Rules;
    table.Rules = s.Rules.Table;
    game.FTurn = s.Turn;
    game.Deck = s.Deck;
    game.Random.SetSeed(s.Seed);
    game.NextDeal = s.NextDeal;
    game.Script.reset();

    for (int place = 1; place <= 4; ++place) {
        const auto& saved = s.Places[static_cast<size_t>(place)];
        TPlayStack& stack = table.Place(place);
        stack.SetValue(saved.Value);
        stack.SetSeat(saved.Seat);
        stack.SetCard(saved.Card.empty() ? nullptr : host.FindCard(saved.Card));
    }
    const bool shows = host.ShowsCards();
    if (shows)
        host.SuspendDrawing();
    for (int seat = North; seat <= West; ++seat) {
        const auto& saved = s.Seats[static_cast<size_t>(seat)];
        TPlayer& p = table.Player(seat);
        p.FName = saved.Name;
        p.FFaceUp = saved.FaceUp;
        p.FHuman = saved.Human;
        p.FExpert = saved.Expert;
        p.FNet = saved.Net;
        p.FHand = saved.Hand;
        p.FSuitCount = saved.SuitCount;
        p.FCardCount = saved.CardCount;
        p.FLastPlayed = saved.LastPlayed;
        p.FBid = saved.Bid;
        p.FTricks = saved.Tricks;
        p.FBags = saved.Bags;
        p.FTotalBags = saved.TotalBags;
        p.FScore = saved.Score;
        if (!shows)
            continue;
        // Cards gone from the hand lie hidden until a trick place claims them below.
        for (int slot = 1; slot <= 13; ++slot)
            if (p.FHand[static_cast<size_t>(slot)] == NoCard)
                if (TCardControl* card = host.CardAt(seat, slot)) {
                    card->ClearClickHandler();
                    card->SetValue(table.CardBack);
                    card->SetVisible(false);
                }
        p.RefreshCards(TCardName(seat, 1).View().substr(0, 10));
    }
    if (shows) {
        for (int place = 1; place <= 4; ++place) {
            const TPlayStack& stack = table.Place(place);
            if (stack.HasCard() && stack.FCard)
                stack.FCard->LayOut(stack.FBounds, stack.FValue);
        }
        host.ResumeDrawing();
    }
}

}  // namespace spades
