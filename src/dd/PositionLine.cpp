#include "PositionLine.h"

#include <bit>
#include <charconv>

namespace spades {

namespace {
constexpr std::string_view Seats = "NESW";

// A whole number from lo to hi, digits only.
bool ReadNumber(std::string_view text, int lo, int hi, int& value)
{
    if (text.empty() || text.size() > 3)
        return false;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc{} && end == text.data() + text.size() && value >= lo && value <= hi;
}

std::string Quoted(std::string_view text)
{
    std::string quoted(1, '\'');
    quoted.append(text.substr(0, 20));
    quoted += '\'';
    return quoted;
}

// Comma-separated items, each handed to read; the first refusal is the answer.
template <typename F>
std::string ForEachItem(std::string_view list, F read)
{
    if (list.empty())
        return {};
    for (;;) {
        const size_t comma = list.find(',');
        std::string error = read(list.substr(0, comma));
        if (!error.empty() || comma == std::string_view::npos)
            return error;
        list.remove_prefix(comma + 1);
    }
}

std::string ReadHand(std::string_view list, TCardSet& hand)
{
    return ForEachItem(list, [&](std::string_view item) -> std::string {
        int card = 0;
        if (!ReadNumber(item, 1, 52, card))
            return Quoted(item) + " is not a card 1..52";
        if (hand & CardBit(card))
            return "card " + std::to_string(card) + " is listed twice";
        hand |= CardBit(card);
        return {};
    });
}

std::string ReadTrick(std::string_view list, TDDPosition& position)
{
    return ForEachItem(list, [&](std::string_view item) -> std::string {
        const size_t colon = item.find(':');
        int seat = 0, card = 0;
        if (colon == std::string_view::npos || !ReadNumber(item.substr(0, colon), 1, 4, seat) ||
            !ReadNumber(item.substr(colon + 1), 1, 52, card))
            return Quoted(item) + " is not seat:card with a seat 1..4 and a card 1..52";
        if (position.TrickCount == 3)
            return "more than 3 cards";
        position.Trick[static_cast<size_t>(position.TrickCount++)] = {static_cast<uint8_t>(seat),
                                                                      static_cast<uint8_t>(card)};
        return {};
    });
}
}  // namespace

TLineResult ParsePositionLine(std::string_view line)
{
    TLineResult result;
    if (line.size() > MaxPositionLine) {
        result.Error = "the line is longer than " + std::to_string(MaxPositionLine) + " characters";
        return result;
    }
    TDDPosition& position = result.Position;
    unsigned given = 0;  // bit per field: N, E, S, W, lead, broken, trick
    static constexpr std::array<std::string_view, 7> Fields = {"N", "E", "S", "W", "lead", "broken", "trick"};
    while (true) {
        const size_t start = line.find_first_not_of(" \t\r");
        if (start == std::string_view::npos)
            break;
        line.remove_prefix(start);
        const size_t end = line.find_first_of(" \t\r");
        const std::string_view word = line.substr(0, end);
        line.remove_prefix(word.size());
        const size_t equals = word.find('=');
        const std::string_view name = word.substr(0, equals);
        size_t field = 0;
        while (field < Fields.size() && Fields[field] != name)
            ++field;
        if (equals == std::string_view::npos || field == Fields.size()) {
            result.Error = Quoted(word) + " is not a field: N=, E=, S=, W=, lead=, broken= or trick=";
            return result;
        }
        if (given & (1u << field)) {
            result.Error = "field " + std::string(name) + ": given twice";
            return result;
        }
        given |= 1u << field;
        const std::string_view value = word.substr(equals + 1);
        std::string error;
        int number = 0;
        if (field < 4)
            error = ReadHand(value, position.Hands[field + 1]);
        else if (field == 4)
            error = ReadNumber(value, 1, 4, number) ? std::string() : Quoted(value) + " is not a seat 1..4";
        else if (field == 5)
            error = value == "0" || value == "1" ? std::string() : Quoted(value) + " is not 0 or 1";
        else
            error = ReadTrick(value, position);
        if (!error.empty()) {
            result.Error = "field " + std::string(name) + ": " + error;
            return result;
        }
        if (field == 4)
            position.Leader = number;
        if (field == 5)
            position.SpadesBroken = value == "1";
    }
    for (size_t field = 0; field < 6; ++field)
        if (!(given & (1u << field))) {
            result.Error = "field " + std::string(Fields[field]) + ": missing";
            return result;
        }
    const std::string problem = CheckPosition(position);
    if (!problem.empty())
        result.Error = "position: " + problem;
    return result;
}

std::string FormatPositionLine(const TDDPosition& position)
{
    std::string line;
    for (int seat = North; seat <= West; ++seat) {
        line += Seats[static_cast<size_t>(seat - 1)];
        line += '=';
        const char* comma = "";
        for (TCardSet rest = position.Hands[static_cast<size_t>(seat)]; rest; rest &= rest - 1) {
            line += comma;
            line += std::to_string(std::countr_zero(rest) + 1);
            comma = ",";
        }
        line += ' ';
    }
    line += "lead=";
    line += std::to_string(position.Leader);
    line += position.SpadesBroken ? " broken=1" : " broken=0";
    for (int i = 0; i < position.TrickCount; ++i) {
        const TPlayRecord& play = position.Trick[static_cast<size_t>(i)];
        line += i == 0 ? " trick=" : ",";
        line += std::to_string(play.Seat);
        line += ':';
        line += std::to_string(play.Card);
    }
    return line;
}

}  // namespace spades
