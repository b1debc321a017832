#include "ScoreDialog.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>

#include "ExtListView.h"
#include "PlayerU.h"
#include "RuleSet.h"

namespace spades {

TdlgScores::TdlgScores(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName("dlgScores");
    setWindowTitle("Score Card");
    setFixedSize(196, 195);

    FList = new QTreeWidget(this);
    FList->setObjectName("lvwScores");
    FList->setGeometry(0, 0, 196, 150);
    FList->setColumnCount(2);
    FList->setHeaderLabels({"Player", "Score"});
    FList->setRootIsDecorated(false);
    FList->setSelectionMode(QAbstractItemView::NoSelection);
    FList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    FList->setFocusPolicy(Qt::NoFocus);
    FList->header()->setSectionsClickable(false);
    FList->header()->setSectionsMovable(false);
    FList->header()->setStretchLastSection(false);
    FList->setColumnWidth(0, 130);
    FList->setColumnWidth(1, 60);
    FList->headerItem()->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    QFont bold("MS Sans Serif");
    bold.setPointSize(8);
    bold.setBold(true);
    FList->setFont(bold);

    FOk = new QPushButton("Continue", this);
    FOk->setObjectName("OKBtn");
    FOk->setGeometry(61, 160, 75, 25);
    FOk->setDefault(true);
    connect(FOk, &QPushButton::clicked, this, &QDialog::accept);

    FSheet = new QPushButton("Sheet", this);
    FSheet->setObjectName("btnSheet");
    FSheet->setGeometry(141, 160, 50, 25);
    FSheet->setAutoDefault(false);
    FSheet->setAccessibleName("Score Sheet");
    FSheet->hide();

    FReview = new QPushButton("Review", this);
    FReview->setObjectName("btnReview");
    FReview->setGeometry(5, 160, 52, 25);
    FReview->setAutoDefault(false);
    FReview->setAccessibleName("Review the hand");
    FReview->hide();
}

namespace {
void SetAction(QPushButton& button, std::function<void()> action)
{
    button.disconnect();
    button.setVisible(static_cast<bool>(action));
    if (action)
        QObject::connect(&button, &QPushButton::clicked, &button, std::move(action));
}
}  // namespace

void TdlgScores::SetSheetAction(std::function<void()> action) { SetAction(*FSheet, std::move(action)); }
void TdlgScores::SetReviewAction(std::function<void()> action) { SetAction(*FReview, std::move(action)); }

QString SideBidCellText(const TTableState& table, int side)
{
    const TSideTally tally = SideTally(table, side);
    QString text = tally.Bid > 0 ? QString::number(tally.Bid) : QString();
    if (table.Player(side).FBid == 0 || table.Player(PartnerOf(side)).FBid == 0)
        text += text.isEmpty() ? QStringLiteral("NIL") : QStringLiteral("+NIL");
    return text;
}

void TdlgScores::SetSeats(const TTableState& table)
{
    FSides.clear();
    for (int seat = North; seat <= West; ++seat) {
        const TPlayer& player = table.Player(seat);
        FScores[static_cast<size_t>(seat - 1)] = {QString::fromStdString(player.FName), player.FScore};
    }
    if (!table.Rules.Partnership())
        return;
    for (int side = 1; side <= 2; ++side) {
        const TSideTally tally = SideTally(table, side);
        FSides.push_back({{QString::fromStdString(SideName(side)), SideBidCellText(table, side),
                           QString::number(tally.Tricks), QString::number(tally.Bags),
                           QString::number(table.Player(side).FScore)},
                          true});
        for (const int seat : {side, PartnerOf(side)}) {
            const TPlayer& player = table.Player(seat);
            FSides.push_back({{QString::fromStdString(player.FName), BidCellText(player.FBid),
                               QString::number(player.FTricks)}});
        }
    }
    // Wider, for the side's bid, tricks and bags beside its score; before it is
    // shown, so that whoever places it knows its size.
    setFixedSize(316, 195);
    FList->setGeometry(0, 0, 316, 150);
    FReview->move(5, 160);
    FOk->move(121, 160);
    FSheet->move(201, 160);
}

void TdlgScores::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TdlgScores::FormShow()
{
    FList->clear();
    if (!FSides.empty()) {
        ShowSides();
        return;
    }
    for (const auto& [name, score] : FScores) {
        auto* row = new QTreeWidgetItem(FList, {name, QString::number(score)});
        row->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        row->setToolTip(0, name);  // the column may cut a long name short
    }
}

void TdlgScores::ShowSides()
{
    FList->setColumnCount(5);
    FList->setHeaderLabels({"Side", "Bid", "Made", "Bags", "Score"});
    FList->setColumnWidth(0, 130);
    for (int column = 1; column < 5; ++column) {
        FList->setColumnWidth(column, column == 4 ? 60 : 40);
        FList->headerItem()->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
    }
    FList->setRootIsDecorated(false);
    FList->setIndentation(12);
    QTreeWidgetItem* side = nullptr;
    for (const TSideRow& row : FSides) {
        auto* item = row.Side ? new QTreeWidgetItem(FList, row.Cells) : new QTreeWidgetItem(side, row.Cells);
        if (row.Side)
            side = item;
        for (int column = 1; column < 5; ++column)
            item->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
        item->setToolTip(0, row.Cells.front());
    }
    FList->expandAll();
}

}  // namespace spades
