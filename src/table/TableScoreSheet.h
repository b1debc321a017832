// The window's score sheet: kept hand by hand for the game being played, shown
// beside the table from the menu or over the score card from its button.
#pragma once

#include <QPointer>

#include "ScoreSheet.h"

class QWidget;

namespace spades {

class TdlgScoreSheet;

class TTableScoreSheet {
public:
    explicit TTableScoreSheet(QWidget& window) : FWindow(window) {}

    TScoreSheet& Sheet() { return FSheet; }
    // A new game begins: nothing on the sheet.
    void Clear();
    // The hand just scored at this table.
    void HandScored(const TTableState& table);
    // The sheet beside the table, kept up to date while it is open.
    void ShowBeside(const TTableState& table);
    // Over whatever dialog is up (the score card), until it is closed.
    void ShowOver(const TTableState& table);

private:
    void Refresh(TdlgScoreSheet& dialog, const TTableState& table) const;

    QWidget& FWindow;
    TScoreSheet FSheet;
    QPointer<TdlgScoreSheet> FBeside;
};

}  // namespace spades
