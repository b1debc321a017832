// The game hand by hand: each seat's bid, tricks, points, bags and penalties,
// kept as the hands are scored (or read back when a game is continued).
#pragma once

#include <array>
#include <vector>

#include "PlayerU.h"

namespace spades {

struct TSheetEntry {
    int Bid = 0;        // 0 is Nil
    int Tricks = 0;
    int Points = 0;     // what the contract scored
    int Penalty = 0;    // taken off for bags (0 or negative)
    int Bags = 0;       // overtricks of this hand
    int GameBags = 0;   // overtricks since the game began
    int Score = 0;      // game score after the hand
    bool operator==(const TSheetEntry&) const = default;
};

struct TSheetHand {
    int Number = 0;
    std::array<TSheetEntry, 4> Seats{};  // North, East, South, West
    const TSheetEntry& Seat(int seat) const { return Seats[static_cast<size_t>(seat - 1)]; }
};

class TScoreSheet {
public:
    using TSeatValues = std::array<int, 4>;  // North, East, South, West

    void Clear() { FHands.clear(); }
    // One scored hand; the penalty is what the score moved beyond the contract.
    void AddHand(const TSeatValues& bids, const TSeatValues& tricks, const TSeatValues& bags,
                 const TSeatValues& scores);
    // The hand just scored at this table.
    void AddHand(const TTableState& table);

    const std::vector<TSheetHand>& Hands() const { return FHands; }
    bool Empty() const { return FHands.empty(); }

private:
    std::vector<TSheetHand> FHands;
};

}  // namespace spades
