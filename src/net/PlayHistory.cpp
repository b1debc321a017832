#include "PlayHistory.h"

namespace spades::net {

namespace {
size_t At(int i) { return static_cast<size_t>(i); }

int Rank(int card)
{
    const int rank = CardRank(static_cast<uint8_t>(card));
    return rank == Ace ? 14 : rank;
}

// The highest spade, else the highest card of the suit led.
int TrickWinnerOf(const TPlayRecord* trick)
{
    const int led = CardSuit(trick[0].Card);
    int best = 0;
    for (int i = 1; i < 4; ++i) {
        const int suit = CardSuit(trick[i].Card);
        const int bestSuit = CardSuit(trick[best].Card);
        if (suit == bestSuit ? Rank(trick[i].Card) > Rank(trick[best].Card)
                             : suit == Spades || (suit == led && bestSuit != Spades))
            best = i;
    }
    return trick[best].Seat;
}
}  // namespace

void TPlayHistory::NewHand(int firstSeat)
{
    FOrder = TurnOrderFrom(firstSeat);
    FPlayCount = 0;
    FWhole = true;
}

void TPlayHistory::Laid(int seat, int card)
{
    if (FPlayCount >= 52) {
        FWhole = false;
        return;
    }
    FPlays[At(FPlayCount++)] = {static_cast<uint8_t>(seat), static_cast<uint8_t>(card)};
}

void TPlayHistory::Forget()
{
    FPlayCount = 0;
    FWhole = false;
}

void TPlayHistory::Restore(const THistoryMsg& m)
{
    NewHand(m.FirstSeat);
    for (const TLaidCard& play : m.Plays)
        Laid(play.Seat, play.Card);
}

void TPlayHistory::SetKinds(const TSeatKindsMsg& m)
{
    for (int seat = North; seat <= West; ++seat) {
        const TSeatPlayer kind = m.Kinds[At(seat - 1)];
        FKinds[At(seat)] = kind == TSeatPlayer::Classic ? TSeatKind::Computer
                           : kind == TSeatPlayer::Expert ? TSeatKind::Expert
                                                         : TSeatKind::Human;
    }
}

void TPlayHistory::Fill(TExpertView& view) const
{
    view.Kind = FKinds;
    view.Order = FOrder;
    view.PlayCount = FPlayCount;
    for (int i = 0; i < FPlayCount; ++i)
        view.Plays[At(i)] = FPlays[At(i)];
}

bool Coherent(const TExpertView& view)
{
    if (view.Seat < North || view.Seat > West || view.PlayCount < 0 || view.PlayCount > 52 || view.BidCount < 0 ||
        view.BidCount > 4 || (view.Held & ~AllCards) != 0)
        return false;
    for (int i = 1; i <= 4; ++i)
        if (view.Order[At(i)] != (i == 1 ? view.Order[1] : NextSeat(view.Order[At(i - 1)])) ||
            view.Order[1] < North || view.Order[1] > West)
            return false;
    TCardSet laid = 0;
    std::array<int, 5> laidBy{};
    std::array<int, 5> won{};
    int leader = view.Order[1];
    for (int start = 0; start < view.PlayCount; start += 4) {
        for (int i = start; i < view.PlayCount && i < start + 4; ++i) {
            const TPlayRecord& play = view.Plays[At(i)];
            int expected = leader;
            for (int k = start; k < i; ++k)
                expected = NextSeat(expected);
            if (play.Seat != expected || play.Card < 1 || play.Card > 52 || (laid & CardBit(play.Card)))
                return false;
            laid |= CardBit(play.Card);
            ++laidBy[play.Seat];
        }
        if (start + 4 <= view.PlayCount) {
            leader = TrickWinnerOf(&view.Plays[At(start)]);
            ++won[At(leader)];
        }
    }
    if ((laid & view.Held) != 0 || CountCards(view.Held) + laidBy[At(view.Seat)] != 13)
        return false;
    for (int seat = North; seat <= West; ++seat)
        if (view.Tricks[At(seat)] != won[At(seat)])
            return false;
    return true;
}

}  // namespace spades::net
