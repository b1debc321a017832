// The rules of play as the table enforces them, with no screen: turn order, the
// trick winner, what a person may play, counting tricks and bags, scoring a hand.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "PlayerU.h"

namespace spades {

// Seats in the order they bid or play, at indexes 1..4.
using TTurnOrder = std::array<int, 5>;
// South bids first and leads the first trick of a new game.
constexpr TTurnOrder NewGameOrder = {0, South, West, North, East};
// The given seat first, then clockwise.
TTurnOrder TurnOrderFrom(int firstSeat);

// Seat of the winner of the four cards on the table: the highest spade if any
// spade lies there, else the highest card of the led suit (Ace high).
int TrickWinner(const TTableState& table);

enum class TPlayVerdict { Legal, MustFollowSuit, SpadesNotOpened };

// One card laid in a hand, and who laid it.
struct TPlayRecord {
    uint8_t Seat = 0;
    uint8_t Card = 0;
};
// May this seat lay this card now? Asked for a person's click only.
TPlayVerdict CheckPlay(const TTableState& table, const TPlayer& seat, int card);
// "You must follow suit", "Spades have not been opened!", or empty for a legal card.
std::string_view VerdictText(TPlayVerdict verdict);

// The winner takes one more trick; overtricks above a positive bid are the hand's bags.
void CountTrick(TPlayer& winner);
// A nil is alive while some seat bid nil and has taken no trick.
void RecomputeNilInPlay(TTableState& table);
// The hand is over once North has played its last card.
bool HandOver(const TTableState& table);

struct TScoreResult {
    std::vector<std::string> Notices;  // bag-limit notices in seat order
    int WinnerSeat = 0;                // 0: nobody has won yet
    std::string WinnerName;
};
// What one seat's contract scores: bid 0 is Nil; each overtrick is worth a point.
int ContractPoints(int bid, int tricks);
// Scores every seat on its own, charges the bag penalty and tests for a winner:
// the table's own rules, with this score to win (TRuleSet::Score for others).
TScoreResult ScoreHand(TTableState& table, int winScore);

std::string BagLimitNotice(const std::string& name);
std::string WinnerNotice(const std::string& name);

constexpr int BagLimit = 100;
constexpr int BagPenalty = 100;

}  // namespace spades
