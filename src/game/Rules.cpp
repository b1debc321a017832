#include "Rules.h"

#include "RuleSet.h"

namespace spades {

namespace {
constexpr TTurnOrder OrderFrom(int firstSeat)
{
    TTurnOrder order{};
    int seat = firstSeat;
    for (size_t i = 1; i <= 4; ++i) {
        order[i] = seat;
        seat = NextSeat(seat);
    }
    return order;
}
// Asked after every trick: the four orders are worked out once.
constexpr std::array<TTurnOrder, 5> TurnOrders = {TTurnOrder{}, OrderFrom(North), OrderFrom(East), OrderFrom(South),
                                                  OrderFrom(West)};
}  // namespace

TTurnOrder TurnOrderFrom(int firstSeat)
{
    if (firstSeat >= North && firstSeat <= West)
        return TurnOrders[static_cast<size_t>(firstSeat)];
    return OrderFrom(firstSeat);
}

int TrickWinner(const TTableState& table)
{
    const auto trickRank = [](int value) {
        const int rank = CardRank(static_cast<uint8_t>(value));
        return rank == Ace ? 14 : rank;
    };
    // One pass keeps both the best of the led suit and the best spade.
    const int led = table.Place(1).Suit();
    int best = -1, winner = 0;
    int bestSpade = -1, spadeWinner = 0;
    bool spadeSeen = false;
    for (int place = 1; place <= 4; ++place) {
        const TPlayStack& stack = table.Place(place);
        const int suit = stack.Suit();
        const int rank = trickRank(stack.FValue);
        if (suit == Spades) {
            spadeSeen = true;
            if (rank > bestSpade) {
                bestSpade = rank;
                spadeWinner = stack.FSeat;
            }
        }
        if (suit == led && rank > best) {
            best = rank;
            winner = stack.FSeat;
        }
    }
    return spadeSeen ? spadeWinner : winner;
}

TPlayVerdict CheckPlay(const TTableState& table, const TPlayer& seat, int card)
{
    const int suit = CardSuit(static_cast<uint8_t>(card));
    const int place = table.FirstEmptyPlace();
    if (place > 1) {
        const int led = table.Place(1).Suit();
        if (seat.FSuitCount[static_cast<size_t>(led)] > 0 && suit != led)
            return TPlayVerdict::MustFollowSuit;
    }
    if (suit != Spades)
        return TPlayVerdict::Legal;
    const int sideCards = seat.FSuitCount[Hearts] + seat.FSuitCount[Clubs] + seat.FSuitCount[Diamonds];
    if (place == 1 && !table.SpadesBroken && table.Rules.Lead == TLeadRule::AfterBroken && sideCards > 0)
        return TPlayVerdict::SpadesNotOpened;
    // A clean first trick: no spade, led or not, while the seat holds another card.
    const bool ledSpade = place > 1 && table.Place(1).Suit() == Spades;
    if (table.Rules.FirstTrick == TFirstTrick::Clean && sideCards > 0 && !ledSpade) {
        bool firstTrick = true;
        for (int s = North; s <= West; ++s)
            firstTrick = firstTrick && table.Player(s).FTricks == 0;
        if (firstTrick)
            return TPlayVerdict::SpadesNotOpened;
    }
    return TPlayVerdict::Legal;
}

std::string_view VerdictText(TPlayVerdict verdict)
{
    switch (verdict) {
    case TPlayVerdict::MustFollowSuit:
        return "You must follow suit";
    case TPlayVerdict::SpadesNotOpened:
        return "Spades have not been opened!";
    case TPlayVerdict::Legal:
        break;
    }
    return {};
}

void CountTrick(TPlayer& winner)
{
    ++winner.FTricks;
    if (winner.FBid > 0 && winner.FBid < winner.FTricks)
        winner.FBags = winner.FTricks - winner.FBid;
}

void RecomputeNilInPlay(TTableState& table)
{
    table.NilInPlay = false;
    for (int seat = North; seat <= West; ++seat) {
        const TPlayer& player = table.Player(seat);
        if (player.FBid == 0 && player.FTricks == 0)
            table.NilInPlay = true;
    }
}

bool HandOver(const TTableState& table)
{
    return table.Player(North).FCardCount == 0;
}

std::string BagLimitNotice(const std::string& name)
{
    return name + " Exceeded bag limit:\rYou lose 100 points.";
}

std::string WinnerNotice(const std::string& name)
{
    return name + " has won the game.";
}

int ContractPoints(int bid, int tricks)
{
    if (bid == 0)
        return tricks == 0 ? 100 : -100;
    return tricks < bid ? -10 * bid : 10 * bid + (tricks - bid);
}

TScoreResult ScoreHand(TTableState& table, int winScore)
{
    TRuleSet rules;
    rules.WinScore = winScore;
    return rules.Score(table);
}

}  // namespace spades
