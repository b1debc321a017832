// A table for tests: card controls that remember what was done to them, seats
// given hands written as "KH 10H 3H 5C", and trick places filled by hand.
#pragma once

#include <algorithm>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "PlayerU.h"
#include "SpadesGame.h"

namespace spades::testing {

// "AS", "10H", "QC", "2D" -> card value.
inline int Card(std::string_view text)
{
    const char suitLetter = text.back();
    const std::string_view rankText = text.substr(0, text.size() - 1);
    int rank = 0;
    if (rankText == "A")
        rank = Ace;
    else if (rankText == "J")
        rank = Jack;
    else if (rankText == "Q")
        rank = Queen;
    else if (rankText == "K")
        rank = King;
    else
        rank = std::stoi(std::string(rankText));
    const int suit = std::string_view("SHCD").find(suitLetter) + 1;
    return CardValue(suit, rank);
}

inline std::vector<int> Cards(const std::string& list)
{
    std::vector<int> cards;
    std::istringstream in(list);
    std::string word;
    while (in >> word)
        cards.push_back(Card(word));
    return cards;
}

// "10H" for a card value, for readable failures.
inline std::string CardText(int value)
{
    if (value < 1 || value > 52)
        return std::to_string(value);
    static const char* ranks[] = {"", "A", "2", "3", "4", "5", "6", "7", "8", "9", "10", "J", "Q", "K"};
    return std::string(ranks[CardRank(static_cast<uint8_t>(value))]) + "SHCD"[CardSuit(static_cast<uint8_t>(value)) - 1];
}

class TFakeCard : public TCardControl {
public:
    explicit TFakeCard(std::string name) : FName(std::move(name)) {}
    std::string Name() const override { return FName; }
    int Value() const override { return FValue; }
    void SetValue(int value) override { FValue = value; }
    void SetVisible(bool visible) override { FVisible = visible; }
    void MoveTo(int left, int top) override
    {
        FBounds.Left = left;
        FBounds.Top = top;
    }
    void BringToFront() override { FOrder = ++*FCounter; }
    void ClearClickHandler() override { FArmed = false; }
    void LayOut(const TCardRect& bounds, int value) override
    {
        ClearClickHandler();
        FBounds = bounds;
        FValue = value;
        FVisible = true;
        BringToFront();
        ++FLayOuts;
    }

    std::string FName;
    int FValue = FirstBackValue;
    bool FVisible = false;
    bool FArmed = false;
    TCardRect FBounds;
    int FOrder = 0;
    int FLayOuts = 0;
    int* FCounter = nullptr;
};

class TFakeHost : public TCardHost {
public:
    TFakeHost()
    {
        for (int seat = 1; seat <= 4; ++seat)
            for (int slot = 1; slot <= 13; ++slot)
                Add(std::string(TCardName(seat, slot).View()));
    }
    TFakeCard& Add(const std::string& name)
    {
        auto& card = FCards.emplace(name, TFakeCard(name)).first->second;
        card.FCounter = &FOrderCounter;
        return card;
    }
    void Remove(const std::string& name) { FCards.erase(name); }
    TCardControl* FindCard(std::string_view name) override
    {
        auto it = FCards.find(std::string(name));
        return it == FCards.end() ? nullptr : &it->second;
    }
    TCardControl* CardAt(int seat, int slot) override { return FindCard(TCardName(seat, slot).View()); }
    TFakeCard& At(int seat, int slot) { return static_cast<TFakeCard&>(*CardAt(seat, slot)); }
    void ShowMessage(const std::string& text) override { Messages.push_back(text); }
    void SuspendDrawing() override { ++Suspended; }
    void ResumeDrawing() override { --Suspended; }

    std::map<std::string, TFakeCard> FCards;
    std::vector<std::string> Messages;
    int Suspended = 0;
    int FOrderCounter = 0;
};

// Four seats on a bare table, as the game sets them up.
struct TTestTable {
    TFakeHost Host;
    TTableState Table;

    TTestTable()
    {
        static const char* names[] = {"", "North", "East", "South", "West"};
        for (int seat = 1; seat <= 4; ++seat) {
            Table.Players[static_cast<size_t>(seat)] = std::make_unique<TPlayer>(Host, Table);
            Seat(seat).SetSeat(seat);
            Seat(seat).SetName(names[seat]);
        }
        for (int place = 1; place <= 4; ++place)
            Table.Place(place) = TPlayStack(TrickPlaceRect(place));
    }

    TPlayer& Seat(int seat) { return Table.Player(seat); }

    // Deals the listed cards to the seat (any number) and sorts them as the deal does.
    TPlayer& Give(int seat, const std::string& cards)
    {
        TPlayer& player = Seat(seat);
        player.ResetSeat();
        for (int card : Cards(cards))
            player.AddCard(card);
        // A short hand leaves the rest of the slots played, so sorting keeps it in front.
        for (int slot = player.FCardCount + 1; slot <= 13; ++slot)
            player.FHand[static_cast<size_t>(slot)] = NoCard;
        SortShortHand(player);
        return player;
    }

    // Lays cards on the table in order of play, each by the given seat.
    void Lay(int seat, const std::string& card)
    {
        const int value = Card(card);
        TPlayStack& place = Table.Place(Table.FirstEmptyPlace());
        place.SetSeat(seat);
        place.SetValue(value);
        Table.CardsPlayed[static_cast<size_t>(value)] = true;
    }

    void Played(const std::string& cards)
    {
        for (int card : Cards(cards))
            Table.CardsPlayed[static_cast<size_t>(card)] = true;
    }

    // The card a slot holds, as text.
    std::string At(int seat, int slot) { return slot < 1 ? "none" : CardText(Seat(seat).FHand[static_cast<size_t>(slot)]); }

private:
    static void SortShortHand(TPlayer& player)
    {
        if (player.FCardCount == 13) {
            player.SortHand("imgPlayer" + std::to_string(player.FSeat));
            return;
        }
        // Fewer than 13 cards: the same order as a sorted hand, the rest left played.
        std::vector<int> held(player.FHand.begin() + 1, player.FHand.begin() + 1 + player.FCardCount);
        auto key = [](int v) {
            const int rank = CardRank(static_cast<uint8_t>(v));
            return 13 * (CardSuit(static_cast<uint8_t>(v)) - 1) + (rank == Ace ? 13 : rank - 1);
        };
        std::sort(held.begin(), held.end(), [&](int a, int b) { return key(a) < key(b); });
        for (size_t i = 0; i < held.size(); ++i)
            player.FHand[i + 1] = held[i];
    }
};

}  // namespace spades::testing
