#include "CardTitle.h"

#include <array>

#include "PlayerU.h"

namespace spades {

QString CardTitle(uint8_t value)
{
    static constexpr std::array<const char*, 14> Ranks = {
        "", "Ace", "2", "3", "4", "5", "6", "7", "8", "9", "10", "Jack", "Queen", "King"};
    static constexpr std::array<const char*, 5> Suits = {"", "Spades", "Hearts", "Clubs", "Diamonds"};
    if (value >= 1 && value <= 52)
        return QString("%1 of %2").arg(Ranks[CardRank(value)], Suits[CardSuit(value)]);
    if (value == 53)
        return QStringLiteral("Joker");
    if (value >= 54 && value <= 62)
        return QStringLiteral("card back");
    return {};
}

}  // namespace spades
