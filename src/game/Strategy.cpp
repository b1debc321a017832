// How a computer seat bids and which card it plays. Deterministic: the seat reads
// its own hand, the trick on the table, the cards played so far and two table flags.
#include "PlayerU.h"

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
        if (rank == Ace) {
            ++FBid;
            if (suit == Spades)
                --spadesLeft;
        }
        if (rank == King && length[At(suit)] > 1) {
            ++FBid;
            if (suit == Spades)
                --spadesLeft;
        }
        if (suit == Spades && rank == Queen && spadesLeft > 2) {
            ++FBid;
            --spadesLeft;
        }
        if (suit == Spades && rank == Jack && spadesLeft > 3) {
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

int TPlayer::CheapestAbove(int rank, int suit) const
{
    for (int slot = 1; slot <= 13; ++slot) {
        const int card = FHand[At(slot)];
        if (card != NoCard && SuitOf(card) == suit && RankOf(card) > rank)
            return slot;
    }
    return -1;
}

int TPlayer::HighestBelow(int rank, int suit) const
{
    for (int slot = 13; slot >= 1; --slot) {
        const int card = FHand[At(slot)];
        if (card != NoCard && SuitOf(card) == suit && RankOf(card) < rank)
            return slot;
    }
    return -1;
}

int TPlayer::HighestOfSuit(int suit) const
{
    for (int slot = 13; slot >= 1; --slot) {
        const int card = FHand[At(slot)];
        if (card != NoCard && SuitOf(card) == suit)
            return slot;
    }
    return -1;
}

int TPlayer::LowestOfSuit(int suit) const
{
    for (int slot = 1; slot <= 13; ++slot) {
        const int card = FHand[At(slot)];
        if (card != NoCard && SuitOf(card) == suit)
            return slot;
    }
    return -1;
}

int TPlayer::HighestCard() const
{
    int best = -1;
    int bestRank = 0;
    for (int slot = 1; slot <= 13; ++slot) {
        const int card = FHand[At(slot)];
        if (card == NoCard || (!FTable.SpadesBroken && SuitOf(card) == Spades))
            continue;
        const int rank = RankOf(card);
        if (rank == Ace)
            return slot;
        if (rank > bestRank) {
            bestRank = rank;
            best = slot;
        }
    }
    return best;
}

int TPlayer::ChooseDiscard() const
{
    int target = Spades;
    for (int suit = Hearts; suit <= Diamonds; ++suit) {
        const int count = FSuitCount[At(suit)];
        if (count > 0 && (target == Spades || count < FSuitCount[At(target)]))
            target = suit;
    }

    // The lowest candidate with the Ace counted highest; of two Aces the later.
    int best = -1;
    for (int slot = 1; slot <= 13; ++slot) {
        const int card = FHand[At(slot)];
        if (card == NoCard || (!FTable.NilInPlay && SuitOf(card) != target))
            continue;
        if (best == -1) {
            best = slot;
            continue;
        }
        const int bestRank = RankOf(FHand[At(best)]);
        const int rank = RankOf(card);
        if (bestRank == Ace || (rank < bestRank && rank != Ace))
            best = slot;
    }
    return best;
}

// ---- Card play ------------------------------------------------------------------------------

int TPlayer::ChooseCard()
{
    if (!FTable.Place(1).HasCard())
        return ChooseLead();
    if (FTable.NilInPlay)
        return ChooseFollowNil();
    return ChooseFollow();
}

int TPlayer::ChooseLead()
{
    const int best = HighestCard();
    if (best == -1)
        return ChooseDiscard();
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
    return ChooseDiscard();
}

int TPlayer::ChooseFollow()
{
    const bool last = FTable.Place(3).HasCard();
    const int led = FTable.Place(1).Suit();
    const int top = HighestOnTable(FTable, led);
    const int topSpade = HighestOnTable(FTable, Spades);
    const bool trumped = topSpade != -1;
    const auto rankAt = [&](int slot) { return RankOf(FHand[At(slot)]); };

    int choice;
    if (top == 1) {
        choice = LowestOfSuit(led);
    } else {
        choice = HighestOfSuit(led);
        if (choice != -1 && rankAt(choice) != Ace) {
            if (rankAt(choice) < top)
                choice = LowestOfSuit(led);
            else if (PlayedRunFromTop(FTable, led) - 1 != rankAt(choice))
                choice = CheapestAbove(top, led);
        }
    }
    if (last && !trumped && choice != -1 && rankAt(choice) > top)
        choice = CheapestAbove(top, led);
    if (trumped && led != Spades)
        choice = LowestOfSuit(led);
    if (choice == -1)
        choice = trumped ? CheapestAbove(topSpade, Spades) : LowestOfSuit(Spades);
    if (choice == -1)
        choice = ChooseDiscard();
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
    FOwner.ShowMessage("Internal Error: Did not follow suit\rPlayer=" + FName + "\r" + "Lead Suit=" +
                       std::string(SuitNames[At(ledSuit)]) + "\r" + "# In Hand=" +
                       std::to_string(FSuitCount[At(ledSuit)]) + "\r" + "Card Played=" +
                       std::to_string(RankOf(card)) + " of " + std::string(SuitNames[At(SuitOf(card))]));
}

int TPlayer::ChooseFollowNil()
{
    const int led = FTable.Place(1).Suit();
    const int top = HighestOnTable(FTable, led);
    const int topSpade = HighestOnTable(FTable, Spades);
    const bool trumped = topSpade != -1;
    const bool void_ = FSuitCount[At(led)] == 0;
    int choice = -1;

    if (led != Spades && trumped) {
        if (void_)
            choice = FBid == 0 ? HighestBelow(topSpade, Spades) : CheapestAbove(topSpade, Spades);
        else
            choice = HighestOfSuit(led);
    }
    if (FBid != 0) {
        // Only the first card laid by a nil bidder is examined.
        for (int place = 1; place <= 4; ++place) {
            const TPlayStack& stack = FTable.Place(place);
            if (!stack.HasCard() || FTable.Player(stack.FSeat).FBid != 0)
                continue;
            const int rank = RankOf(stack.FValue);
            if (stack.Suit() == led && rank != Ace && rank < top)
                choice = HighestOfSuit(led);  // the nil bidder is already covered
            break;
        }
    }
    if (top == 1)
        choice = HighestOfSuit(led);
    if (choice == -1)
        choice = HighestBelow(top, led);
    if (choice == -1)
        choice = void_ ? HighestCard() : LowestOfSuit(led);
    // Void, only spades left, spades unbroken and none on the table: the lowest spade.
    if (choice == -1)
        choice = LowestOfSuit(Spades);
    return choice;
}

}  // namespace spades
