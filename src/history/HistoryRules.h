// The rules each recorded game was played by, read back from the text the
// file keeps, and put in words for the statistics.
#pragma once

#include <QString>

#include "HistoryRecords.h"
#include "RuleSet.h"

namespace spades {

struct TGameRules {
    TRuleSet Rules;   // the table's own when the stored text cannot be read
    QString Problem;  // why the stored text cannot be read; empty when it can
};
// The rules of the stored house-rules text ('' the table's own) with that score to win.
TGameRules GameRules(const QString& stored, int winScore);
// The same for a game record; a problem names the game.
TGameRules GameRules(const TGameRecord& game);

// The stored text in words: "The table's own rules" for '', else each option
// that differs ("Partnership, every 10 bags cost 100"), or "Unreadable rules"
// with the text itself.
QString RulesWords(const QString& stored);

}  // namespace spades
