#include "ScoreDialog.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>

#include "PlayerU.h"

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

void TdlgScores::SetSeats(const TTableState& table)
{
    for (int seat = North; seat <= West; ++seat) {
        const TPlayer& player = table.Player(seat);
        FScores[static_cast<size_t>(seat - 1)] = {QString::fromStdString(player.FName), player.FScore};
    }
}

void TdlgScores::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TdlgScores::FormShow()
{
    FList->clear();
    for (const auto& [name, score] : FScores) {
        auto* row = new QTreeWidgetItem(FList, {name, QString::number(score)});
        row->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        row->setToolTip(0, name);  // the column may cut a long name short
    }
}

}  // namespace spades
