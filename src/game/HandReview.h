// A played hand looked at again with every card open: for each play, the tricks
// its seat could still take before it and after it, so the plays that cost a
// trick stand out; each bid against what the hand could make; and a person's
// bids and plays beside the Expert's choice from what that person could see.
#pragma once

#include <array>
#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "DoubleDummy.h"
#include "Expert.h"
#include "ExpertView.h"
#include "LeadRule.h"
#include "Rules.h"
#include "SeatKind.h"

namespace spades {

// What a review needs of one hand; indexes 1..4 are the seats.
struct TReviewHand {
    std::array<TCardSet, 5> Dealt{};      // each seat's cards, thirteen in a whole hand
    int FirstSeat = South;                // bids first and leads the first trick
    std::array<int, 5> Bids{};            // 0 is Nil
    std::vector<TPlayRecord> Plays;       // in order of play, at most 52
    // Persons are compared with the Expert.
    std::array<TSeatKind, 5> Kinds{TSeatKind::Computer, TSeatKind::Computer, TSeatKind::Computer,
                                   TSeatKind::Computer, TSeatKind::Computer};
    std::array<int, 5> ScoresBefore{};    // the game's scores when the hand was dealt
    std::array<int, 5> BagsBefore{};
    int WinScore = 250;
    TLeadRule Rule = TLeadRule::AfterBroken;
};

// The deck in the order it was dealt, a card at a time to North, East, South, West.
std::array<TCardSet, 5> DealtHands(const std::array<int, 52>& deal);

struct TPlayReview {
    TPlayRecord Play;
    int Trick = 1;         // 1..13
    // The seat's tricks in the whole hand with best play from here on: before the
    // card (its best card) and after it. For a Nil bidder, the tricks it can be
    // made to take, so there fewer is better.
    int Before = 0;
    int After = 0;
    bool Nil = false;
    int ExpertCard = 0;    // a person's seat only, and only where it differs; 0 otherwise
    bool Solved = true;    // false: past the scope's bound, Before and After say nothing
    int Cost() const { return !Solved ? 0 : Nil ? After - Before : Before - After; }
};

struct TBidReview {
    int Bid = 0;
    // With every card open: the most tricks the hand takes against the others, or
    // for a Nil bid 0 when it can duck every trick and 1 when it cannot.
    int Makeable = 0;      // -1: past the scope's bound
    int ExpertBid = -1;    // a person's seat only; -1 otherwise
};

struct TReview {
    std::array<TBidReview, 5> Bids{};
    std::vector<TPlayReview> Plays;
    std::array<int, 14> TrickWinners{};  // by trick, 1..13; 0 for a trick not finished
    bool Complete = false;               // false when it was cancelled
};

// Two cards of one suit with nothing between them but settled cards (played, or
// the seat's own) come to the same: neither is a different choice from the other.
bool PlaysAlike(int a, int b, TCardSet settled);

// Empty when the hand can be reviewed; otherwise what is wrong with its record.
std::string CheckReviewHand(const TReviewHand& hand);

// What the seat could see just before the play with that index (the bid, for
// playIndex -1): its own cards, every bid before its turn and every card laid.
TExpertView ReviewViewAt(const TReviewHand& hand, int seat, int playIndex);

// How much of a hand to look at: the bids, the plays of some seats, the Expert's choices.
struct TReviewScope {
    bool Bids = true;
    bool CompareExpert = true;
    uint8_t Seats = 0x1E;  // bit (1 << seat); the others' plays are listed with no figures
    // Solver nodes for one bid's or play's figures; one that needs more is left
    // without them. 0: no limit.
    uint64_t StepNodes = 0;
};

class THandReviewer {
public:
    explicit THandReviewer(TExpertSettings expert = {}) : FExpert(expert) {}

    // The whole review, a step at a time: progress(done, total) after each; a
    // request to stop is seen between steps and inside the solver's searches.
    // The hand must pass CheckReviewHand.
    TReview Review(const TReviewHand& hand, const std::atomic<bool>* stop = nullptr,
                   const std::function<void(int, int)>& progress = {}, const TReviewScope& scope = {});

private:
    TDoubleDummy FSolver;
    TExpertPlayer FExpert;
};

}  // namespace spades
