#include <gmock/gmock.h>

#include <algorithm>

#include "DoubleDummy.h"
#include "TestTable.h"

using namespace spades;
using namespace spades::testing;

namespace {

// A plain alpha-beta over every legal play, asking the table's own rules (the
// person's legality check and the trick winner) at every step.
class TReference {
public:
    TReference(const TDDPosition& position, TDDGoal goal) : FGoal(goal), FRule(position.Rule)
    {
        for (int seat = North; seat <= West; ++seat) {
            TPlayer& player = FTable.Seat(seat);
            player.FSuitCount.fill(0);
            for (int card = 1; card <= 52; ++card)
                if (position.Hands[static_cast<size_t>(seat)] & CardBit(card)) {
                    FHands[static_cast<size_t>(seat)].push_back(card);
                    ++player.FSuitCount[static_cast<size_t>(CardSuit(static_cast<uint8_t>(card)))];
                }
        }
        for (int i = 0; i < position.TrickCount; ++i) {
            FTable.Table.Place(i + 1).SetSeat(position.Trick[static_cast<size_t>(i)].Seat);
            FTable.Table.Place(i + 1).SetValue(position.Trick[static_cast<size_t>(i)].Card);
        }
        FLeft = position.TricksLeft();
        FStart = {position.ToPlay(), position.TrickCount + 1, position.SpadesBroken};
    }

    int Value() { return Search(FStart.Seat, FStart.Place, FStart.Broken, -1, FLeft + 1); }

private:
    struct TNode {
        int Seat, Place;
        bool Broken;
    };

    int Search(int seat, int place, bool broken, int alpha, int beta)
    {
        TTableState& table = FTable.Table;
        TPlayer& player = FTable.Seat(seat);
        const bool maximiser = FGoal.Maximisers >> seat & 1u;
        std::vector<int>& hand = FHands[static_cast<size_t>(seat)];
        if (hand.empty())
            return 0;
        int best = maximiser ? -1 : FLeft + 1;
        table.SpadesBroken = broken || FRule == TLeadRule::Anytime;
        for (size_t i = 0; i < hand.size(); ++i) {
            const int card = hand[i];
            table.SpadesBroken = broken || FRule == TLeadRule::Anytime;
            if (CheckPlay(table, player, card) != TPlayVerdict::Legal)
                continue;
            const int suit = CardSuit(static_cast<uint8_t>(card));
            hand.erase(hand.begin() + static_cast<long>(i));
            --player.FSuitCount[static_cast<size_t>(suit)];
            table.Place(place).SetSeat(seat);
            table.Place(place).SetValue(card);
            int value;
            if (place < 4) {
                value = Search(NextSeat(seat), place + 1, broken, alpha, beta);
            } else {
                const int winner = TrickWinner(table);
                bool spade = false;
                std::array<TPlayStack, 5> trick = table.TrickStacks;
                for (int p = 1; p <= 4; ++p)
                    spade = spade || table.Place(p).Suit() == Spades;
                for (int p = 1; p <= 4; ++p)
                    table.Place(p).Clear();
                const int won = FGoal.Counted >> winner & 1u;
                value = won + Search(winner, 1, broken || spade, alpha - won, beta - won);
                table.TrickStacks = trick;
            }
            table.Place(place).Clear();
            ++player.FSuitCount[static_cast<size_t>(suit)];
            hand.insert(hand.begin() + static_cast<long>(i), card);
            if (maximiser) {
                best = std::max(best, value);
                alpha = std::max(alpha, value);
            } else {
                best = std::min(best, value);
                beta = std::min(beta, value);
            }
            if (alpha >= beta)
                break;
        }
        return best;
    }

