#include "DoubleDummy.h"

#include <algorithm>
#include <bit>

namespace spades {

namespace {
constexpr std::string_view SeatLetters = " NESW";
size_t At(int index) { return static_cast<size_t>(index); }
int SuitOf(int card) { return CardSuit(static_cast<uint8_t>(card)); }

// Card values to the search's lanes and back: within a suit the Ace moves from
// the bottom to the top.
int LaneCard(int card)
{
    const int rank = CardRank(static_cast<uint8_t>(card));
    return 16 * (SuitOf(card) - 1) + (rank == Ace ? 12 : rank - 2);
}
int CardOfLane(int laneCard)
{
    const int place = laneCard & 15;
    return CardValue((laneCard >> 4) + 1, place == 12 ? Ace : place + 2);
}
TDDLanes LanesOf(TCardSet cards)
{
    TDDLanes lanes = 0;
    for (int suit = 0; suit < 4; ++suit) {
        const uint64_t bits = (cards >> (13 * suit)) & 0x1FFFu;
        lanes |= ((bits >> 1) | ((bits & 1u) << 12)) << (16 * suit);
    }
    return lanes;
}
TCardSet CardsOf(TDDLanes lanes)
{
    TCardSet cards = 0;
    for (; lanes; lanes &= lanes - 1)
        cards |= CardBit(CardOfLane(std::countr_zero(lanes)));
    return cards;
}

TDDState StateOf(const TDDPosition& position)
{
    TDDState state;
    for (int seat = North; seat <= West; ++seat)
        state.Hand[At(seat - 1)] = LanesOf(position.Hands[At(seat)]);
    for (int i = 0; i < position.TrickCount; ++i)
        state.Trick[At(i)] = static_cast<uint8_t>(LaneCard(position.Trick[At(i)].Card));
    state.Count = position.TrickCount;
    state.Leader = position.Leader - 1;
    state.Broken = position.SpadesBroken;
    state.Rule = position.Rule;
    return state;
}
uint8_t SeatIndexes(uint8_t seats) { return static_cast<uint8_t>((seats >> 1) & 15u); }

std::string Named(int seat) { return std::string(1, SeatLetters[At(seat)]); }
}  // namespace

std::string CheckPosition(const TDDPosition& position)
{
    if (position.Leader < North || position.Leader > West)
        return "the leader is not a seat 1..4";
    if (position.TrickCount < 0 || position.TrickCount > 3)
        return "a trick holds 0 to 3 cards before the next is laid";
    TCardSet seen = 0;
    for (int seat = North; seat <= West; ++seat) {
        const TCardSet hand = position.Hands[At(seat)];
        if (hand & ~AllCards)
            return Named(seat) + " holds a card that is not 1..52";
        if (hand & seen)
            return "card " + std::to_string(std::countr_zero(hand & seen) + 1) + " is held twice";
        seen |= hand;
    }
    for (int i = 0; i < position.TrickCount; ++i) {
        const TPlayRecord& play = position.Trick[At(i)];
        if (play.Card < 1 || play.Card > 52)
            return "a card of the trick is not 1..52";
        if (play.Seat != (position.Leader - 1 + i) % 4 + 1)
            return "the trick's cards are not laid in turn from the leader";
        if (seen & CardBit(play.Card))
            return "card " + std::to_string(play.Card) + " is both held and in the trick";
        seen |= CardBit(play.Card);
    }
    const int left = position.TricksLeft();
    for (int i = 0; i < 4; ++i) {
        const int seat = (position.Leader - 1 + i) % 4 + 1;
        const int expected = i < position.TrickCount ? left - 1 : left;
        if (CountCards(position.Hands[At(seat)]) != expected)
            return Named(seat) + " should hold " + std::to_string(expected) + " cards, not " +
                   std::to_string(CountCards(position.Hands[At(seat)]));
    }
    if (position.TrickCount == 0)
        return {};
    const TPlayRecord& lead = position.Trick[0];
    const TCardSet leaderHand = position.Hands[At(lead.Seat)];
    if (LegalOf(leaderHand | CardBit(lead.Card), 0, SuitCards(Spades),
                position.SpadesBroken || position.Rule == TLeadRule::Anytime) != (leaderHand | CardBit(lead.Card)) &&
        SuitOf(lead.Card) == Spades)
        return Named(lead.Seat) + " led a spade before spades were broken, holding other suits";
    for (int i = 1; i < position.TrickCount; ++i) {
        const TPlayRecord& play = position.Trick[At(i)];
        if (SuitOf(play.Card) != SuitOf(lead.Card) && (position.Hands[At(play.Seat)] & SuitCards(SuitOf(lead.Card))))
            return Named(play.Seat) + " did not follow suit, holding " +
                   std::string(SuitNames[At(SuitOf(lead.Card))]);
    }
    return {};
}

TCardSet LegalPlays(const TDDPosition& position)
{
    return CardsOf(DDLegal(StateOf(position)));
}

TDDPosition After(const TDDPosition& position, int card)
{
    TDDPosition next = position;
    const int seat = position.ToPlay();
    next.Hands[At(seat)] &= ~CardBit(card);
    if (position.TrickCount < 3) {
        next.Trick[At(position.TrickCount)] = {static_cast<uint8_t>(seat), static_cast<uint8_t>(card)};
        ++next.TrickCount;
        return next;
    }
    TDDState full = StateOf(position);
    full.Trick[3] = static_cast<uint8_t>(LaneCard(card));
    next.Leader = DDTrickWinner(full) + 1;
    next.TrickCount = 0;
    next.SpadesBroken = position.SpadesBroken || SuitOf(card) == Spades;
    for (int i = 0; i < 3; ++i)
        next.SpadesBroken = next.SpadesBroken || SuitOf(position.Trick[At(i)].Card) == Spades;
    return next;
}

TDDPosition RandomPosition(TRandom& random, int tricksLeft, int inTrick, TLeadRule rule)
{
    std::array<int, 52> deck{};
    for (int i = 0; i < 52; ++i)
        deck[At(i)] = i + 1;
    for (int i = 51; i > 0; --i)
        std::swap(deck[At(i)], deck[random.Below(static_cast<uint32_t>(i + 1))]);
    TDDPosition position;
    for (int i = 0; i < 4 * tricksLeft; ++i)
        position.Hands[At(i % 4 + 1)] |= CardBit(deck[At(i)]);
    position.Leader = static_cast<int>(random.Below(4)) + 1;
    position.SpadesBroken = random.Below(2) == 1;
    position.Rule = rule;
    for (int i = 0; i < inTrick && i < 3; ++i) {
        TCardSet legal = LegalPlays(position);
        for (uint32_t skip = random.Below(static_cast<uint32_t>(CountCards(legal))); skip > 0; --skip)
            legal &= legal - 1;
        position = After(position, std::countr_zero(legal) + 1);
    }
    return position;
}

int TDoubleDummy::Tricks(const TDDPosition& position, TDDGoal goal)
{
    return FSearch.Solve(StateOf(position), SeatIndexes(goal.Counted), SeatIndexes(goal.Maximisers));
}

bool TDoubleDummy::Reaches(const TDDPosition& position, TDDGoal goal, int target)
{
    return FSearch.Reaches(StateOf(position), SeatIndexes(goal.Counted), SeatIndexes(goal.Maximisers), target);
}

std::vector<TDDCardValue> TDoubleDummy::CardValues(const TDDPosition& position, TDDGoal goal)
{
    const TDDState state = StateOf(position);
    const TDDLanes legal = DDLegal(state);
    const TDDLanes distinct = DDDistinct(state, legal);
    std::vector<TDDCardValue> values;
    int runValue = 0;
    // Legal cards in lane order: each run starts at its lowest, distinct card.
    for (TDDLanes rest = legal; rest; rest &= rest - 1) {
        const int laneCard = std::countr_zero(rest);
        const int card = CardOfLane(laneCard);
        if (distinct & (TDDLanes{1} << laneCard)) {
            const TDDPosition next = After(position, card);
            // A card that ends the trick: its winner's trick counts too.
            const bool counted = position.TrickCount == 3 && (goal.Counted >> next.Leader & 1u);
            runValue = (counted ? 1 : 0) + Tricks(next, goal);
        }
        values.push_back({card, runValue});
    }
    std::sort(values.begin(), values.end(), [](const TDDCardValue& a, const TDDCardValue& b) { return a.Card < b.Card; });
    return values;
}

std::vector<TPlayRecord> TDoubleDummy::BestLine(const TDDPosition& position, TDDGoal goal)
{
    std::vector<TPlayRecord> line;
    TDDPosition now = position;
    while (now.TricksLeft() > 0) {
        const int seat = now.ToPlay();
        const bool maximiser = goal.Maximisers >> seat & 1u;
        const std::vector<TDDCardValue> values = CardValues(now, goal);
        const TDDCardValue* best = &values.front();
        for (const TDDCardValue& value : values)
            if (maximiser ? value.Tricks > best->Tricks : value.Tricks < best->Tricks)
                best = &value;
        line.push_back({static_cast<uint8_t>(seat), static_cast<uint8_t>(best->Card)});
        now = After(now, best->Card);
    }
    return line;
}

}  // namespace spades
