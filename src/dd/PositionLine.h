// One position per line, as spades-dd reads it:
//   N=c,c,... E=... S=... W=... lead=1..4 broken=0|1 [trick=seat:card,...]
// with cards as the table's values 1..52 and the trick's cards in the order laid.
#pragma once

#include <string>
#include <string_view>

#include "DoubleDummy.h"

namespace spades {

// Longer lines are refused before they are read into fields.
constexpr size_t MaxPositionLine = 1024;

struct TLineResult {
    TDDPosition Position;
    std::string Error;  // empty when the line is a position that can be played out
};

TLineResult ParsePositionLine(std::string_view line);
// The line that reads back as the position.
std::string FormatPositionLine(const TDDPosition& position);

}  // namespace spades
