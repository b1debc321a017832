// Everything modal the table shows goes through one object: the window shows the
// real dialogs; tests answer from a script.
#pragma once

#include <QString>

class QWidget;

namespace spades {

struct TTableState;

enum class TNoticeKind { Plain, Information, Warning, Error };

class TTablePrompts {
public:
    virtual ~TTablePrompts() = default;
    // A message box with one OK button; '\r' separates lines.
    virtual void Notice(TNoticeKind kind, const QString& text) = 0;
    // The bid dialog for a person's seat; returns its result (the bid + 1).
    virtual int AskBid(const QString& caption) = 0;
    // The score card after a hand.
    virtual void ShowScores(const TTableState& table) = 0;
    virtual void ShowAbout() = 0;
};

// The real dialogs, placed over the main window.
class TDialogPrompts : public TTablePrompts {
public:
    explicit TDialogPrompts(QWidget* mainWindow) : FMain(mainWindow) {}
    void Notice(TNoticeKind kind, const QString& text) override;
    int AskBid(const QString& caption) override;
    void ShowScores(const TTableState& table) override;
    void ShowAbout() override;

private:
    QWidget* FMain;
};

// Message texts keep the old '\r' line breaks; a Qt box wants '\n'.
QString DisplayText(const QString& text);

}  // namespace spades