    TTestTable FTable;
    std::array<std::vector<int>, 5> FHands;
    TDDGoal FGoal;
    TLeadRule FRule;
    int FLeft = 0;
    TNode FStart{};
};

std::string Describe(const TDDPosition& p)
{
    std::string text;
    for (int seat = North; seat <= West; ++seat) {
        text += " NESW"[seat];
        text += '=';
        for (int card = 1; card <= 52; ++card)
            if (p.Hands[static_cast<size_t>(seat)] & CardBit(card))
                text += CardText(card) + ',';
        text += ' ';
    }
    text += "lead=" + std::to_string(p.Leader) + " broken=" + std::to_string(p.SpadesBroken) + " trick=";
    for (int i = 0; i < p.TrickCount; ++i)
        text += CardText(p.Trick[static_cast<size_t>(i)].Card) + ',';
    return text + (p.Rule == TLeadRule::Anytime ? " anytime" : "");
}

enum class TGoalKind { Seat, Nil, Side };
TDDGoal GoalOf(TGoalKind kind, int seat)
{
    switch (kind) {
    case TGoalKind::Nil:
        return TDDGoal::Nil(seat);
    case TGoalKind::Side:
        return TDDGoal::Side(static_cast<uint8_t>((1u << seat) | (1u << (NextSeat(NextSeat(seat))))));
    case TGoalKind::Seat:
        break;
    }
    return TDDGoal::Seat(seat);
}

// ---- Exact against the reference on random endings -------------------------------------------

struct TEndingCase {
    int Tricks;
    int InTrick;
    TLeadRule Rule;
    TGoalKind Goal;
    int Positions;
};

class Endings : public ::testing::TestWithParam<TEndingCase> {};

TEST_P(Endings, EveryCardValueMatchesThePlainSearch)
{
    const TEndingCase& c = GetParam();
    TRandom random(static_cast<uint32_t>(1000 * c.Tricks + 100 * c.InTrick + 10 * static_cast<int>(c.Goal) +
                                         static_cast<int>(c.Rule)));
    TDoubleDummy solver(8);  // small, so entries are replaced as well as found
    for (int i = 0; i < c.Positions; ++i) {
        const TDDPosition position = RandomPosition(random, c.Tricks, c.InTrick, c.Rule);
        ASSERT_EQ(CheckPosition(position), "");
        const int seat = static_cast<int>(random.Below(4)) + 1;
        const TDDGoal goal = GoalOf(c.Goal, seat);
        EXPECT_EQ(solver.Tricks(position, goal), TReference(position, goal).Value()) << Describe(position);
        for (const TDDCardValue& value : solver.CardValues(position, goal)) {
            const TDDPosition next = After(position, value.Card);
            const int won = position.TrickCount == 3 ? (goal.Counted >> next.Leader & 1u) : 0;
            EXPECT_EQ(value.Tricks, won + TReference(next, goal).Value()) << CardText(value.Card) << Describe(position);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Random, Endings,
    ::testing::Values(TEndingCase{1, 0, TLeadRule::AfterBroken, TGoalKind::Seat, 40},
                      TEndingCase{2, 1, TLeadRule::AfterBroken, TGoalKind::Nil, 60},
                      TEndingCase{3, 0, TLeadRule::AfterBroken, TGoalKind::Seat, 60},
                      TEndingCase{3, 2, TLeadRule::Anytime, TGoalKind::Side, 60},
                      TEndingCase{4, 3, TLeadRule::AfterBroken, TGoalKind::Seat, 40},
                      TEndingCase{4, 0, TLeadRule::Anytime, TGoalKind::Seat, 40},
                      TEndingCase{4, 1, TLeadRule::AfterBroken, TGoalKind::Nil, 40},
                      TEndingCase{5, 0, TLeadRule::AfterBroken, TGoalKind::Seat, 10},
                      TEndingCase{5, 2, TLeadRule::Anytime, TGoalKind::Nil, 15},
                      TEndingCase{5, 1, TLeadRule::AfterBroken, TGoalKind::Side, 15}));

// ---- Positions that only look different ----------------------------------------------------

// Each changes a position into one with the same answers.
using TRelabel = TDDPosition (*)(const TDDPosition&, TRandom&);

int MapCards(int card, const std::array<int, 5>& suitOf)
{
    return CardValue(suitOf[static_cast<size_t>(CardSuit(static_cast<uint8_t>(card)))], CardRank(static_cast<uint8_t>(card)));
}

TDDPosition Mapped(const TDDPosition& p, const std::array<int, 5>& suitOf, int turn)
{
    TDDPosition q = p;
    const auto seat = [turn](int s) { return (s - 1 + turn) % 4 + 1; };
    for (int s = North; s <= West; ++s) {
        TCardSet hand = 0;
        for (int card = 1; card <= 52; ++card)
            if (p.Hands[static_cast<size_t>(s)] & CardBit(card))
                hand |= CardBit(MapCards(card, suitOf));
        q.Hands[static_cast<size_t>(seat(s))] = hand;
    }
    for (int i = 0; i < p.TrickCount; ++i) {
        const TPlayRecord& play = p.Trick[static_cast<size_t>(i)];
        q.Trick[static_cast<size_t>(i)] = {static_cast<uint8_t>(seat(play.Seat)), static_cast<uint8_t>(MapCards(play.Card, suitOf))};
    }
    q.Leader = seat(p.Leader);
    return q;
}

// The side suits trade names.
TDDPosition SwapSideSuits(const TDDPosition& p, TRandom&) { return Mapped(p, {0, Spades, Diamonds, Hearts, Clubs}, 0); }

// Every seat moves one place on; the seat asked about moves with it (see below).
TDDPosition TurnSeats(const TDDPosition& p, TRandom&) { return Mapped(p, {0, Spades, Hearts, Clubs, Diamonds}, 1); }

// A held card trades for the next higher card of its suit that is already gone.
TDDPosition RaiseToAPlayedCard(const TDDPosition& p, TRandom& random)
{
    TCardSet present = 0;
    for (int s = North; s <= West; ++s)
        present |= p.Hands[static_cast<size_t>(s)];
    for (int i = 0; i < p.TrickCount; ++i)
        present |= CardBit(p.Trick[static_cast<size_t>(i)].Card);
    TDDPosition q = p;
    for (int tries = 0; tries < 20; ++tries) {
        const int seat = static_cast<int>(random.Below(4)) + 1;
        const int card = static_cast<int>(random.Below(52)) + 1;
        const int rank = CardRank(static_cast<uint8_t>(card));
        if (!(p.Hands[static_cast<size_t>(seat)] & CardBit(card)) || rank == Ace)
            continue;
        const int higher = CardValue(CardSuit(static_cast<uint8_t>(card)), rank == King ? Ace : rank + 1);
        if (present & CardBit(higher))
            continue;
        q.Hands[static_cast<size_t>(seat)] ^= CardBit(card) | CardBit(higher);
        return q;
    }
    return q;
}

class Relabelled : public ::testing::TestWithParam<TRelabel> {};

TEST_P(Relabelled, TakeTheSameTricks)
{
    TRandom random(77);
    TDoubleDummy solver;
    const int turn = GetParam() == &TurnSeats ? 1 : 0;
    for (int i = 0; i < 30; ++i) {
        const TLeadRule rule = i % 2 ? TLeadRule::Anytime : TLeadRule::AfterBroken;
        const TDDPosition position = RandomPosition(random, 7, static_cast<int>(random.Below(4)), rule);
        const TDDPosition changed = GetParam()(position, random);
        ASSERT_EQ(CheckPosition(changed), "") << Describe(changed);
        const int seat = static_cast<int>(random.Below(4)) + 1;
        const int moved = (seat - 1 + turn) % 4 + 1;
        EXPECT_EQ(solver.MostTricks(position, seat), solver.MostTricks(changed, moved)) << Describe(position);
        EXPECT_EQ(solver.FewestTricks(position, seat), solver.FewestTricks(changed, moved)) << Describe(position);
    }
}

INSTANTIATE_TEST_SUITE_P(Changes, Relabelled, ::testing::Values(&SwapSideSuits, &TurnSeats, &RaiseToAPlayedCard));

// ---- Positions with known answers -----------------------------------------------------------

struct TKnownCase {
    const char* north;
    const char* east;
    const char* south;
    const char* west;
    bool broken;
    TLeadRule rule;
    int most;     // North leads and takes at most
    bool ducks;   // North, bidding Nil, takes no trick
};

class Known : public ::testing::TestWithParam<TKnownCase> {};

TEST_P(Known, North)
{
    const TKnownCase& c = GetParam();
    TDDPosition position;
    const std::array<const char*, 5> hands = {"", c.north, c.east, c.south, c.west};
    for (int seat = North; seat <= West; ++seat)
        for (int card : Cards(hands[static_cast<size_t>(seat)]))
            position.Hands[static_cast<size_t>(seat)] |= CardBit(card);
    position.SpadesBroken = c.broken;
    position.Rule = c.rule;
    ASSERT_EQ(CheckPosition(position), "");
    TDoubleDummy solver;
    EXPECT_EQ(solver.MostTricks(position, North), c.most);
    EXPECT_EQ(solver.CanAvoidEveryTrick(position, North), c.ducks);
}

INSTANTIATE_TEST_SUITE_P(
    Hands, Known,
    ::testing::Values(
        // Cashing the top spades needs them broken, or a rule that lets them lead.
        TKnownCase{"AS QS 2H", "KS 3H 3C", "5H 6H 7H", "8H 9H 10H", true, TLeadRule::AfterBroken, 2, false},
        TKnownCase{"AS QS 2H", "KS 3H 3C", "5H 6H 7H", "8H 9H 10H", false, TLeadRule::AfterBroken, 1, false},
        TKnownCase{"AS QS 2H", "KS 3H 3C", "5H 6H 7H", "8H 9H 10H", false, TLeadRule::Anytime, 2, false},
        // Holding only spades, the leader may lead them.
        TKnownCase{"AS KS QS", "2H 3H 4H", "5H 6H 7H", "8H 9H 10H", false, TLeadRule::AfterBroken, 3, false},
        // The Ace ranks high; a Nil under every card ducks all.
        TKnownCase{"2H 2C 2D", "AH AC AD", "KH KC KD", "QH QC QD", true, TLeadRule::AfterBroken, 0, true},
        TKnownCase{"AH 2C 2D", "KH 3C 3D", "QH 4C 4D", "JH 5C 5D", true, TLeadRule::AfterBroken, 1, false}));

}  // namespace
