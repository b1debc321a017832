#include "RulesPage.h"

#include <QComboBox>
#include <QLabel>
#include <string>
#include <vector>

#include "RuleText.h"

namespace spades {

namespace {

struct TChoice {
    const char* Word;  // the value as the rules text writes it
    const char* Text;
};
struct TOptionRow {
    const char* Name;  // the option as the rules text names it
    const char* Label;
    std::vector<TChoice> Choices;  // the table's own rule first
};

const std::array<TOptionRow, TRulesPage::OptionCount>& Rows()
{
    static const std::array<TOptionRow, TRulesPage::OptionCount> rows = {{
        {"variant", "Game:", {{"individual", "Every seat on its own"}, {"partnership", "Partners: N-S against E-W"}}},
        {"bags", "Bags:", {{"table", "100 bags: -100 each hand"}, {"ten", "Every 10 bags: -100"}, {"none", "No penalty"}}},
        {"nil", "Nil:", {{"100", "Worth 100"}, {"50", "Worth 50"}}},
        {"blindnil", "Blind Nil:", {{"off", "Not allowed"}, {"behind", "When 100 behind (200)"}}},
        {"losescore", "Losing score:", {{"off", "None"}, {"-200", "-200 ends the game"}}},
        {"spades", "Spades led:", {{"broken", "Once broken"}, {"anytime", "At any time"}}},
        {"firsttrick", "First trick:", {{"open", "Any card"}, {"clean", "No spade while others held"}}},
        {"bidding", "Bidding:",
         {{"normal", "Normal"}, {"mirror", "Mirror: your spades"}, {"whiz", "Whiz: Nil or your spades"},
          {"suicide", "Suicide: one Nil a side"}}},
    }};
    return rows;
}

constexpr int Variant = 0, Bidding = 7;

// The word the rules text gives the option, e.g. "ten" for bags.
std::string WordOf(const TRuleSet& rules, const char* name)
{
    const std::string text = ' ' + RulesText(rules) + ' ';
    const std::string key = ' ' + std::string(name) + '=';
    const size_t at = text.find(key);
    if (at == std::string::npos)
        return {};
    const size_t from = at + key.size();
    return text.substr(from, text.find(' ', from) - from);
}

}  // namespace

TRulesPage::TRulesPage(std::function<void(const TRuleSet&)> changed, QWidget* parent)
    : QWidget(parent), FChanged(std::move(changed))
{
    setObjectName("tabRules");
    for (int option = 0; option < OptionCount; ++option) {
        const TOptionRow& row = Rows()[static_cast<size_t>(option)];
        const int top = 6 + 25 * option;
        auto* label = new QLabel(row.Label, this);
        label->setGeometry(8, top + 3, 84, 17);
        auto* choice = new QComboBox(this);
        choice->setObjectName(QStringLiteral("cbxRule_%1").arg(row.Name));
        for (const TChoice& c : row.Choices)
            choice->addItem(c.Text);
        choice->setGeometry(94, top, 221, 23);
        label->setBuddy(choice);
        connect(choice, &QComboBox::activated, this, [this, option](int index) { Choose(option, index); });
        FChoices[static_cast<size_t>(option)] = choice;
    }
    auto* note = new QLabel("The next game is played by these rules.", this);
    note->setObjectName("lblRulesNote");
    note->setGeometry(8, 6 + 25 * OptionCount, 305, 17);
}

void TRulesPage::Show(const TRuleSet& rules)
{
    FRules = rules;
    for (int option = 0; option < OptionCount; ++option) {
        const TOptionRow& row = Rows()[static_cast<size_t>(option)];
        const std::string word = WordOf(rules, row.Name);
        for (size_t i = 0; i < row.Choices.size(); ++i)
            if (word == row.Choices[i].Word)
                FChoices[static_cast<size_t>(option)]->setCurrentIndex(static_cast<int>(i));
    }
}

void TRulesPage::Choose(int option, int index)
{
    const TOptionRow& row = Rows()[static_cast<size_t>(option)];
    if (index < 0 || index >= static_cast<int>(row.Choices.size()))
        return;
    TRuleSet rules = FRules;
    SetRule(rules, std::string(row.Name) + '=' + row.Choices[static_cast<size_t>(index)].Word);
    // Choices that only go together follow each other: Suicide is a partnership
    // game, and partners play the ten-bag rule unless told otherwise (under the
    // 100-bag limit two sides' games can run on for ever).
    if (option == Variant && rules.Partnership() && rules.Bags == TBagRule::TableLimit)
        rules.Bags = TBagRule::TenBags;
    if (option == Variant && !rules.Partnership() && rules.Table.Bidding == TBidding::Suicide)
        rules.Table.Bidding = TBidding::Normal;
    if (option == Bidding && rules.Table.Bidding == TBidding::Suicide)
        rules.Table.Variant = TVariant::Partnership;
    Show(rules);
    if (FChanged)
        FChanged(FRules);
}

}  // namespace spades
