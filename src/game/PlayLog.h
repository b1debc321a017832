// The play log: each hand's seats and cards, every trick, the bids at the end.
// Plain text with CR LF line ends, written to any output stream.
#pragma once

#include <ostream>
#include <string>
#include <string_view>

#include "PlayerU.h"
#include "RuleSet.h"

namespace spades {

class TPlayLog {
public:
    explicit TPlayLog(std::ostream& out) : FOut(out) {}

    // A new game: played by other rules than the table's own, its first hand
    // begins with them on one line ("Rules: variant=partnership bags=ten").
    void LogGameStart(const TRuleSet& rules);
    // The seats and their sorted hands; a separator first unless this is the first block.
    void LogHandStart(const TTableState& table);
    // The four cards of the trick in order of play.
    void LogTrick(const TTableState& table);
    // Bid, tricks made and bags of each seat; a Blind Nil shows as BN.
    void LogHandEnd(const TTableState& table);
    void WriteLogLine(std::string_view text);

    bool HasData() const { return FHasData; }

private:
    std::ostream& FOut;
    bool FHasData = false;
    std::string FRulesLine;  // for the next hand's start
};

// Pads to a width counted in characters, not bytes, so that names with accents
// keep the columns aligned.
std::string PadRight(std::string_view text, size_t width);

}  // namespace spades
