// The Rules page of the preferences: partnerships and the house rules of the
// next game. A game in progress keeps the rules it was begun with.
#pragma once

#include <QWidget>
#include <array>
#include <functional>

#include "RuleSet.h"

class QComboBox;
class QLabel;

namespace spades {

class TRulesPage : public QWidget {
public:
    static constexpr int OptionCount = 8;

    // changed: called with the rules after every choice.
    TRulesPage(std::function<void(const TRuleSet&)> changed, QWidget* parent = nullptr);

    // Shows these rules; the score to win is kept as it is given.
    void Show(const TRuleSet& rules);
    const TRuleSet& Rules() const { return FRules; }

    // By option: variant, bags, nil, blindnil, losescore, spades, firsttrick, bidding.
    QComboBox* Choice(int option) const { return FChoices[static_cast<size_t>(option)]; }

private:
    void Choose(int option, int index);

    std::function<void(const TRuleSet&)> FChanged;
    TRuleSet FRules;
    std::array<QComboBox*, OptionCount> FChoices{};
};

}  // namespace spades
