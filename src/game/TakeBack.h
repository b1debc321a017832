// A person's last step taken back: the card, while no later card has been played
// and its trick still lies on the table; the bid, while the bidding round is still
// open (the later seats' bids go with it). The game is kept as it stood just before that step and put back whole.
#pragma once

#include <cstdint>
#include <optional>

#include "GameSnapshot.h"

namespace spades {

class TTakeBack {
public:
    enum class TKind : uint8_t { Bid, Card };
    struct TUndone {
        int Seat = 0;
        TKind Kind = TKind::Card;
        int Value = 0;  // the card taken back, or the bid (0 Nil)
    };

    // Just before the seat's bid or card goes in.
    void Before(const TSpadesGame& game, int seat, TKind kind);
    void Forget() { FPoint.reset(); }
    // The step kept is still the last one of the hand.
    bool Possible(const TSpadesGame& game) const;
    // Puts the game back to just before that step; nothing when it is no longer possible.
    std::optional<TUndone> TakeBack(TSpadesGame& game, TCardHost& host);

private:
    struct TPoint {
        TGameSnapshot Before;
        int Seat = 0;
        TKind Kind = TKind::Card;
        uint32_t Hand = 0;
        int Tricks = 0;
    };
    std::optional<TPoint> FPoint;
};

}  // namespace spades
