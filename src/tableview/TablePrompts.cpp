#include "TablePrompts.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QWidget>

#include "AboutBox.h"
#include "Application.h"
#include "BidDialog.h"
#include "ScoreDialog.h"

namespace spades {

namespace {
// Height of the area below the menu, the table itself.
int ClientHeight(const QWidget* window)
{
    if (const auto* main = qobject_cast<const QMainWindow*>(window); main && main->centralWidget())
        return main->centralWidget()->height();
    return window->height();
}
}  // namespace

QString DisplayText(const QString& text)
{
    QString shown = text;
    shown.replace("\r\n", "\n").replace('\r', '\n');
    return shown;
}

namespace {

QMessageBox::Icon IconOf(TNoticeKind kind)
{
    switch (kind) {
    case TNoticeKind::Plain:
        break;
    case TNoticeKind::Information:
        return QMessageBox::Information;
    case TNoticeKind::Warning:
        return QMessageBox::Warning;
    case TNoticeKind::Error:
        return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

void TDialogPrompts::Notice(TNoticeKind kind, const QString& text)
{
    QMessageBox box(IconOf(kind), ProgramTitle, DisplayText(text), QMessageBox::Ok, Parent());
    box.exec();
    GiveBackFocus();
}

void TDialogPrompts::Inform(TNoticeKind kind, const QString& text)
{
    // Shown beside the table: the keys still reach the game.
    auto* box = new QMessageBox(IconOf(kind), ProgramTitle, DisplayText(text), QMessageBox::Ok, FMain);
    box->setObjectName("dlgInform");
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setAttribute(Qt::WA_ShowWithoutActivating);
    box->setWindowModality(Qt::NonModal);
    box->show();
    EndInforms();
    FInform = box;
}

void TDialogPrompts::EndInforms()
{
    if (FInform)
        FInform->close();
}

bool TDialogPrompts::GameOver(const QString& text, const QString& standings)
{
    QMessageBox box(QMessageBox::Information, ProgramTitle, DisplayText(text), QMessageBox::NoButton, Parent());
    box.setObjectName("dlgGameOver");
    box.setInformativeText(DisplayText(standings));
    QPushButton* again = box.addButton("&New Game", QMessageBox::AcceptRole);
    QPushButton* close = box.addButton(QMessageBox::Close);
    box.setDefaultButton(again);
    box.setEscapeButton(close);
    box.exec();
    GiveBackFocus();
    return box.clickedButton() == again;
}

bool TDialogPrompts::Ask(const QString& text)
{
    QMessageBox box(QMessageBox::Question, QApplication::applicationDisplayName(), DisplayText(text),
                    QMessageBox::Yes | QMessageBox::No, Parent());
    box.setDefaultButton(QMessageBox::Yes);
    const int answer = box.exec();
    GiveBackFocus();
    return answer == QMessageBox::Yes;
}

int TDialogPrompts::AskBid(const QString& caption)
{
    // Held by a guard: the dialog may outlive neither its owner nor this call.
    QPointer<TdlgBid> dialog = new TdlgBid(FMain);
    dialog->SetPlayerCaption(caption);
    dialog->SetSuggestion(BidSuggestion);
    dialog->SetChoices(BidChoices, BidNote);
    if (FMain) {
        const QRect outer = FMain->frameGeometry();
        const int clientHeight = ClientHeight(FMain);
        const int left = outer.left() + outer.width() / 2 - dialog->width() / 2 + 8;
        const int top = outer.top() + (outer.height() - clientHeight) + outer.height() / 2 - dialog->height() / 2 - 12;
        dialog->move(left, top);
    }
    const int result = dialog->exec();
    delete dialog.data();
    GiveBackFocus();
    return result;
}

void TDialogPrompts::ShowScores(const TTableState& table)
{
    QPointer<TdlgScores> dialog = new TdlgScores(FMain);
    dialog->SetSeats(table);
    dialog->SetSheetAction(ScoreSheet);
    dialog->SetReviewAction(ReviewHand && CanReviewHand && CanReviewHand() ? ReviewHand : nullptr);
    if (FMain) {
        const QRect outer = FMain->frameGeometry();
        const int clientHeight = ClientHeight(FMain);
        dialog->move(outer.left() + outer.width() - dialog->width() - 8,
                     outer.top() + (outer.height() - clientHeight) / 2);
    }
    dialog->exec();
    delete dialog.data();
    GiveBackFocus();
}

QWidget* TDialogPrompts::Parent() const
{
    QWidget* modal = QApplication::activeModalWidget();
    return modal ? modal : FMain;
}

int TDialogPrompts::RunDialog(QDialog& dialog)
{
    const int result = dialog.exec();
    GiveBackFocus();
    return result;
}

void TDialogPrompts::GiveBackFocus() const
{
    // Without a window manager nobody hands the keyboard back to the table.
    if (FMain && !QApplication::activeModalWidget())
        FMain->activateWindow();
}

std::optional<QString> TDialogPrompts::ChooseSongFile(const QString& startFolder, const QString& filter)
{
    const QString chosen = QFileDialog::getOpenFileName(Parent(), "Open", startFolder, filter);
    if (chosen.isEmpty())
        return std::nullopt;
    return chosen;
}

void TDialogPrompts::ShowAbout()
{
    TAboutBox box(FMain);
    box.exec();
}

class TCountedPrompts::TDepth {
public:
    explicit TDepth(TCountedPrompts& prompts) : FPrompts(prompts) { ++FPrompts.FDepth; }
    ~TDepth()
    {
        if (--FPrompts.FDepth == 0 && FPrompts.FIdle)
            FPrompts.FIdle();
    }
    TDepth(const TDepth&) = delete;
    TDepth& operator=(const TDepth&) = delete;

private:
    TCountedPrompts& FPrompts;
};

void TCountedPrompts::Notice(TNoticeKind kind, const QString& text)
{
    TDepth depth(*this);
    FInner.Notice(kind, text);
}

bool TCountedPrompts::Ask(const QString& text)
{
    TDepth depth(*this);
    return FInner.Ask(text);
}

bool TCountedPrompts::GameOver(const QString& text, const QString& standings)
{
    TDepth depth(*this);
    return FInner.GameOver(text, standings);
}

int TCountedPrompts::AskBid(const QString& caption)
{
    TDepth depth(*this);
    FInner.BidSuggestion = BidSuggestion;
    FInner.BidChoices = BidChoices;
    FInner.BidNote = BidNote;
    const int bid = FInner.AskBid(caption);
    FInner.BidSuggestion = nullptr;
    FInner.BidChoices = EveryBid;
    FInner.BidNote.clear();
    return bid;
}

void TCountedPrompts::ShowScores(const TTableState& table)
{
    TDepth depth(*this);
    FInner.ScoreSheet = ScoreSheet;
    FInner.ReviewHand = ReviewHand;
    FInner.CanReviewHand = CanReviewHand;
    FInner.ShowScores(table);
    FInner.ScoreSheet = nullptr;
    FInner.ReviewHand = nullptr;
    FInner.CanReviewHand = nullptr;
}

void TCountedPrompts::ShowAbout()
{
    TDepth depth(*this);
    FInner.ShowAbout();
}

int TCountedPrompts::RunDialog(QDialog& dialog)
{
    TDepth depth(*this);
    return FInner.RunDialog(dialog);
}

std::optional<QString> TCountedPrompts::ChooseSongFile(const QString& startFolder, const QString& filter)
{
    TDepth depth(*this);
    return FInner.ChooseSongFile(startFolder, filter);
}

}  // namespace spades
