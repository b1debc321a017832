// Reading the simulator's command line: numbers within bounds.
#pragma once

#include <optional>
#include <string_view>

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

}  // namespace spades
