// The score sheet: the game so far hand by hand, a column for each seat.
#pragma once

#include <QDialog>
#include <QString>
#include <array>

class QTableWidget;

namespace spades {

class TScoreSheet;
struct TSheetEntry;

class TdlgScoreSheet : public QDialog {
    Q_OBJECT
public:
    explicit TdlgScoreSheet(QWidget* owner = nullptr);

    // Shows the sheet as it stands now; names in seat order.
    void SetSheet(const TScoreSheet& sheet, const std::array<QString, 4>& names);
    QTableWidget* lvwSheet() const { return FTable; }

    // The text of one seat's cell: bid and tricks, points, bags, score.
    static QString EntryText(const TSheetEntry& entry);

private:
    QTableWidget* FTable = nullptr;
};

}  // namespace spades
