// The double-dummy solver: with every seat's cards open, the tricks a seat (or a
// side) takes of those left when it plays for them and the other seats play
// against it; for a Nil, whether it ducks every one. Exact, and bounded in memory.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "DDSearch.h"
#include "ExpertView.h"
#include "Random.h"
#include "Rules.h"

namespace spades {

struct TDDPosition {
    std::array<TCardSet, 5> Hands{};     // seats 1..4: the cards each still holds
    std::array<TPlayRecord, 3> Trick{};  // the current trick so far, in the order laid
    int TrickCount = 0;
    int Leader = North;                  // who leads, or led, the current trick
    bool SpadesBroken = false;           // before the current trick was led
    TLeadRule Rule = TLeadRule::AfterBroken;

    int ToPlay() const { return (Leader - 1 + TrickCount) % 4 + 1; }
    // The current trick included.
    int TricksLeft() const { return CountCards(Hands[static_cast<size_t>(ToPlay())]); }
};

// Empty when the position can be played out by the rules; otherwise what is wrong.
std::string CheckPosition(const TDDPosition& position);
// The cards the seat to play may lay.
TCardSet LegalPlays(const TDDPosition& position);
// The position once the seat to play lays card, one of its legal plays.
TDDPosition After(const TDDPosition& position, int card);

// A random position for trying the solver: tricksLeft cards to every seat from a
// shuffled deck, a random leader and state of spades, then inTrick random legal cards.
TDDPosition RandomPosition(TRandom& random, int tricksLeft, int inTrick, TLeadRule rule);

// Whose tricks are counted, and who plays to make them many. Bit (1 << seat).
struct TDDGoal {
    uint8_t Counted = 0;
    uint8_t Maximisers = 0;

    // The seat takes what it can, the other three stop it.
    static constexpr TDDGoal Seat(int seat) { return Side(static_cast<uint8_t>(1u << seat)); }
    static constexpr TDDGoal Side(uint8_t seats) { return {seats, seats}; }
    // The seat ducks, the other three push tricks on it.
    static constexpr TDDGoal Nil(int seat)
    {
        return {static_cast<uint8_t>(1u << seat), static_cast<uint8_t>(0x1Eu & ~(1u << seat))};
    }
};

struct TDDCardValue {
    int Card = 0;
    int Tricks = 0;  // of those left before the card, with best play after it
};

class TDoubleDummy {
public:
    static constexpr int DefaultTableBits = 20;
    // A transposition table of 2^tableBits entries, kept from one question to the next.
    explicit TDoubleDummy(int tableBits = DefaultTableBits) : FSearch(tableBits) {}

    // Every position asked about must pass CheckPosition.
    int Tricks(const TDDPosition& position, TDDGoal goal);
    // Do the counted seats take at least target tricks? Quicker than Tricks.
    bool Reaches(const TDDPosition& position, TDDGoal goal, int target);
    int MostTricks(const TDDPosition& position, int seat) { return Tricks(position, TDDGoal::Seat(seat)); }
    int FewestTricks(const TDDPosition& position, int seat) { return Tricks(position, TDDGoal::Nil(seat)); }
    bool CanAvoidEveryTrick(const TDDPosition& position, int seat) { return !Reaches(position, TDDGoal::Nil(seat), 1); }

    // Each legal card of the seat to play, in order of card value, with the goal's
    // tricks after it.
    std::vector<TDDCardValue> CardValues(const TDDPosition& position, TDDGoal goal);
    // The rest of the hand with best play on both sides, each seat laying
    // the first of its best cards by value.
    std::vector<TPlayRecord> BestLine(const TDDPosition& position, TDDGoal goal);

    // Questions asked from now on throw EDDGaveUp once past the bound.
    void SetBound(const TDDBound& bound) { FSearch.SetBound(bound); }
    const TDDBound& Bound() const { return FSearch.Bound(); }

    size_t TableBytes() const { return FSearch.TableBytes(); }
    uint64_t Nodes() const { return FSearch.Nodes(); }

private:
    TDDSearch FSearch;
};

// A bound for a stretch of questions; the solver's bound before comes back after.
class TDDBoundScope {
public:
    TDDBoundScope(TDoubleDummy& solver, const TDDBound& bound) : FSolver(solver), FBefore(solver.Bound())
    {
        solver.SetBound(bound);
    }
    ~TDDBoundScope() { FSolver.SetBound(FBefore); }
    TDDBoundScope(const TDDBoundScope&) = delete;
    TDDBoundScope& operator=(const TDDBoundScope&) = delete;

private:
    TDoubleDummy& FSolver;
    TDDBound FBefore;
};

}  // namespace spades
