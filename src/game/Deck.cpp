#include "Deck.h"

#include <utility>

#include "PlayerU.h"

namespace spades {

void TDeck::Fill()
{
    for (int i = 1; i <= 52; ++i)
        FDeck[static_cast<size_t>(i)] = static_cast<uint8_t>(i);
    FDealPos = 1;
}

void TDeck::ShuffleDeck(TRandom& random)
{
    // A local copy keeps the generator in a register: stores into the byte array
    // could otherwise alias it.
    TRandom local(random.Seed());
    for (int pass = 0; pass < 10; ++pass) {
        for (size_t i = 1; i <= 52; ++i) {
            const size_t j = 1 + local.Below(51);
            std::swap(FDeck[i], FDeck[j]);
        }
    }
    random.SetSeed(local.Seed());
    FDealPos = 1;
}

void TDeck::DealHands(TRandom& random, TTableState& table)
{
    ShuffleDeck(random);
    Deal(table);
}

void TDeck::Deal(TTableState& table)
{
    FDealPos = 1;
    while (FDealPos < 53) {
        for (int seat = North; seat <= West && FDealPos < 53; ++seat) {
            table.Player(seat).AddCard(FDeck[static_cast<size_t>(FDealPos)]);
            ++FDealPos;
        }
    }
}

}  // namespace spades
