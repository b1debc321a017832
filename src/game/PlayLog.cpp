#include "PlayLog.h"

#include <cstdio>

#include "RuleText.h"
#include "SeatKind.h"

namespace spades {

namespace {
size_t Utf8Length(std::string_view text)
{
    size_t count = 0;
    for (unsigned char c : text)
        if ((c & 0xC0) != 0x80)
            ++count;
    return count;
}

std::string Format(const char* format, int value)
{
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}
}  // namespace

std::string PadRight(std::string_view text, size_t width)
{
    std::string padded(text);
    const size_t length = Utf8Length(text);
    if (length < width)
        padded.append(width - length, ' ');
    return padded;
}

void TPlayLog::WriteLogLine(std::string_view text)
{
    FOut << text << "\r\n";
    FHasData = true;
}

void TPlayLog::LogGameStart(const TRuleSet& rules)
{
    const std::string house = HouseRulesText(rules);
    FRulesLine = house.empty() ? std::string() : "Rules: " + house;
}

void TPlayLog::LogHandStart(const TTableState& table)
{
    if (FHasData)
        WriteLogLine("\r\n" + std::string(50, '-'));
    if (!FRulesLine.empty()) {
        WriteLogLine(FRulesLine);
        FRulesLine.clear();
    }
    for (int seat = North; seat <= West; ++seat) {
        const TPlayer& player = table.Player(seat);
        WriteLogLine("Player " + std::to_string(seat) + ":  " + player.FName +
                     " - " + std::string(LogName(SeatKindOf(player))));
        std::string cards = "  Cards:";
        int previousSuit = NoSuit;
        for (int slot = 1; slot <= 13; ++slot) {
            const auto card = static_cast<uint8_t>(player.FHand[static_cast<size_t>(slot)]);
            const int suit = CardSuit(card);
            if (suit != previousSuit) {
                cards += "  ";
                cards += SuitNames[static_cast<size_t>(suit)];
                cards += ":";
                previousSuit = suit;
            }
            cards += Format(" %d", CardRank(card));
        }
        WriteLogLine(cards);
    }
    WriteLogLine(" ");
}

void TPlayLog::LogTrick(const TTableState& table)
{
    std::string line = "Play: ";
    for (int place = 1; place <= 4; ++place) {
        const TPlayStack& stack = table.Place(place);
        if (!stack.HasCard())
            continue;
        const auto card = static_cast<uint8_t>(stack.FValue);
        line += table.Player(stack.FSeat).FName;
        line += "-";
        line += Format("%2d", CardRank(card));
        line += SuitNames[static_cast<size_t>(CardSuit(card))].substr(0, 1);
        line += "    ";
    }
    WriteLogLine(line);
}

void TPlayLog::LogHandEnd(const TTableState& table)
{
    WriteLogLine("");
    WriteLogLine("               Bid   Made  Bags");
    for (int seat = North; seat <= West; ++seat) {
        const TPlayer& player = table.Player(seat);
        char numbers[48];
        if (table.BlindNil[static_cast<size_t>(seat)])
            std::snprintf(numbers, sizeof numbers, " %3s %6d %5d", "BN", player.FTricks, player.FBags);
        else
            std::snprintf(numbers, sizeof numbers, " %3d %6d %5d", player.FBid, player.FTricks, player.FBags);
        WriteLogLine(PadRight(player.FName, 14) + numbers);
    }
}

}  // namespace spades
