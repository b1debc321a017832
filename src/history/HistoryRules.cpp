#include "HistoryRules.h"

#include <QStringList>

#include "RuleText.h"

namespace spades {

TGameRules GameRules(const QString& stored, int winScore)
{
    TGameRules read;
    read.Rules.WinScore = winScore;
    TRuleSet parsed = read.Rules;
    const std::string problem = ParseRules(parsed, stored.toStdString());
    if (problem.empty()) {
        // The score to win is kept on its own: a text never overrides it.
        parsed.WinScore = winScore;
        read.Rules = parsed;
    } else {
        read.Problem = QString::fromStdString(problem);
    }
    return read;
}

TGameRules GameRules(const TGameRecord& game)
{
    TGameRules read = GameRules(game.Rules, game.WinScore);
    if (!read.Problem.isEmpty())
        read.Problem = QStringLiteral("The rules of game %1 (\"%2\") cannot be read: %3.\rIt is taken for a game "
                                      "by the table's own rules.")
                           .arg(game.Id)
                           .arg(game.Rules, read.Problem);
    return read;
}

QString RulesWords(const QString& stored)
{
    if (stored.isEmpty())
        return "The table's own rules";
    const TGameRules read = GameRules(stored, TRuleSet{}.WinScore);
    if (!read.Problem.isEmpty())
        return "Unreadable rules \"" + stored + '"';
    const TRuleSet& r = read.Rules;
    QStringList words;
    if (r.Partnership())
        words << "partnership";
    if (r.Bags == TBagRule::TenBags)
        words << "every 10 bags cost 100";
    else if (r.Bags == TBagRule::None)
        words << "bags cost nothing";
    if (r.Nil == TNilValue::Fifty)
        words << "Nil worth 50";
    if (r.Table.BlindNil == TBlindNil::WhenBehind)
        words << "Blind Nil when 100 behind";
    if (r.Lose == TLoseScore::Minus200)
        words << "lost at -200";
    if (r.Table.Lead == TLeadRule::Anytime)
        words << "spades led at any time";
    if (r.Table.FirstTrick == TFirstTrick::Clean)
        words << "no spade on the first trick";
    switch (r.Table.Bidding) {
    case TBidding::Mirror: words << "Mirror bidding"; break;
    case TBidding::Whiz: words << "Whiz bidding"; break;
    case TBidding::Suicide: words << "Suicide bidding"; break;
    case TBidding::Normal: break;
    }
    if (words.isEmpty())
        return "The table's own rules";
    QString text = words.join(", ");
    text[0] = text[0].toUpper();
    return text;
}

}  // namespace spades
