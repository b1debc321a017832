#include "ScoreSheetDialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "ScoreSheet.h"

namespace spades {

namespace {

QString Signed(int value)
{
    // A true minus sign reads better than a hyphen in a column of figures.
    return value > 0 ? "+" + QString::number(value) : value < 0 ? QString(QChar(0x2212)) + QString::number(-value) : "0";
}

QString Count(int n, const char* one, const char* many)
{
    return QString::number(n) + " " + (n == 1 ? one : many);
}

}  // namespace

QString TdlgScoreSheet::EntryText(const TSheetEntry& entry)
{
    QString text = (entry.Bid == 0 ? QString("Nil") : "Bid " + QString::number(entry.Bid)) + ", took " +
                   QString::number(entry.Tricks) + "\n" + Signed(entry.Points) + " points";
    if (entry.Penalty != 0)
        text += ", " + Signed(entry.Penalty) + " for bags";
    text += "\n" + Count(entry.Bags, "bag", "bags") + ", " + QString::number(entry.GameBags) + " in the game" +
            "\nScore " + QString::number(entry.Score);
    return text;
}

TdlgScoreSheet::TdlgScoreSheet(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName("dlgScoreSheet");
    setWindowTitle("Score Sheet");
    FTable = new QTableWidget(this);
    FTable->setObjectName("lvwSheet");
    FTable->setColumnCount(4);
    FTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    FTable->setSelectionBehavior(QAbstractItemView::SelectItems);
    FTable->setWordWrap(false);
    FTable->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    FTable->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    FTable->setAccessibleName("Score sheet");

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setObjectName("btnClose");
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(FTable);
    layout->addWidget(buttons);
    resize(680, 420);
}

void TdlgScoreSheet::SetSheet(const TScoreSheet& sheet, const std::array<QString, 4>& names)
{
    FTable->setHorizontalHeaderLabels({names[0], names[1], names[2], names[3]});
    for (int column = 0; column < 4; ++column)
        if (QTableWidgetItem* header = FTable->horizontalHeaderItem(column))
            header->setToolTip(names[static_cast<size_t>(column)]);
    const auto& hands = sheet.Hands();
    FTable->setRowCount(static_cast<int>(hands.size()));
    for (int row = 0; row < static_cast<int>(hands.size()); ++row) {
        const TSheetHand& hand = hands[static_cast<size_t>(row)];
        FTable->setVerticalHeaderItem(row, new QTableWidgetItem("Hand " + QString::number(hand.Number)));
        for (int seat = North; seat <= West; ++seat) {
            const QString text = EntryText(hand.Seat(seat));
            auto* item = new QTableWidgetItem(text);
            // Read aloud with the seat and hand, as the eye gets them from the headers.
            item->setData(Qt::AccessibleTextRole, names[static_cast<size_t>(seat - 1)] + ", hand " +
                                                      QString::number(hand.Number) + ": " +
                                                      QString(text).replace('\n', ", "));
            FTable->setItem(row, seat - 1, item);
        }
    }
    if (!hands.empty())
        FTable->scrollToItem(FTable->item(FTable->rowCount() - 1, 0));
}

}  // namespace spades
