// How a computer seat bids and which card it plays. Deterministic: the seat reads
// its own hand, the trick on the table, the cards played so far and two table flags.
#include "PlayerU.h"

#include <bit>

#include "Rules.h"

namespace spades {

namespace {
int SuitOf(int value) { return CardSuit(static_cast<uint8_t>(value)); }
int RankOf(int value) { return CardRank(static_cast<uint8_t>(value)); }
size_t At(int index) { return static_cast<size_t>(index); }
}  // namespace

// ---- Bidding ------------------------------------------------------------------------

void TPlayer::ComputeBid()
{
    FBid = 0;
    std::array<int, 5> length = FSuitCount;  // only the spade entry counts down
    int& spadesLeft = length[Spades];

    // Honours; within spades the Jack is met first, against the full length.
    for (int slot = 1; slot <= 13; ++slot) {
        const int card = FHand[At(slot)];
        const int suit = SuitOf(card);
        const int rank = RankOf(card);
        if (suit != Spades) {
            // The side suits' length never changes: counted without a branch.
            FBid += static_cast<int>(rank == Ace) + static_cast<int>(rank == King && length[At(suit)] > 1);
            continue;
        }
        if (rank == Ace) {
            ++FBid;
            --spadesLeft;
        } else if ((rank == King && spadesLeft > 1) || (rank == Queen && spadesLeft > 2) ||
                   (rank == Jack && spadesLeft > 3)) {
            ++FBid;
            --spadesLeft;
        }
    }

    // Ruffing: at most one trick per short side suit.
    for (int suit = Hearts; suit <= Diamonds; ++suit) {
        if (spadesLeft > 1 && length[At(suit)] < 2) {
            ++FBid;
            --spadesLeft;
        } else if (spadesLeft > 2 && length[At(suit)] < 3) {
            ++FBid;
            --spadesLeft;
        }
    }

    // Every uncounted spade beyond two.
    while (spadesLeft > 2) {
        ++FBid;
        --spadesLeft;
    }

    if (FBid < 1 && !NilSafe())
        FBid = 1;
}

bool TPlayer::NilSafe() const
{
    for (int suit = Spades; suit <= Diamonds; ++suit) {
        const int count = FSuitCount[At(suit)];
        if (count <= 0)
            continue;
        int sum = 0;
        for (int slot = 1; slot <= 13; ++slot) {
            const int card = FHand[At(slot)];
            if (card == NoCard || SuitOf(card) != suit)
                continue;
            const int rank = RankOf(card);
            sum += rank == Ace ? 14 : rank;
        }
        if (sum / count > 6)
            return false;
    }
    return true;
}

// ---- Queries ----------------------------------------------------------------------------

int HighestOnTable(const TTableState& table, int suit)
{
    int highest = -1;
    for (int place = 1; place <= 4; ++place) {
        const TPlayStack& stack = table.Place(place);
        if (!stack.HasCard() || stack.Suit() != suit)
            continue;
        const int rank = RankOf(stack.FValue);
        if (rank == Ace)
            return 1;
        if (rank > highest)
            highest = rank;
    }
    return highest;
}

int PlayedRunFromTop(const TTableState& table, int suit)
{
    if (table.CardsPlayed[At(CardValue(suit, Ace))])
        return 14;
    int last = -1;
    for (int rank = King; rank >= 2 && table.CardsPlayed[At(CardValue(suit, rank))]; --rank)
        last = rank;
    return last;
}

namespace {
// Per card value, the 16-bit lane of its suit in a word of four lanes (spades
// lowest); no lane for a played slot (-1 reads as 255) or an empty one (0).
struct TSuitLanes {
    std::array<uint64_t, 256> Of{};
    constexpr TSuitLanes()
    {
        for (int v = 1; v <= 52; ++v)
            Of[static_cast<size_t>(v)] = uint64_t{0xFFFF} << (16 * (CardSuit(static_cast<uint8_t>(v)) - 1));
    }
};
constexpr TSuitLanes SuitLanes{};
}  // namespace

TPlayer::TSuitSlots TPlayer::SlotsBySuit() const
{
    // The slot's bit in every lane, kept only in its suit's lane: no store per
    // slot, so the thirteen slots do not wait on each other.
    TSuitSlots slots;
    for (int slot = 1; slot <= 13; ++slot)
        slots.Lanes |= (uint64_t{0x0001000100010001} << slot) & SuitLanes.Of[static_cast<uint8_t>(FHand[At(slot)])];
    return slots;
}

namespace {
int Lowest(unsigned mask) { return mask ? std::countr_zero(mask) : -1; }
int Highest(unsigned mask) { return mask ? std::bit_width(mask) - 1 : -1; }
}  // namespace

int TPlayer::CheapestAbove(const TSuitSlots& slots, int rank, int suit) const
{
    for (unsigned mask = slots.Of(suit); mask; mask &= mask - 1) {
        const int slot = std::countr_zero(mask);
        if (RankOf(FHand[At(slot)]) > rank)
            return slot;
    }
    return -1;
}

int TPlayer::HighestBelow(const TSuitSlots& slots, int rank, int suit) const
{
    for (unsigned mask = slots.Of(suit); mask;) {
        const int slot = std::bit_width(mask) - 1;
        if (RankOf(FHand[At(slot)]) < rank)
            return slot;
        mask &= ~(1u << slot);
    }
    return -1;
}

int TPlayer::HighestCard(const TSuitSlots& slots) const
{
    unsigned mask = slots.Of(Hearts) | slots.Of(Clubs) | slots.Of(Diamonds);
    if (FTable.SpadesBroken)
        mask |= slots.Of(Spades);
    int best = -1;
    int bestRank = 0;
    for (; mask; mask &= mask - 1) {
        const int slot = std::countr_zero(mask);
        const int rank = RankOf(FHand[At(slot)]);
        if (rank == Ace)
            return slot;
        if (rank > bestRank) {
            bestRank = rank;
            best = slot;
        }
    }
    return best;
}

int TPlayer::ChooseDiscard(const TSuitSlots& slots) const
{
    int target = Spades;
    for (int suit = Hearts; suit <= Diamonds; ++suit) {
        const int count = FSuitCount[At(suit)];
        if (count > 0 && (target == Spades || count < FSuitCount[At(target)]))
            target = suit;
    }

    // The lowest candidate with the Ace counted highest; of two Aces the later.
    unsigned mask = slots.Of(target);
    if (FTable.NilInPlay)
        mask = LawfulSlots(slots);  // the whole hand, but a lead keeps closed spades back
    int best = -1;
    int bestRank = 0;
    for (; mask; mask &= mask - 1) {
        const int slot = std::countr_zero(mask);
        const int rank = RankOf(FHand[At(slot)]);
        if (best == -1 || bestRank == Ace || (rank < bestRank && rank != Ace)) {
            best = slot;
            bestRank = rank;
        }
    }
    return best;
}

unsigned TPlayer::LawfulSlots(const TSuitSlots& slots) const
{
    // The rules judge a card by its suit: one card of a suit answers for all of them.
    unsigned lawful = 0;
    for (int suit = Spades; suit <= Diamonds; ++suit) {
        const unsigned mask = slots.Of(suit);
        if (mask && CheckPlay(FTable, *this, FHand[At(std::countr_zero(mask))]) == TPlayVerdict::Legal)
            lawful |= mask;
    }
    return lawful;
}

// The public queries take the slots afresh; a decision takes them once.
int TPlayer::CheapestAbove(int rank, int suit) const { return CheapestAbove(SlotsBySuit(), rank, suit); }
int TPlayer::HighestBelow(int rank, int suit) const { return HighestBelow(SlotsBySuit(), rank, suit); }
int TPlayer::HighestOfSuit(int suit) const { return Highest(SlotsBySuit().Of(suit)); }
int TPlayer::LowestOfSuit(int suit) const { return Lowest(SlotsBySuit().Of(suit)); }
int TPlayer::HighestCard() const { return HighestCard(SlotsBySuit()); }
int TPlayer::ChooseDiscard() const { return ChooseDiscard(SlotsBySuit()); }

// ---- Card play ------------------------------------------------------------------------------

int TPlayer::ChooseCard()
{
    const TSuitSlots slots = SlotsBySuit();
    if (!FTable.Place(1).HasCard())
        return ChooseLead(slots);
    if (FTable.NilInPlay)
        return ChooseFollowNil(slots);
    return ChooseFollow(slots);
}

int TPlayer::ChooseLead(const TSuitSlots& slots) const
{
    const int best = HighestCard(slots);
    if (best == -1)
        return ChooseDiscard(slots);
    if (!FTable.NilInPlay) {
        const int card = FHand[At(best)];
        const int suit = SuitOf(card);
        const int rank = RankOf(card);
        const auto played = [&](int r) { return FTable.CardsPlayed[At(CardValue(suit, r))]; };
        if (rank == Ace)
            return best;
        if (rank == King && played(Ace))
            return best;
        if (rank == Queen && played(Ace) && played(King))
            return best;
    }
    return ChooseDiscard(slots);
}

int TPlayer::ChooseFollow(const TSuitSlots& slots)
{
    const bool last = FTable.Place(3).HasCard();
    const int led = FTable.Place(1).Suit();
    const int top = HighestOnTable(FTable, led);
    const int topSpade = HighestOnTable(FTable, Spades);
    const bool trumped = topSpade != -1;
    const unsigned ledSlots = slots.Of(led);
    const auto rankAt = [&](int slot) { return RankOf(FHand[At(slot)]); };

    int choice;
    if (top == 1) {
        choice = Lowest(ledSlots);
    } else {
        choice = Highest(ledSlots);
        if (choice != -1 && rankAt(choice) != Ace) {
            if (rankAt(choice) < top)
                choice = Lowest(ledSlots);
            else if (PlayedRunFromTop(FTable, led) - 1 != rankAt(choice))
                choice = CheapestAbove(slots, top, led);
        }
    }
    if (last && !trumped && choice != -1 && rankAt(choice) > top)
        choice = CheapestAbove(slots, top, led);
    if (trumped && led != Spades)
        choice = Lowest(ledSlots);
    if (choice == -1)
        choice = trumped ? CheapestAbove(slots, topSpade, Spades) : Lowest(slots.Of(Spades));
    if (choice == -1)
        choice = ChooseDiscard(slots);
    CheckFollowedSuit(choice, led);
    return choice;
}

void TPlayer::CheckFollowedSuit(int choice, int ledSuit)
{
    if (choice < 1 || choice > 13)
        return;
    const int card = FHand[At(choice)];
    if (SuitOf(card) == ledSuit || FSuitCount[At(ledSuit)] <= 0)
        return;
    ReportFollowFault(card, ledSuit);
}

void TPlayer::ReportFollowFault(int card, int ledSuit)
{
    FOwner.ShowMessage("Internal Error: Did not follow suit\rPlayer=" + FName + "\r" + "Lead Suit=" +
                       std::string(SuitNames[At(ledSuit)]) + "\r" + "# In Hand=" +
                       std::to_string(FSuitCount[At(ledSuit)]) + "\r" + "Card Played=" +
                       std::to_string(RankOf(card)) + " of " + std::string(SuitNames[At(SuitOf(card))]));
}

int TPlayer::ChooseFollowNil(const TSuitSlots& slots) const
{
    const int led = FTable.Place(1).Suit();
    const int top = HighestOnTable(FTable, led);
    const int topSpade = HighestOnTable(FTable, Spades);
    const bool trumped = topSpade != -1;
    const bool void_ = FSuitCount[At(led)] == 0;
    const unsigned ledSlots = slots.Of(led);
    int choice = -1;

    if (led != Spades && trumped) {
        if (void_)
            choice = FBid == 0 ? HighestBelow(slots, topSpade, Spades) : CheapestAbove(slots, topSpade, Spades);
        else
            choice = Highest(ledSlots);
    }
    if (FBid != 0) {
        // Only the first card laid by a nil bidder is examined.
        for (int place = 1; place <= 4; ++place) {
            const TPlayStack& stack = FTable.Place(place);
            if (!stack.HasCard() || FTable.Player(stack.FSeat).FBid != 0)
                continue;
            const int rank = RankOf(stack.FValue);
            if (stack.Suit() == led && rank != Ace && rank < top)
                choice = Highest(ledSlots);  // the nil bidder is already covered
            break;
        }
    }
    if (top == 1)
        choice = Highest(ledSlots);
    if (choice == -1)
        choice = HighestBelow(slots, top, led);
    if (choice == -1)
        choice = void_ ? HighestCard(slots) : Lowest(ledSlots);
    // Void, only spades left, spades unbroken and none on the table: the lowest spade.
    if (choice == -1)
        choice = Lowest(slots.Of(Spades));
    return choice;
}

}  // namespace spades
