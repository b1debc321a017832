// A game's whole state at one moment, to be put back later: the table leaves a
// game for a while (to watch a recorded hand) and returns to it as it stood.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "SpadesGame.h"

namespace spades {

struct TGameSnapshot {
    struct TSeat {
        std::string Name;
        bool FaceUp = false, Human = false, Expert = false;
        TNetPlayer Net;
        std::array<int, 14> Hand{};
        std::array<int, 5> SuitCount{};
        int CardCount = 0, LastPlayed = NoCard;
        int Bid = 0, Tricks = 0, Bags = 0, TotalBags = 0, Score = 0;
    };
    struct TPlace {
        int Value = NoCard, Seat = 0;
        std::string Card;  // the control lying there, by name
    };
    std::array<TSeat, 5> Seats;
    std::array<TPlace, 5> Places;
    std::array<bool, 53> CardsPlayed{};
    bool SpadesBroken = false, NilInPlay = false, AllComputer = true, StopRequested = false;
    std::array<bool, 5> BlindNil{};
    std::array<TPlayRecord, 52> Plays{};
    int PlayCount = 0, BidCount = 0;
    TTurnOrder HandOrder = NewGameOrder, TurnOrder = NewGameOrder;
    int NextFirstSeat = South, Turn = 1;
    TRuleSet Rules;
    TDeck Deck;
    uint32_t Seed = 0;
    std::optional<std::array<uint8_t, 53>> NextDeal;
};

TGameSnapshot TakeSnapshot(const TSpadesGame& game);
// Puts the state back and lays every card control out as it lay: the hands in
// their fans, the trick's cards on their places, the cards gone hidden.
void RestoreSnapshot(TSpadesGame& game, TCardHost& host, const TGameSnapshot& snapshot);

}  // namespace spades
