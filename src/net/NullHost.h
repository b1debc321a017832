// A table with no card controls: the host's game and a joined table's copy of
// it need the seats' state only.
#pragma once

#include <string>
#include <vector>

#include "PlayerU.h"

namespace spades::net {

class TNullHost : public TCardHost {
public:
    TCardControl* FindCard(std::string_view) override { return nullptr; }
    TCardControl* CardAt(int, int) override { return nullptr; }
    void ShowMessage(const std::string& text) override { Messages.push_back(text); }
    bool ShowsCards() const override { return false; }

    std::vector<std::string> Messages;
};

}  // namespace spades::net
