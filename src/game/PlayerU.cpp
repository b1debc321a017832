#include "PlayerU.h"

#include <algorithm>
#include <bit>
#include <cstdio>

namespace spades {

const std::array<std::string_view, 5> SuitNames = {"", "Spades", "Hearts", "Clubs", "Diamonds"};

namespace {
constexpr std::array<std::string_view, 14> RankWords = {
    "", "Ace", "2", "3", "4", "5", "6", "7", "8", "9", "10", "Jack", "Queen", "King"};
}

std::string CardImageName(uint8_t value)
{
    if (value >= 1 && value <= 52) {
        std::string name = "cd";
        name += RankWords[static_cast<size_t>(CardRank(value))];
        name += "of";
        name += SuitNames[static_cast<size_t>(CardSuit(value))];
        return name;
    }
    if (value == JokerValue)
        return "CdJoker";
    if (value >= FirstBackValue && value <= LastBackValue)
        return "cdCardBack" + std::to_string(value - JokerValue);
    char text[16];
    std::snprintf(text, sizeof text, "$%.8x", static_cast<unsigned>(value));
    return text;
}

TCardName::TCardName(int seat, int slot)
{
    constexpr std::string_view prefix = "imgPlayer";
    char* out = std::copy(prefix.begin(), prefix.end(), FText.begin());
    if (seat >= 0 && seat <= 9 && slot >= 0 && slot <= 99) {  // every real control
        *out++ = static_cast<char>('0' + seat);
        if (slot >= 10)
            *out++ = static_cast<char>('0' + slot / 10);
        *out++ = static_cast<char>('0' + slot % 10);
        FLength = static_cast<size_t>(out - FText.begin());
        return;
    }
    const auto end = FText.end() - 1;
    for (int number : {seat, slot}) {
        if (number < 0 && out < end) {
            *out++ = '-';
            number = -number;
        }
        char digits[12];
        int count = 0;
        do {
            digits[count++] = static_cast<char>('0' + number % 10);
            number /= 10;
        } while (number > 0 && count < 10);
        while (count > 0 && out < end)
            *out++ = digits[--count];
    }
    FLength = static_cast<size_t>(out - FText.begin());
}

int TTableState::FirstEmptyPlace() const
{
    for (int k = 1; k <= 4; ++k)
        if (!Place(k).HasCard())
            return k;
    return 5;
}

// ---- TPlayer: hand handling --------------------------------------------------------

TPlayer::TPlayer(TCardHost& owner, TTableState& table) : FOwner(owner), FTable(table)
{
    ResetSeat();
}

void TPlayer::ResetSeat()
{
    FCardCount = 0;
    FLastPlayed = NoCard;
    FBid = FTricks = FBags = FTotalBags = FScore = 0;
    FHand.fill(0);
    FSuitCount.fill(0);
    FFaceUp = FHuman = false;
}

namespace {
// Within a suit the 2 sorts lowest and the Ace highest.
constexpr std::array<int, 14> RankOrder = {0, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 1};

int SortKey(int value)
{
    const auto v = static_cast<uint8_t>(value);
    const int rank = CardRank(v);
    const int position = rank == Ace ? 13 : rank - 1;  // where the rank stands in RankOrder
    return 13 * (CardSuit(v) - 1) + position;
}

int KeyToCard(int key)
{
    const auto k = static_cast<uint8_t>(key);
    return RankOrder[static_cast<size_t>(CardRank(k))] + 13 * (CardSuit(k) - 1);
}
}  // namespace

void TPlayer::SortHand(std::string_view prefix)
{
    // The keys of a dealt hand are distinct numbers 1..52: a bit set sorts them.
    uint64_t keys = 0;
    bool distinct = true;
    for (int i = 1; i <= 13; ++i) {
        const int key = SortKey(FHand[static_cast<size_t>(i)]);
        FHand[static_cast<size_t>(i)] = key;
        const uint64_t bit = key >= 1 && key <= 52 ? uint64_t{1} << key : 0;
        distinct = distinct && bit != 0 && (keys & bit) == 0;
        keys |= bit;
    }
    if (distinct) {
        for (int i = 1; i <= 13; ++i, keys &= keys - 1)
            FHand[static_cast<size_t>(i)] = std::countr_zero(keys);
    } else {
        std::sort(FHand.begin() + 1, FHand.end());
    }
    for (int i = 1; i <= 13; ++i)
        FHand[static_cast<size_t>(i)] = KeyToCard(FHand[static_cast<size_t>(i)]);
    RefreshCards(prefix);
}

void TPlayer::RefreshCards(std::string_view prefix)
{
    if (!FOwner.ShowsCards())
        return;
    // The hand controls are found by seat and slot; any other prefix by its name.
    constexpr std::string_view handPrefix = "imgPlayer";
    const bool handControls = prefix.size() == handPrefix.size() + 1 && prefix.starts_with(handPrefix) &&
                              prefix.back() >= '0' && prefix.back() <= '9';
    const int seat = handControls ? prefix.back() - '0' : 0;

    const int startX = FHandRect.Left - (FCardCount / 2) * 14;
    int n = 0;
    for (int i = 1; i <= 13; ++i) {
        const int value = FHand[static_cast<size_t>(i)];
        if (value == NoCard)
            continue;  // the played card's control belongs to the trick now
        TCardControl* card =
            handControls ? FOwner.CardAt(seat, i) : FOwner.FindCard(std::string(prefix) + std::to_string(i));
        if (!card) {
            FOwner.ShowMessage("Error occurred while refreshing cards\ri = " + std::to_string(i) + "\r" +
                               "Name = " + std::string(prefix));
            continue;
        }
        const TCardRect bounds{startX + 14 * n, FHandRect.Top, FHandRect.Width, FHandRect.Height};
        card->LayOut(bounds, FFaceUp ? value : FTable.CardBack);
        ++n;
    }
}

void TPlayer::PlayCard(std::string_view name)
{
    // The slot is the decimal number after "imgPlayer" and the seat digit.
    long slot = 0;
    if (name.size() > 10) {
        for (char c : name.substr(10)) {
            if (c < '0' || c > '9') {
                slot = 0;
                break;
            }
            slot = std::min(slot * 10 + (c - '0'), 1000000L);
        }
    }
    if (slot < 1 || slot > 13) {
        FOwner.ShowMessage("Something is very wrong here:\rCard number to play = " + std::to_string(slot));
        return;
    }
    if (TakeSlot(static_cast<int>(slot)))
        RefreshCards(name.substr(0, 10));
}

void TPlayer::PlaySlot(int seat, int slot)
{
    if (TakeSlot(slot) && FOwner.ShowsCards())
        RefreshCards(TCardName(seat, slot).View().substr(0, 10));
}

bool TPlayer::TakeSlot(int slot)
{
    int& held = FHand[static_cast<size_t>(slot)];
    if (held == NoCard) {
        FOwner.ShowMessage("Something is very wrong here:\rCard value to play  = " + std::to_string(held));
        return false;
    }
    FLastPlayed = held;
    const int suit = CardSuit(static_cast<uint8_t>(held));
    --FSuitCount[static_cast<size_t>(suit)];
    if (!FTable.SpadesBroken && suit == Spades)
        FTable.SpadesBroken = true;
    held = NoCard;
    --FCardCount;
    return true;
}

}  // namespace spades
