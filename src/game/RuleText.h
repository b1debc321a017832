// A rule set as text, one NAME=VALUE per option ("variant=partnership
// bags=ten"), for whoever stores or sends the rules of a game.
#pragma once

#include <string>
#include <string_view>

#include "RuleSet.h"

namespace spades {

// Sets one option from "NAME=VALUE"; the reason when the text names no option
// or a value the option does not take (nothing changes then).
std::string SetRule(TRuleSet& rules, std::string_view nameValue);
// Several options separated by spaces, commas or line ends, then checked as a
// whole; the first reason, or empty when all is well.
std::string ParseRules(TRuleSet& rules, std::string_view text);
// Why these options cannot be played together, or empty.
std::string RulesProblem(const TRuleSet& rules);
// Every option as NAME=VALUE, separated by spaces, in a fixed order.
std::string RulesText(const TRuleSet& rules);
// Only the options that differ from the table's own, the score to win left
// out (it is kept on its own everywhere): empty for the table's own rules.
std::string HouseRulesText(const TRuleSet& rules);
// What the bidding variant asks of a seat ("Mirror: bid your number of spades."); empty for normal bidding.
std::string BiddingNote(const TTableRules& rules);
// "  bags  table, ten or none (default table)" and so on, one line per option.
std::string RulesHelp(std::string_view indent);

}  // namespace spades
