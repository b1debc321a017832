// The table window's play log: written while "Log Play" is checked; a log that
// cannot be written is said once and play goes on without it.
#include "SpadesU.h"

#include <QDir>

namespace spades {

void TfrmMain::LogHandStart()
{
    FLogThisHand = false;
    if (!LogPlay())
        return;
    QString error;
    if (!FLogFile.Open(&error)) {
        if (!FLogFailureShown) {
            FLogFailureShown = true;
            FPrompts->Notice(TNoticeKind::Warning, error);
        }
        return;
    }
    FLogThisHand = true;
    if (FCycle.HandNumber() == 1)
        FLogFile.Log().LogGameStart(FGame.FRules);  // house rules head the game's first hand
    FLogFile.Log().LogHandStart(FGame.Table);
    CheckLogWrites();
}

void TfrmMain::LogTrick()
{
    if (!FLogThisHand || !LogPlay() || !FLogFile.IsOpen())
        return;
    FLogFile.Log().LogTrick(FGame.Table);
    CheckLogWrites();
}

void TfrmMain::LogHandEnd()
{
    if (!FLogThisHand || !LogPlay() || !FLogFile.IsOpen())
        return;
    FLogFile.Log().LogHandEnd(FGame.Table);
    CheckLogWrites();
}

void TfrmMain::CheckLogWrites()
{
    FLogFile.Flush();
    if (FLogFile.Good())
        return;
    const QString path = FLogFile.Path();
    FLogFile.Close();
    FLogThisHand = false;
    if (!FLogFailureShown) {
        FLogFailureShown = true;
        FPrompts->Notice(TNoticeKind::Warning, "The play log " + QDir::toNativeSeparators(path) +
                                                   " could not be written. Play goes on without a log.");
    }
}

}  // namespace spades
