#include "RuleText.h"

#include <array>
#include <charconv>
#include <vector>

namespace spades {

namespace {
// One option: its name, the words of its values (index = enum value, the
// first the default) and how it is read and written.
struct TOption {
    std::string_view Name;
    std::vector<std::string_view> Words;
    int (*Get)(const TRuleSet&);
    void (*Set)(TRuleSet&, int);
};

template <typename TEnum>
int Index(TEnum value) { return static_cast<int>(value); }

constexpr std::array<int, 3> WinScores = {250, 300, 500};
// Any other score to win (the simulator's --win-score) still reads back.
constexpr int MaxWinScore = 32767;

bool SetOtherWinScore(TRuleSet& rules, std::string_view value)
{
    int score = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), score);
    if (error != std::errc{} || end != value.data() + value.size() || score < 1 || score > MaxWinScore)
        return false;
    rules.WinScore = score;
    return true;
}

const std::array<TOption, 9>& Options()
{
    static const std::array<TOption, 9> options = {{
        {"variant", {"individual", "partnership"}, [](const TRuleSet& r) { return Index(r.Table.Variant); },
         [](TRuleSet& r, int i) { r.Table.Variant = static_cast<TVariant>(i); }},
        {"bags", {"table", "ten", "none"}, [](const TRuleSet& r) { return Index(r.Bags); },
         [](TRuleSet& r, int i) { r.Bags = static_cast<TBagRule>(i); }},
        {"nil", {"100", "50"}, [](const TRuleSet& r) { return Index(r.Nil); },
         [](TRuleSet& r, int i) { r.Nil = static_cast<TNilValue>(i); }},
        {"blindnil", {"off", "behind"}, [](const TRuleSet& r) { return Index(r.Table.BlindNil); },
         [](TRuleSet& r, int i) { r.Table.BlindNil = static_cast<TBlindNil>(i); }},
        {"winscore", {"250", "300", "500"},
         [](const TRuleSet& r) {
             for (size_t i = 0; i < WinScores.size(); ++i)
                 if (WinScores[i] == r.WinScore)
                     return static_cast<int>(i);
             return -1;  // a score set elsewhere: written as its number
         },
         [](TRuleSet& r, int i) { r.WinScore = WinScores[static_cast<size_t>(i)]; }},
        {"losescore", {"off", "-200"}, [](const TRuleSet& r) { return Index(r.Lose); },
         [](TRuleSet& r, int i) { r.Lose = static_cast<TLoseScore>(i); }},
        {"spades", {"broken", "anytime"}, [](const TRuleSet& r) { return Index(r.Table.Lead); },
         [](TRuleSet& r, int i) { r.Table.Lead = static_cast<TLeadRule>(i); }},
        {"firsttrick", {"open", "clean"}, [](const TRuleSet& r) { return Index(r.Table.FirstTrick); },
         [](TRuleSet& r, int i) { r.Table.FirstTrick = static_cast<TFirstTrick>(i); }},
        {"bidding", {"normal", "mirror", "whiz", "suicide"}, [](const TRuleSet& r) { return Index(r.Table.Bidding); },
         [](TRuleSet& r, int i) { r.Table.Bidding = static_cast<TBidding>(i); }},
    }};
    return options;
}

std::string WordList(const TOption& option)
{
    std::string list;
    for (size_t i = 0; i < option.Words.size(); ++i) {
        if (i > 0)
            list += i + 1 == option.Words.size() ? " or " : ", ";
        list += option.Words[i];
    }
    return list;
}

std::string NameList()
{
    std::string list;
    for (const TOption& option : Options()) {
        if (!list.empty())
            list += ", ";
        list += option.Name;
    }
    return list;
}
}  // namespace

std::string SetRule(TRuleSet& rules, std::string_view nameValue)
{
    const size_t equals = nameValue.find('=');
    if (equals == std::string_view::npos)
        return "a rule is NAME=VALUE, not \"" + std::string(nameValue) + "\"";
    const std::string_view name = nameValue.substr(0, equals);
    const std::string_view value = nameValue.substr(equals + 1);
    for (const TOption& option : Options()) {
        if (option.Name != name)
            continue;
        for (size_t i = 0; i < option.Words.size(); ++i) {
            if (option.Words[i] == value) {
                option.Set(rules, static_cast<int>(i));
                return {};
            }
        }
        if (name == "winscore" && SetOtherWinScore(rules, value))
            return {};
        const std::string other = name == "winscore" ? " (or another score up to " + std::to_string(MaxWinScore) + ")" : "";
        return "rule " + std::string(name) + " takes " + WordList(option) + other + ", not \"" + std::string(value) + "\"";
    }
    return "no rule is named \"" + std::string(name) + "\" (the rules: " + NameList() + ")";
}

std::string RulesProblem(const TRuleSet& rules)
{
    if (rules.Table.Bidding == TBidding::Suicide && !rules.Partnership())
        return "bidding=suicide needs variant=partnership";
    return {};
}

std::string ParseRules(TRuleSet& rules, std::string_view text)
{
    TRuleSet parsed = rules;
    while (!text.empty()) {
        const size_t end = text.find_first_of(" ,\r\n\t");
        const std::string_view item = text.substr(0, end);
        if (!item.empty())
            if (std::string problem = SetRule(parsed, item); !problem.empty())
                return problem;
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    }
    if (std::string problem = RulesProblem(parsed); !problem.empty())
        return problem;
    rules = parsed;
    return {};
}

namespace {
std::string OptionsText(const TRuleSet& rules, bool changedOnly)
{
    std::string text;
    for (const TOption& option : Options()) {
        const int index = option.Get(rules);
        if (changedOnly && (index == 0 || option.Name == "winscore"))
            continue;
        if (!text.empty())
            text += ' ';
        text += option.Name;
        text += '=';
        text += index >= 0 ? std::string(option.Words[static_cast<size_t>(index)]) : std::to_string(rules.WinScore);
    }
    return text;
}
}  // namespace

std::string RulesText(const TRuleSet& rules) { return OptionsText(rules, false); }

std::string HouseRulesText(const TRuleSet& rules) { return OptionsText(rules, true); }

std::string BiddingNote(const TTableRules& rules)
{
    switch (rules.Bidding) {
    case TBidding::Mirror:
        return "Mirror: bid your number of spades.";
    case TBidding::Whiz:
        return "Whiz: bid Nil or your number of spades.";
    case TBidding::Suicide:
        return "Suicide: one partner of each side bids Nil.";
    case TBidding::Normal:
        break;
    }
    return {};
}

std::string RulesHelp(std::string_view indent)
{
    std::string help;
    for (const TOption& option : Options())
        help += std::string(indent) + std::string(option.Name) + '=' + WordList(option) + " (default " +
                std::string(option.Words.front()) + ")\n";
    return help;
}

}  // namespace spades
