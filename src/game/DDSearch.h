// The exact search behind the double-dummy solver: null-window alpha-beta on the
// count of tricks, a fixed-size transposition table keyed by the cards' order
// within each suit (so positions that differ only in cards gone are one entry),
// equivalent cards tried once, the table's best card and quick tricks first.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <limits>
#include <utility>
#include <vector>

#include "LeadRule.h"

namespace spades {

// A card inside the search: the suit's lane (spades first) times 16 plus the
// rank's place in play, the 2 lowest and the Ace 12. Sets of them are lanes.
using TDDLanes = uint64_t;
constexpr TDDLanes DDLaneMask(int lane) { return TDDLanes{0x1FFF} << (16 * lane); }
constexpr TDDLanes DDSpades = DDLaneMask(0);

// A position as the search sees it; seats are indexes 0..3 (North..West).
struct TDDState {
    std::array<TDDLanes, 4> Hand{};
    std::array<uint8_t, 4> Trick{};  // cards laid in the current trick, in order
    int Count = 0;                   // how many
    int Leader = 0;
    bool Broken = false;             // before the current trick
    TLeadRule Rule = TLeadRule::AfterBroken;
};

// Does a beat best, the card winning the trick so far?
constexpr bool DDBeats(int a, int best) { return (a >> 4) == (best >> 4) ? a > best : (a >> 4) == 0; }
// The index of the seat (0..3) whose card wins a full trick.
int DDTrickWinner(const TDDState& state);
// The legal cards of the seat to play.
TDDLanes DDLegal(const TDDState& state);
// Of each run of legal cards that no other card left (nor one on the table)
// separates, the lowest: every card of a run gives the same result.
TDDLanes DDDistinct(const TDDState& state, TDDLanes legal);

// How far searches may go before they give up: a count of nodes over every
// search from when the bound is set, and a flag that stops them at once.
struct TDDBound {
    uint64_t Nodes = 0;                      // 0: no limit
    const std::atomic<bool>* Stop = nullptr;  // nullptr: never stopped
};

// Thrown out of a search that reached its bound: the question has no answer.
class EDDGaveUp : public std::exception {
public:
    const char* what() const noexcept override { return "the double-dummy search gave up"; }
};

class TDDSearch {
public:
    explicit TDDSearch(int tableBits);

    // Tricks that the seats in counted take of those left (the current trick
    // included), the seats in maximisers playing for that and the rest against.
    // Masks have bit i for seat index i.
    int Solve(const TDDState& state, uint8_t counted, uint8_t maximisers);
    // Do they take at least target?
    bool Reaches(const TDDState& state, uint8_t counted, uint8_t maximisers, int target);

    // From now on searches throw EDDGaveUp once past the bound. What the table
    // learnt before stays true, so the next question is answered exactly.
    void SetBound(const TDDBound& bound);
    const TDDBound& Bound() const { return FBound; }

    size_t TableBytes() const { return FTable.size() * sizeof(TEntry); }
    uint64_t Nodes() const { return FNodes; }

private:
    struct TEntry {
        uint64_t K0 = 0, K1 = 0;
        uint16_t Tag = 0xFFFF;  // never a real tag
        uint8_t Lower = 0, Upper = 0;
        uint8_t Best = 0xFF;    // lane * 16 + place from the bottom among cards left
        uint8_t Left = 0;
    };
    struct TKey {
        uint64_t K0, K1;
        uint16_t Tag;
    };
    struct TMoves {
        std::array<uint8_t, 13> Card{};
        int Size = 0;
    };

    int Start(const TDDState& state, uint8_t counted, uint8_t maximisers);
    bool Search(int need);
    void CheckBound();
    bool LastTrick(int need) const;
    int QuickTricks() const;
    // Tricks each side is sure of from its top spades: the maximisers', the others'.
    std::pair<int, int> SureSpades() const;
    TKey KeyOf() const;
    size_t BucketOf(const TKey& key) const;
    const TEntry* Find(const TKey& key) const;
    void Store(const TKey& key, int left, bool reached, int need, int best);
    int DecodeBest(uint8_t best) const;
    uint8_t EncodeBest(int card) const;
    void Order(int seat, int hint, TMoves& moves) const;
    void Lay(int card);
    void TakeBack();

    std::vector<TEntry> FTable;
    int FShift = 0;
    TDDState S;
    std::array<uint8_t, 4> FWinPlace{};  // place (0..3) of the winning card after each card laid
    uint8_t FCounted = 0, FMax = 0;
    uint64_t FNodes = 0;
    // The bound is looked at only when FNodes reaches FCheckAt, so an unbounded
    // search pays one comparison a node.
    TDDBound FBound;
    uint64_t FBoundEnd = std::numeric_limits<uint64_t>::max();
    uint64_t FCheckAt = std::numeric_limits<uint64_t>::max();
};

}  // namespace spades
