// What the history keeps of a game and of a hand, as plain values. Seats are
// numbered 1..4 (North, East, South, West); index 0 of every per-seat array is unused.
#pragma once

#include <QDateTime>
#include <QString>
#include <array>
#include <optional>
#include <vector>

namespace spades {

using TSeatInts = std::array<int, 5>;

enum class TSeatType { Person = 0, Computer = 1, Expert = 2 };
// A stored seat type; anything unknown is taken for the computer.
constexpr TSeatType SeatTypeOf(int stored)
{
    return stored == 0 ? TSeatType::Person : stored == 2 ? TSeatType::Expert : TSeatType::Computer;
}
enum class TGameOutcome { Unfinished = 0, Won = 1, Abandoned = 2 };

struct TGameSeat {
    QString Name;
    TSeatType Type = TSeatType::Computer;
    bool operator==(const TGameSeat&) const = default;
};

struct TGameRecord {
    qint64 Id = 0;
    QDateTime Started;
    QDateTime Ended;  // invalid while the game is unfinished
    int WinScore = 250;
    std::array<TGameSeat, 5> Seats;
    int Winner = 0;  // seat, 0 while nobody has won
    TGameOutcome Outcome = TGameOutcome::Unfinished;
    int Undos = 0;  // steps the people took back
    // The options that differ from the table's own (HouseRulesText); empty for
    // the table's own rules. The score to win is WinScore.
    QString Rules;
};

// One hand. The deal is the deck in the order it was dealt, one card at a time
// to North, East, South and West; the plays are the cards in order of play,
// trick by trick (the deal tells whose card each was).
struct THandRecord {
    int Number = 0;
    int FirstSeat = 3;
    std::array<int, 52> Deal{};
    std::vector<int> Plays;
    TSeatInts Bids{};    // 0 is Nil
    TSeatInts Tricks{};
    TSeatInts Bags{};    // overtricks of this hand
    TSeatInts Scores{};  // game scores after this hand
    std::vector<int> Undone;  // the cards taken back, in order; 0 stands for a bid
    bool Scored = false;
    bool operator==(const THandRecord&) const = default;
};

// Where a game that was cut short stands, enough to play on from there.
struct TResumePoint {
    TGameRecord Game;
    int HandsScored = 0;
    TSeatInts Scores{};     // after the last scored hand
    TSeatInts TotalBags{};  // accumulated over the scored hands
    int FirstSeat = 3;      // of the hand to play next
    // The hand that was in play, as it was dealt; none when the cut came after
    // a hand was scored and before the next one was dealt.
    std::optional<std::array<int, 52>> Deal;
};

// One seat name with its type over a period: the figures the statistics show.
struct TSeatFigures {
    QString Name;
    TSeatType Type = TSeatType::Computer;
    long long Games = 0;
    long long Won = 0;
    long long Hands = 0;
    long long Points = 0;
    long long Bids = 0;   // contracts of one trick or more
    long long Made = 0;
    long long Exact = 0;
    long long Nils = 0;
    long long NilsWon = 0;
    long long Bags = 0;
    int BestScore = 0;

    double WinRate() const { return Games ? double(Won) / double(Games) : 0.0; }
    double PointsPerHand() const { return Hands ? double(Points) / double(Hands) : 0.0; }
    double BagsPerHand() const { return Hands ? double(Bags) / double(Hands) : 0.0; }
    bool operator==(const TSeatFigures&) const = default;
};

// One seat's part of a game, kept up to date hand by hand so that the figures
// over many games never need the hands themselves.
struct TSeatTally {
    long long Hands = 0, Points = 0, Bids = 0, Made = 0, Exact = 0, Nils = 0, NilsWon = 0, Bags = 0;
    int Score = 0;
    // Adds one scored hand; previousScore is the seat's score before it.
    void Add(const THandRecord& hand, int seat, int previousScore);
};

// The text forms of the stored card and seat lists: numbers separated by spaces.
QString JoinNumbers(const int* values, size_t count);
// Nothing when the text holds anything but count numbers within [low, high].
std::optional<std::vector<int>> SplitNumbers(const QString& text, int low, int high,
                                             std::optional<size_t> count = std::nullopt);
// The four seat values 1..4 as text, and back.
QString JoinSeats(const TSeatInts& values);
std::optional<TSeatInts> SplitSeats(const QString& text, int low, int high);

// True when the deal holds every card 1..52 once.
bool IsWholeDeck(const std::array<int, 52>& deal);

}  // namespace spades
