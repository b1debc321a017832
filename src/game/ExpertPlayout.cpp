#include "ExpertPlayout.h"

#include <bit>

#include "ClassicRules.h"
#include "RuleSet.h"
#include "Rules.h"

namespace spades {

namespace {
size_t At(int index) { return static_cast<size_t>(index); }
int SuitOf(int card) { return CardSuit(static_cast<uint8_t>(card)); }
}  // namespace

TPlayoutTable::TPlayoutTable()
{
    for (int seat = North; seat <= West; ++seat) {
        FTable.Players[At(seat)] = std::make_unique<TPlayer>(FHost, FTable);
        FTable.Player(seat).SetSeat(seat);
    }
}

void TPlayoutTable::Deal(int seat, TCardSet cards)
{
    // The order a sorted hand has: by suit, and within a suit 2 up to King, then the Ace.
    TPlayer& player = FTable.Player(seat);
    player.FSuitCount.fill(0);
    int slot = 1;
    for (int suit = Spades; suit <= Diamonds; ++suit) {
        const unsigned bits = static_cast<unsigned>(cards >> (13 * (suit - 1))) & 0x1FFFu;
        player.FSuitCount[At(suit)] = std::popcount(bits);
        for (unsigned rest = bits & ~1u; rest; rest &= rest - 1)
            player.FHand[At(slot++)] = CardValue(suit, std::countr_zero(rest) + 1);
        if (bits & 1u)
            player.FHand[At(slot++)] = CardValue(suit, Ace);
    }
    player.FCardCount = slot - 1;
    for (; slot <= 13; ++slot)
        player.FHand[At(slot)] = NoCard;
}

int TPlayoutTable::SlotOf(int seat, int card) const
{
    const TPlayer& player = FTable.Player(seat);
    for (int slot = 1; slot <= 13; ++slot)
        if (player.FHand[At(slot)] == card)
            return slot;
    return -1;
}

void TPlayoutTable::Lay(int seat, int card)
{
    TPlayer& player = FTable.Player(seat);
    const int slot = SlotOf(seat, card);
    if (slot > 0) {
        player.FHand[At(slot)] = NoCard;
        --player.FSuitCount[At(SuitOf(card))];
        --player.FCardCount;
    }
    player.FLastPlayed = card;
    if (SuitOf(card) == Spades)
        FTable.SpadesBroken = true;
    FTable.CardsPlayed[At(card)] = true;
    TPlayStack& place = FTable.Place(FPlaced + 1);
    place.SetSeat(seat);
    place.SetValue(card);
    ++FPlaced;
}

int TPlayoutTable::FinishTrick()
{
    const int winner = TrickWinner(FTable);
    CountTrick(FTable.Player(winner));
    for (int place = 1; place <= 4; ++place)
        FTable.Place(place).Clear();
    FPlaced = 0;
    RecomputeNilInPlay(FTable);
    return winner;
}

int TPlayoutTable::ClassicChoice(int seat)
{
    TPlayer& player = FTable.Player(seat);
    if (!FOwnRules) {
        const int slot = ClassicSlotUnderRules(player);
        if (slot >= 1 && slot <= 13 && player.FHand[At(slot)] >= 1 && player.FHand[At(slot)] <= 52)
            return player.FHand[At(slot)];
    }
    const int slot = player.ChooseCard();
    if (slot >= 1 && slot <= 13 && player.FHand[At(slot)] >= 1 && player.FHand[At(slot)] <= 52) {
        const int card = player.FHand[At(slot)];
        // A seat held to the rules may not lead a spade the classic choice would.
        if (!(FLawful & (1u << seat)) || CheckPlay(FTable, player, card) == TPlayVerdict::Legal)
            return card;
        for (int s = 1; s <= 13; ++s) {
            const int other = player.FHand[At(s)];
            if (other >= 1 && other <= 52 && SuitOf(other) != Spades)
                return other;
        }
        return card;
    }
    for (int s = 1; s <= 13; ++s)  // never taken by the classic choice; keeps a playout finite
        if (player.FHand[At(s)] >= 1 && player.FHand[At(s)] <= 52)
            return player.FHand[At(s)];
    return 0;
}

std::array<int, 5> TPlayoutTable::PlayRest(int next)
{
    for (;;) {
        while (FPlaced < 4) {
            const int card = ClassicChoice(next);
            if (card == 0)
                return Tricks();
            Lay(next, card);
            next = NextSeat(next);
        }
        next = FinishTrick();
        if (FTable.Player(next).FCardCount == 0)
            return Tricks();
    }
}

std::array<int, 5> TPlayoutTable::Tricks() const
{
    std::array<int, 5> tricks{};
    for (int seat = North; seat <= West; ++seat)
        tricks[At(seat)] = FTable.Player(seat).FTricks;
    return tricks;
}

void TPlayoutTable::Reset(const TLayout& hands, const std::array<int, 5>& bids)
{
    FTable.CardsPlayed.fill(false);
    FTable.SpadesBroken = false;
    for (int place = 1; place <= 4; ++place)
        FTable.Place(place).Clear();
    FPlaced = 0;
    for (int seat = North; seat <= West; ++seat) {
        Deal(seat, hands[At(seat)]);
        TPlayer& player = FTable.Player(seat);
        player.FBid = bids[At(seat)];
        player.FTricks = player.FBags = 0;
    }
}

int TPlayoutTable::ClassicBid(TCardSet hand)
{
    Deal(North, hand);
    TPlayer& player = FTable.Player(North);
    player.ComputeBid();
    return player.FBid;
}

void TPlayoutTable::SetScores(const TExpertView& view)
{
    for (int seat = North; seat <= West; ++seat)
        FTable.Player(seat).FScore = view.Score[At(seat)];
}

int TPlayoutTable::ClassicBid(const TExpertView& view, int seat, TCardSet hand, int mateBid, bool mateHasBid)
{
    SetScores(view);
    Deal(seat, hand);
    FTable.Player(PartnerOf(seat)).FBid = mateBid;
    return ClassicBidBeside(FTable.Player(seat), mateHasBid);
}

unsigned TPlayoutTable::AllowedBids(const TExpertView& view, bool mateHasBid)
{
    SetScores(view);
    Deal(view.Seat, view.Held);
    FTable.Player(PartnerOf(view.Seat)).FBid = view.Bid[At(PartnerOf(view.Seat))];
    return spades::AllowedBids(FTable.Rules, FTable, view.Seat, mateHasBid);
}

TCardSet TPlayoutTable::Lawful(const TExpertView& view, const TKnowledge& known)
{
    TLayout hands{};
    hands[At(view.Seat)] = view.Held;
    Reset(hands, {});
    for (int seat = North; seat <= West; ++seat)
        FTable.Player(seat).FTricks = view.Tricks[At(seat)];
    FTable.SpadesBroken = known.SpadesBroken;
    for (int i = known.TrickStart; i < view.PlayCount; ++i) {
        TPlayStack& place = FTable.Place(++FPlaced);
        place.SetSeat(view.Plays[At(i)].Seat);
        place.SetValue(view.Plays[At(i)].Card);
    }
    TCardSet lawful = 0;
    const TPlayer& player = FTable.Player(view.Seat);
    for (TCardSet rest = view.Held; rest; rest &= rest - 1) {
        const int card = std::countr_zero(rest) + 1;
        if (CheckPlay(FTable, player, card) == TPlayVerdict::Legal)
            lawful |= CardBit(card);
    }
    return lawful;
}

std::array<int, 5> TPlayoutTable::CountSurprises(const TExpertView& view, const TLayout& dealt,
                                                 const std::array<int, 5>& bids, uint8_t classicSeats)
{
    Reset(dealt, bids);
    RecomputeNilInPlay(FTable);
    std::array<int, 5> surprises{};
    for (int i = 0; i < view.PlayCount; ++i) {
        const int seat = view.Plays[At(i)].Seat;
        const int card = view.Plays[At(i)].Card;
        if (classicSeats & (1u << seat)) {
            if (ClassicChoice(seat) != card)
                ++surprises[At(seat)];
        }
        Lay(seat, card);
        if (FPlaced == 4)
            FinishTrick();
    }
    return surprises;
}

std::array<int, 5> TPlayoutTable::PlayOut(const TExpertView& view, const TKnowledge& known, const TLayout& held,
                                          const std::array<int, 5>& bids, int extra)
{
    Reset(held, bids);
    for (int seat = North; seat <= West; ++seat) {
        TPlayer& player = FTable.Player(seat);
        player.FTricks = view.Tricks[At(seat)];
        player.FBags = player.FBid > 0 && player.FTricks > player.FBid ? player.FTricks - player.FBid : 0;
    }
    for (int i = 0; i < known.TrickStart; ++i)
        FTable.CardsPlayed[view.Plays[At(i)].Card] = true;
    FTable.SpadesBroken = known.SpadesBroken;
    RecomputeNilInPlay(FTable);
    for (int i = known.TrickStart; i < view.PlayCount; ++i) {
        TPlayStack& place = FTable.Place(++FPlaced);
        place.SetSeat(view.Plays[At(i)].Seat);
        place.SetValue(view.Plays[At(i)].Card);
        FTable.CardsPlayed[view.Plays[At(i)].Card] = true;
    }
    int next = known.ToPlay;
    if (extra != 0) {
        Lay(next, extra);
        next = NextSeat(next);
    }
    if (FPlaced == 4) {
        next = FinishTrick();
        if (FTable.Player(next).FCardCount == 0)
            return Tricks();
    }
    return PlayRest(next);
}

std::array<int, 5> TPlayoutTable::PlayHand(const TLayout& dealt, const std::array<int, 5>& bids, int leader)
{
    Reset(dealt, bids);
    RecomputeNilInPlay(FTable);
    return PlayRest(leader);
}

}  // namespace spades
