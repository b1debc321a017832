// Cards, seats and the places of the current trick. Plain C++: the table window,
// the simulator and the tests all drive the same objects through TCardHost.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "RuleOptions.h"

namespace spades {

// ---- Card values -------------------------------------------------------------
// 1..13 Spades, 14..26 Hearts, 27..39 Clubs, 40..52 Diamonds (Ace first in each),
// 53 joker, 54..62 backs 1..9, 0 no card; -1 marks a played slot or an empty place.
constexpr int NoCard = -1;
constexpr int JokerValue = 53;
constexpr int FirstBackValue = 54;
constexpr int LastBackValue = 62;

enum Suit : int { NoSuit = 0, Spades = 1, Hearts = 2, Clubs = 3, Diamonds = 4 };
enum Rank : int { Ace = 1, Jack = 11, Queen = 12, King = 13 };

namespace detail {
struct TCardFacts {
    std::array<uint8_t, 256> Suit{};
    std::array<uint8_t, 256> Rank{};
    constexpr TCardFacts()
    {
        for (int v = 1; v <= 52; ++v) {
            Suit[static_cast<size_t>(v)] = static_cast<uint8_t>((v - 1) / 13 + 1);
            Rank[static_cast<size_t>(v)] = static_cast<uint8_t>((v - 1) % 13 + 1);
        }
    }
};
inline constexpr TCardFacts CardFacts{};
}  // namespace detail

// Both take the value as a byte, the way the card image does: -1 reads as 255.
// Looked up, since the strategy asks them in every scan of a hand.
constexpr int CardSuit(uint8_t value) { return detail::CardFacts.Suit[value]; }
constexpr int CardRank(uint8_t value) { return detail::CardFacts.Rank[value]; }
inline int CardValue(int suit, int rank) { return 13 * (suit - 1) + rank; }

// "Spades", "Hearts", "Clubs", "Diamonds" at indexes 1..4.
extern const std::array<std::string_view, 5> SuitNames;

// Resource name of the image for a card value ("cdAceofSpades", "CdJoker",
// "cdCardBack1"); anything without an image gives "$" and eight hex digits.
std::string CardImageName(uint8_t value);

// ---- Seat numbers ------------------------------------------------------------
constexpr int North = 1, East = 2, South = 3, West = 4;
constexpr int NextSeat(int seat) { return seat % 4 + 1; }

// ---- The seam to the card controls ---------------------------------------------
struct TCardRect {
    int Left = 0, Top = 0, Width = 0, Height = 0;
    bool operator==(const TCardRect&) const = default;
};

// One card control on the table. The window implements it with its card widgets;
// tests and the simulator with plain objects.
class TCardControl {
public:
    virtual ~TCardControl() = default;
    virtual std::string Name() const = 0;
    virtual int Value() const = 0;
    virtual void SetValue(int value) = 0;
    virtual void SetVisible(bool visible) = 0;
    virtual void MoveTo(int left, int top) = 0;
    virtual void BringToFront() = 0;
    virtual void ClearClickHandler() = 0;
    // A held card's place in the fan: no click handler, at bounds, showing value,
    // visible and on top, in one step.
    virtual void LayOut(const TCardRect& bounds, int value) = 0;
};

// What a seat needs of the window that owns its card controls.
class TCardHost {
public:
    virtual ~TCardHost() = default;
    // nullptr when there is no control of that name.
    virtual TCardControl* FindCard(std::string_view name) = 0;
    // The hand control "imgPlayer" + seat + slot; nullptr when there is none.
    virtual TCardControl* CardAt(int seat, int slot) = 0;
    // A plain message box; '\r' separates lines.
    virtual void ShowMessage(const std::string& text) = 0;
    // Drawing is held back between these so a deal or a play shows in one repaint.
    virtual void SuspendDrawing() {}
    virtual void ResumeDrawing() {}
    // False for a table without a screen: nobody sees the fan, so it is not laid out.
    virtual bool ShowsCards() const { return true; }
};

// "imgPlayer" + seat digit + slot number, without touching the heap.
class TCardName {
public:
    TCardName(int seat, int slot);
    std::string_view View() const { return {FText.data(), FLength}; }
    operator std::string_view() const { return View(); }

private:
    std::array<char, 16> FText{};
    size_t FLength = 0;
};

class TPlayer;
struct TTableState;

// ---- One place of the current trick ------------------------------------------
class TPlayStack {
public:
    TPlayStack() = default;
    explicit TPlayStack(const TCardRect& bounds) : FBounds(bounds) {}

    bool HasCard() const { return FValue != NoCard; }
    void SetValue(int value) { FValue = value; }
    void SetSeat(int seat) { FSeat = seat; }
    void SetCard(TCardControl* card) { FCard = card; }
    int Suit() const { return HasCard() ? CardSuit(static_cast<uint8_t>(FValue)) : NoSuit; }
    void Clear()
    {
        SetValue(NoCard);
        SetSeat(0);
        SetCard(nullptr);
    }

    TCardRect FBounds;
    int FValue = NoCard;
    int FSeat = 0;
    TCardControl* FCard = nullptr;
};

// Record of a networked seat: a nonzero Id marks a seat played from another machine.
struct TNetPlayer {
    int32_t Id = 0;
};

// ---- One seat ------------------------------------------------------------------
class TPlayer {
public:
    TPlayer(TCardHost& owner, TTableState& table);

