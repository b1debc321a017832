// Everything modal the table shows goes through one object: the window shows the
// real dialogs; tests answer from a script.
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>
#include <optional>

#include "PreferencesPrompts.h"
#include "RuleSet.h"


namespace spades {

struct TTableState;

class TTablePrompts : public TPreferencesPrompts {
public:
    // The bid dialog for a person's seat; returns its result (the bid + 1).
    virtual int AskBid(const QString& caption) = 0;
    // The score card after a hand.
    virtual void ShowScores(const TTableState& table) = 0;
    virtual void ShowAbout() = 0;
    // A question with Yes and No; true for Yes. Nobody answering means No.
    virtual bool Ask(const QString& text)
    {
        (void)text;
        return false;
    }

    // A notice that neither waits for its answer nor takes the keyboard from the table.
    virtual void Inform(TNoticeKind kind, const QString& text) { Notice(kind, text); }
    // Such notices still up go: the game begins.
    virtual void EndInforms() {}
    // The end of a game: the winner's notice with the final standings; true when
    // the person asks for a new game at once.
    virtual bool GameOver(const QString& text, const QString& standings)
    {
        (void)standings;
        Notice(TNoticeKind::Information, text);
        return false;
    }

    // What the bid dialog's "Suggest" button asks while the table asks a bid; empty otherwise.
    std::function<int()> BidSuggestion;
    // The bids the bid dialog offers (bit b for b tricks, bit 0 Nil) and why, while the table asks a bid.
    unsigned BidChoices = EveryBid;
    QString BidNote;
    // What the score card's "Sheet" button opens; empty: no such button.
    std::function<void()> ScoreSheet;
    // What the score card's "Review" button opens; empty (or nothing to review): no such button.
    std::function<void()> ReviewHand;
    std::function<bool()> CanReviewHand;
};

// Prompts that nobody answers: no notice is shown, every person bids the given
// bid, dialogs are cancelled. For tools that run the table unattended.
class TUnattendedPrompts : public TTablePrompts {
public:
    explicit TUnattendedPrompts(int bid = 3) : FBid(bid) {}
    void Notice(TNoticeKind, const QString&) override {}
    int AskBid(const QString&) override { return FBid + 1; }
    void ShowScores(const TTableState&) override {}
    void ShowAbout() override {}
    int RunDialog(QDialog&) override { return 0; }
    std::optional<QString> ChooseSongFile(const QString&, const QString&) override { return std::nullopt; }

private:
    int FBid;
};

// The real dialogs, placed over the main window.
class TDialogPrompts : public TTablePrompts {
public:
    explicit TDialogPrompts(QWidget* mainWindow) : FMain(mainWindow) {}
    void Notice(TNoticeKind kind, const QString& text) override;
    int AskBid(const QString& caption) override;
    void ShowScores(const TTableState& table) override;
    void ShowAbout() override;
    int RunDialog(QDialog& dialog) override;
    std::optional<QString> ChooseSongFile(const QString& startFolder, const QString& filter) override;
    bool Ask(const QString& text) override;
    void Inform(TNoticeKind kind, const QString& text) override;
    bool GameOver(const QString& text, const QString& standings) override;
    void EndInforms() override;

private:
    // A box opened from inside another dialog belongs to that dialog.
    QWidget* Parent() const;
    void GiveBackFocus() const;
    QWidget* FMain;
    QPointer<QWidget> FInform;
};

// Passes every prompt on and knows whether one is open; when the last one closes
// it says so, for what must wait until the table is free.
class TCountedPrompts : public TTablePrompts {
public:
    TCountedPrompts(TTablePrompts& inner, std::function<void()> idle) : FInner(inner), FIdle(std::move(idle)) {}
    bool Open() const { return FDepth > 0; }
    void Notice(TNoticeKind kind, const QString& text) override;
    bool Ask(const QString& text) override;
    void Inform(TNoticeKind kind, const QString& text) override { FInner.Inform(kind, text); }
    void EndInforms() override { FInner.EndInforms(); }
    bool GameOver(const QString& text, const QString& standings) override;
    int AskBid(const QString& caption) override;
    void ShowScores(const TTableState& table) override;
    void ShowAbout() override;
    int RunDialog(QDialog& dialog) override;
    std::optional<QString> ChooseSongFile(const QString& startFolder, const QString& filter) override;

private:
    class TDepth;
    TTablePrompts& FInner;
    std::function<void()> FIdle;
    int FDepth = 0;
};

// Message texts keep the old '\r' line breaks; a Qt box wants '\n'.
QString DisplayText(const QString& text);

}  // namespace spades
