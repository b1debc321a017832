// Reading the simulator's command line: numbers within bounds.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "RuleText.h"

namespace spades {

// A whole decimal number no greater than max, or nothing for any other text.
inline std::optional<unsigned long long> ParseNumber(std::string_view text, unsigned long long max)
{
    if (text.empty() || text.size() > 20)
        return std::nullopt;
    unsigned long long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + static_cast<unsigned>(c - '0');
        if (value > max)
            return std::nullopt;
    }
    return value;
}

// --variant V and --rule NAME=VALUE, read alike by every mode that plays a
// game: nullopt when option is neither, else the reason it was refused (empty: taken).
inline std::optional<std::string> RuleOption(TRuleSet& rules, std::string_view option, std::string_view value)
{
    if (option == "--variant") {
        if (!SetRule(rules, "variant=" + std::string(value)).empty())
            return "--variant takes individual or partnership";
        return std::string{};
    }
    if (option == "--rule") {
        if (const std::string problem = SetRule(rules, value); !problem.empty())
            return "--rule: " + problem;
        return std::string{};
    }
    return std::nullopt;
}

}  // namespace spades
