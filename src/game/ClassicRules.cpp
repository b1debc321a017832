#include "ClassicRules.h"

#include <algorithm>
#include <bit>
#include <cstdlib>

#include "RuleSet.h"
#include "SpadesGame.h"

namespace spades {

namespace {

bool HasBid(const TSpadesGame& game, int seat)
{
    for (int i = 1; i <= game.FBidCount && i <= 4; ++i)
        if (game.FHandOrder[static_cast<size_t>(i)] == seat)
            return true;
    return false;
}

// The allowed bid nearest to the one wanted; the lower on a tie.
int SuitOf(int card) { return CardSuit(static_cast<uint8_t>(card)); }
int HighRank(int card)
{
    const int rank = CardRank(static_cast<uint8_t>(card));
    return rank == Ace ? 14 : rank;
}
// Does card beat the trick's best card? The best is of the suit led or a spade.
bool Beats(int card, int best)
{
    if (SuitOf(card) == SuitOf(best))
        return HighRank(card) > HighRank(best);
    return SuitOf(card) == Spades;
}

// The trick so far as the seat to play sees it.
struct TTrickSoFar {
    int Cards = 0;
    int Led = NoSuit;
    int WinnerSeat = 0;
    int WinnerCard = NoCard;
    bool PlayedBy(const TTableState& table, int seat) const
    {
        for (int place = 1; place <= Cards; ++place)
            if (table.Place(place).FSeat == seat)
                return true;
        return false;
    }
};

TTrickSoFar TrickSoFar(const TTableState& table)
{
    TTrickSoFar trick;
    for (int place = 1; place <= 4 && table.Place(place).HasCard(); ++place) {
        const TPlayStack& stack = table.Place(place);
        trick.Cards = place;
        if (place == 1) {
            trick.Led = stack.Suit();
        } else if (!Beats(stack.FValue, trick.WinnerCard)) {
            continue;
        }
        trick.WinnerSeat = stack.FSeat;
        trick.WinnerCard = stack.FValue;
    }
    return trick;
}

// The seat's lawful cards, with the questions the partnership play asks of them.
class TLawful {
public:
    explicit TLawful(const TPlayer& player) : FPlayer(player)
    {
        for (int slot = 1; slot <= 13; ++slot) {
            const int card = player.FHand[static_cast<size_t>(slot)];
            if (card >= 1 && card <= 52 && CheckPlay(player.FTable, player, card) == TPlayVerdict::Legal)
                FSlots |= 1u << slot;
        }
    }
    bool Has(int slot) const { return slot >= 1 && slot <= 13 && (FSlots & (1u << slot)); }
    // The lowest card passing the test, a side suit before a spade; -1 for none.
    template <typename TTest>
    int Lowest(TTest test) const
    {
        return Pick(test, [](int a, int b) { return Key(a) < Key(b); });
    }
    template <typename TTest>
    int Highest(TTest test) const
    {
        return Pick(test, [](int a, int b) { return HighRank(a) > HighRank(b); });
    }
    int Lowest() const { return Lowest([](int) { return true; }); }

private:
    static int Key(int card) { return (SuitOf(card) == Spades ? 100 : 0) + HighRank(card); }
    template <typename TTest, typename TBetter>
    int Pick(TTest test, TBetter better) const
    {
        int best = -1;
        for (unsigned mask = FSlots; mask; mask &= mask - 1) {
            const int slot = std::countr_zero(mask);
            const int card = FPlayer.FHand[static_cast<size_t>(slot)];
            if (test(card) && (best == -1 || better(card, FPlayer.FHand[static_cast<size_t>(best)])))
                best = slot;
        }
        return best;
    }
    const TPlayer& FPlayer;
    unsigned FSlots = 0;
};

bool NilAlive(const TPlayer& player) { return player.FBid == 0 && player.FTricks == 0; }

// Setting a Nil pays while the side's own contract is not in danger: made
// already, or needing fewer than half the tricks left.
bool SettingPays(const TTableState& table, const TPlayer& player)
{
    const TPlayer& mate = table.Player(PartnerOf(player.FSeat));
    const int need = player.FBid + mate.FBid - player.FTricks - mate.FTricks;
    return need <= 0 || 2 * need < player.FCardCount;
}

int PartnerChoice(const TPlayer& player, const TLawful& lawful)
{
    const TTableState& table = player.FTable;
    if (player.FBid == 0)
        return -1;  // a Nil bidder ducks as ever
    const int mateSeat = PartnerOf(player.FSeat);
    const bool mateNil = NilAlive(table.Player(mateSeat));
    int nilOpponent = 0;
    for (int seat : {NextSeat(player.FSeat), PartnerOf(NextSeat(player.FSeat))})
        if (NilAlive(table.Player(seat)))
            nilOpponent = seat;
    const bool setNil = nilOpponent != 0 && !mateNil && SettingPays(table, player);
    const TTrickSoFar trick = TrickSoFar(table);
    const auto any = [](int) { return true; };
    const auto beats = [&](int card) { return Beats(card, trick.WinnerCard); };
    const auto under = [&](int card) { return !Beats(card, trick.WinnerCard); };

    if (trick.Cards == 0) {
        if (mateNil)
            return lawful.Highest(any);  // high leads the partner can duck under
        if (setNil)
            return lawful.Lowest();
        return -1;
    }
    if (mateNil) {
        if (!trick.PlayedBy(table, mateSeat)) {
            // Win the trick high, so the partner can stay under it.
            const int high = lawful.Highest([&](int card) { return SuitOf(card) == trick.Led && beats(card); });
            return high != -1 ? high : lawful.Lowest(beats);
        }
        if (trick.WinnerSeat == mateSeat) {
            const int cover = lawful.Lowest(beats);
            return cover != -1 ? cover : lawful.Lowest();
        }
        return lawful.Lowest(under);
    }
    if (setNil) {
        if (trick.WinnerSeat == nilOpponent)
            return lawful.Highest([&](int card) { return under(card) && SuitOf(card) != Spades; });
        if (!trick.PlayedBy(table, nilOpponent))
            return lawful.Lowest(under);
    }
    if (trick.WinnerSeat == mateSeat) {
        const int low = lawful.Lowest(under);
        return low != -1 ? low : lawful.Lowest();  // every card overtakes: it must
    }
    return -1;
}
}  // namespace

int ClassicBid(const TSpadesGame& game, TPlayer& player)
{
    const bool partnership = player.FTable.Rules.Partnership();
    return ClassicBidBeside(player, partnership && HasBid(game, PartnerOf(player.FSeat)));
}

int ClassicBidBeside(TPlayer& player, bool mateBid)
{
    player.ComputeBid();
    const TTableState& table = player.FTable;
    const TTableRules& rules = table.Rules;
    if (rules == TTableRules{})
        return player.FBid;
    const bool partnership = rules.Partnership();
    const TPlayer& mate = table.Player(PartnerOf(player.FSeat));
    mateBid = mateBid && partnership;
    const unsigned allowed = AllowedBids(rules, table, player.FSeat, mateBid);
    int wanted = player.FBid;
    if (mateBid) {
        if (mate.FBid == 0)
            wanted = std::max(wanted, 1);
        else if (wanted + mate.FBid > 13)
            wanted = std::max(1, 13 - mate.FBid);
    }
    // Far behind, a side without a Nil gambles on Blind Nil.
    if ((allowed & BlindNilBit) && partnership && !(mateBid && mate.FBid == 0) &&
        PointsBehind(table, player.FSeat, true) >= 2 * BlindNilBehind)
        return BlindNilBid;
    switch (rules.Bidding) {
    case TBidding::Whiz:
        // Nil only for a hand fit for it.
        if (wanted > 0 && (allowed & EveryBid & ~1u))
            return std::countr_zero(allowed & EveryBid & ~1u);
        break;
    case TBidding::Suicide:
        // The first of a side to bid takes the Nil with a weak hand.
        if (partnership && !mateBid && player.FBid <= 3)
            wanted = 0;
        break;
    case TBidding::Normal:
    case TBidding::Mirror:
        break;
    }
    return NearestAllowedBid(allowed, wanted);
}

int ClassicSlotUnderRules(TPlayer& player)
{
    const TTableState& table = player.FTable;
    const TLawful lawful(player);
    int choice = table.Rules.Partnership() ? PartnerChoice(player, lawful) : -1;
    if (choice == -1)
        choice = player.ChooseCard();
    // The strategy knows the table's own lead rule only.
    if (!lawful.Has(choice))
        choice = lawful.Lowest();
    return choice;
}

}  // namespace spades
