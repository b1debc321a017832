#include "ExpertView.h"

#include "LeadRule.h"
#include "SpadesGame.h"

namespace spades {

namespace {
size_t At(int index) { return static_cast<size_t>(index); }
int SuitOf(int card) { return CardSuit(static_cast<uint8_t>(card)); }
int TrickRank(int card)
{
    const int rank = CardRank(static_cast<uint8_t>(card));
    return rank == Ace ? 14 : rank;
}

// The same order as TrickWinner: the highest spade, else the highest of the led suit.
int WinnerOf(const TExpertView::TPlay* trick)
{
    const int led = SuitOf(trick[0].Card);
    int best = 0;
    for (int i = 1; i < 4; ++i) {
        const int suit = SuitOf(trick[i].Card);
        const int bestSuit = SuitOf(trick[best].Card);
        const bool beats = suit == bestSuit ? TrickRank(trick[i].Card) > TrickRank(trick[best].Card)
                                            : suit == Spades || (suit == led && bestSuit != Spades);
        if (beats)
            best = i;
    }
    return trick[best].Seat;
}
}  // namespace

bool TExpertView::HasBid(int seat) const
{
    for (int i = 1; i <= BidCount && i <= 4; ++i)
        if (Order[At(i)] == seat)
            return true;
    return false;
}

TExpertView ViewOf(const TSpadesGame& game, int seat)
{
    TExpertView view;
    view.Seat = seat;
    const TPlayer& own = game.Table.Player(seat);
    for (int slot = 1; slot <= 13; ++slot) {
        const int card = own.FHand[At(slot)];
        if (card >= 1 && card <= 52)
            view.Held |= CardBit(card);
    }
    view.Order = game.FHandOrder;
    view.BidCount = game.FBidCount;
    for (int s = North; s <= West; ++s) {
        const TPlayer& player = game.Table.Player(s);
        view.Kind[At(s)] = SeatKindOf(player);
        view.Tricks[At(s)] = player.FTricks;
        view.Score[At(s)] = player.FScore;
        view.TotalBags[At(s)] = player.FTotalBags;
    }
    for (int s = North; s <= West; ++s)
        if (view.HasBid(s))
            view.Bid[At(s)] = game.Table.Player(s).FBid;
    view.PlayCount = game.FPlayCount;
    for (int i = 0; i < game.FPlayCount; ++i)
        view.Plays[At(i)] = game.FPlays[At(i)];
    view.WinScore = game.FRules.WinScore;
    view.Rules = game.FRules;
    view.BlindNil = game.Table.BlindNil;
    view.GameSeed = game.Random.Seed();
    return view;
}

TKnowledge KnowledgeOf(const TExpertView& view)
{
    TKnowledge known;
    int leader = view.Order[1];
    bool broken = false;
    const int complete = view.PlayCount / 4 * 4;
    for (int start = 0; start < view.PlayCount; start += 4) {
        const int led = SuitOf(view.Plays[At(start)].Card);
        for (int i = start; i < view.PlayCount && i < start + 4; ++i) {
            const auto& play = view.Plays[At(i)];
            const int suit = SuitOf(play.Card);
            known.PlayedBy[play.Seat] |= CardBit(play.Card);
            if (i > start && suit != led)
                known.VoidSuits[play.Seat] |= static_cast<uint8_t>(1u << led);
            // A seat held to the rules that leads a spade before they are broken
            // has nothing else left. The classic computer is not held to them.
            // Under other rules the table holds every seat to them.
            if (i == start && suit == Spades && !broken && view.Rules.Table.Lead == TLeadRule::AfterBroken &&
                (view.Kind[play.Seat] != TSeatKind::Computer || !(view.Rules.Table == TTableRules{})))
                known.VoidSuits[play.Seat] |= (1u << Hearts) | (1u << Clubs) | (1u << Diamonds);
        }
        for (int i = start; i < view.PlayCount && i < start + 4; ++i)
            broken = broken || SuitOf(view.Plays[At(i)].Card) == Spades;
        if (start + 4 <= complete)
            leader = WinnerOf(&view.Plays[At(start)]);
    }
    known.TrickStart = complete;
    known.Leader = leader;
    known.ToPlay = view.PlayCount > complete ? NextSeat(view.Plays[At(view.PlayCount - 1)].Seat) : leader;
    known.SpadesBroken = broken;
    TCardSet played = 0;
    for (int s = North; s <= West; ++s) {
        played |= known.PlayedBy[At(s)];
        known.HeldCount[At(s)] = 13 - CountCards(known.PlayedBy[At(s)]);
    }
    known.Dealt = view.Held | known.PlayedBy[At(view.Seat)];
    known.Unseen = AllCards & ~played & ~view.Held;
    return known;
}

TCardSet LegalCards(const TExpertView& view, const TKnowledge& known)
{
    const TCardSet led =
        view.PlayCount > known.TrickStart ? SuitCards(SuitOf(view.Plays[At(known.TrickStart)].Card)) : 0;
    return LegalOf(view.Held, led, SuitCards(Spades), known.SpadesBroken);
}

}  // namespace spades
