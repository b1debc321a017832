#include "GameLines.h"

#include <charconv>

namespace spades {

namespace {
void AppendNumber(std::string& text, int value)
{
    char digits[16];
    text.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
}
}  // namespace

std::string HandScoresLine(int gameNumber, int handNumber, const TTableState& table)
{
    std::string line;
    line.reserve(64);  // one allocation: the simulator writes this line every hand
    line += "hand ";
    AppendNumber(line, gameNumber);
    line += '.';
    AppendNumber(line, handNumber);
    line += " scores";
    for (int seat = North; seat <= West; ++seat) {
        line += ' ';
        AppendNumber(line, table.Player(seat).FScore);
    }
    return line;
}

std::string GameWinnerLine(int gameNumber, const std::string& winnerName, int hands)
{
    return "game " + std::to_string(gameNumber) + " winner " + winnerName + " after " + std::to_string(hands) +
           " hands";
}

}  // namespace spades
