// A window for the network items in tests: it shows a joined table in its
// middle, and its prompts write down what they are asked to say.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QStringList>

#include "JoinedTable.h"
#include "NetTableHost.h"
#include "TablePrompts.h"

namespace spades::net::testing {

class TRecordedNotices : public TUnattendedPrompts {
public:
    void Notice(TNoticeKind, const QString& text) override { Texts << text; }
    int RunDialog(QDialog& dialog) override { return OnDialog ? OnDialog(dialog) : 0; }
    QStringList Texts;
    std::function<int(QDialog&)> OnDialog;
};

class TFakeWindow : public QMainWindow, public TNetTableHost {
public:
    QWidget* NetWindow() override { return this; }
    TTableLook Look() const override { return {}; }
    int PlayPause() const override { return Pause; }
    TRuleSet NextRules() const override { return Rules; }
    THistoryStore* GameHistory() override { return Store; }
    TTablePrompts& Prompts() override { return Notices; }
    void ShowJoinedTable(TJoinedTable* table) override
    {
        setCentralWidget(table);  // the one before goes
        FJoined = table;
    }
    void LeaveJoinedTable() override
    {
        delete takeCentralWidget();
        FJoined = nullptr;
    }
    TJoinedTable* JoinedTable() const override { return FJoined; }

    int Pause = 0;
    TRuleSet Rules;
    THistoryStore* Store = nullptr;
    TRecordedNotices Notices;

private:
    QPointer<TJoinedTable> FJoined;
};

}  // namespace spades::net::testing
