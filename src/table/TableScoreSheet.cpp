#include "TableScoreSheet.h"

#include <QApplication>
#include <QTableWidget>

#include "ScoreSheetDialog.h"

namespace spades {

void TTableScoreSheet::Refresh(TdlgScoreSheet& dialog, const TTableState& table) const
{
    std::array<QString, 4> names;
    for (int seat = North; seat <= West; ++seat)
        names[static_cast<size_t>(seat - 1)] = QString::fromStdString(table.Player(seat).FName);
    dialog.SetSheet(FSheet, names);
}

void TTableScoreSheet::Clear()
{
    FSheet.Clear();
    if (FBeside)
        FBeside->lvwSheet()->setRowCount(0);
}

void TTableScoreSheet::HandScored(const TTableState& table)
{
    FSheet.AddHand(table);
    if (FBeside)
        Refresh(*FBeside, table);
}

void TTableScoreSheet::ShowBeside(const TTableState& table)
{
    if (!FBeside) {
        FBeside = new TdlgScoreSheet(&FWindow);
        FBeside->setAttribute(Qt::WA_DeleteOnClose);
        FBeside->setModal(false);
    }
    Refresh(*FBeside, table);
    FBeside->show();
    FBeside->raise();
    FBeside->activateWindow();
}

void TTableScoreSheet::ShowOver(const TTableState& table)
{
    QWidget* owner = QApplication::activeModalWidget();
    QPointer<TdlgScoreSheet> dialog = new TdlgScoreSheet(owner ? owner : &FWindow);
    Refresh(*dialog, table);
    dialog->exec();
    delete dialog.data();
}

}  // namespace spades