    void ResetSeat();
    void SetSeat(int seat) { FSeat = seat; }
    void SetName(std::string name) { FName = std::move(name); }
    void SetFaceUp(bool faceUp) { FFaceUp = faceUp; }
    void SetHuman(bool human) { FHuman = human; }
    void SetHandRect(const TCardRect& rect) { FHandRect = rect; }

    // Hand handling.
    void AddCard(int value)
    {
        if (FCardCount >= 13)
            return;  // a full hand has no slot left; never write past it
        ++FCardCount;
        FHand[static_cast<size_t>(FCardCount)] = value;
        ++FSuitCount[static_cast<size_t>(CardSuit(static_cast<uint8_t>(value)))];
    }
    void SortHand(std::string_view prefix);
    void RefreshCards(std::string_view prefix);
    void PlayCard(std::string_view name);
    // PlayCard of the control "imgPlayer" + seat + slot, for a slot already known
    // to be 1..13: no name to build or read when nothing is shown.
    void PlaySlot(int seat, int slot);
    // The slot 1..13 that holds this card value, or -1 when the hand has none.
    int SlotOf(int card) const
    {
        if (card < 1 || card > 52)
            return -1;
        for (int slot = 1; slot <= 13; ++slot)
            if (FHand[static_cast<size_t>(slot)] == card)
                return slot;
        return -1;
    }

    // Computer strategy.
    void ComputeBid();
    bool NilSafe() const;
    int ChooseCard();
    int ChooseDiscard() const;
    int CheapestAbove(int rank, int suit) const;
    int HighestBelow(int rank, int suit) const;
    int HighestOfSuit(int suit) const;
    int LowestOfSuit(int suit) const;
    int HighestCard() const;

    TCardHost& FOwner;
    TTableState& FTable;
    TCardRect FHandRect;
    int FSeat = -1;
    std::string FName;
    bool FFaceUp = false;
    bool FHuman = false;
    bool FExpert = false;  // a computer seat that the sampling player plays; kept across games
    TNetPlayer FNet;
    std::array<int, 14> FHand{};       // slots 1..13
    std::array<int, 5> FSuitCount{};   // suits 1..4
    int FCardCount = 0;
    int FLastPlayed = NoCard;
    int FBid = 0;                      // 0 is Nil
    int FTricks = 0;
    int FBags = 0;
    int FTotalBags = 0;
    int FScore = 0;

    // Bit k set: slot k holds an unplayed card of that suit (suits 1..4). Taken from the hand
    // once per decision, so each query looks only at the slots of its suit.
    struct TSuitSlots {
        uint64_t Lanes = 0;  // four 16-bit lanes, spades lowest
        unsigned Of(int suit) const
        {
            return suit >= Spades && suit <= Diamonds ? static_cast<unsigned>(Lanes >> (16 * (suit - 1))) & 0xFFFFu : 0u;
        }
    };
    TSuitSlots SlotsBySuit() const;

private:
    // Takes the slot's card out of the hand; false (with the message) for an empty slot.
    bool TakeSlot(int slot);
    int ChooseLead(const TSuitSlots& slots) const;
    int ChooseFollow(const TSuitSlots& slots);
    int ChooseFollowNil(const TSuitSlots& slots) const;
    int ChooseDiscard(const TSuitSlots& slots) const;
    int CheapestAbove(const TSuitSlots& slots, int rank, int suit) const;
    int HighestBelow(const TSuitSlots& slots, int rank, int suit) const;
    int HighestCard(const TSuitSlots& slots) const;
    // The slots of the cards the rules let this seat play now.
    unsigned LawfulSlots(const TSuitSlots& slots) const;
    void CheckFollowedSuit(int choice, int ledSuit);
    [[gnu::cold]] void ReportFollowFault(int card, int ledSuit);
};

// Queries on the trick and the hand's record that need no seat.
int HighestOnTable(const TTableState& table, int suit);
int PlayedRunFromTop(const TTableState& table, int suit);

// ---- Table-wide state ------------------------------------------------------------
// What the game keeps as table-wide state, held in one object per table so that
// several tables (tests, the simulator) can exist side by side.
struct TTableState {
    std::array<std::unique_ptr<TPlayer>, 5> Players;   // seats 1..4
    std::array<TPlayStack, 5> TrickStacks;             // places 1..4 in order of play
    std::array<bool, 53> CardsPlayed{};                // by card value 1..52
    bool SpadesBroken = false;
    bool NilInPlay = false;
    uint8_t CardBack = FirstBackValue;
    bool AllComputer = true;
    bool StopRequested = false;
    bool PlayInProgress = false;
    TTableRules Rules;                                 // set by the hand cycle
    std::array<bool, 5> BlindNil{};                    // by seat: its Nil was bid blind

    TPlayer& Player(int seat) { return *Players[static_cast<size_t>(seat)]; }
    const TPlayer& Player(int seat) const { return *Players[static_cast<size_t>(seat)]; }
    TPlayStack& Place(int place) { return TrickStacks[static_cast<size_t>(place)]; }
    const TPlayStack& Place(int place) const { return TrickStacks[static_cast<size_t>(place)]; }
    // First place without a card (1..4), or 5 when the trick is full.
    int FirstEmptyPlace() const;
};

}  // namespace spades
