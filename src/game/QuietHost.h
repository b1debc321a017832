// A table with no card controls and no one to tell: for games played out in
// memory, where only the seats' state counts.
#pragma once

#include <string>
#include <string_view>

#include "PlayerU.h"

namespace spades {

class TQuietHost final : public TCardHost {
public:
    TCardControl* FindCard(std::string_view) override { return nullptr; }
    TCardControl* CardAt(int, int) override { return nullptr; }
    void ShowMessage(const std::string&) override {}
    bool ShowsCards() const override { return false; }
};

}  // namespace spades
