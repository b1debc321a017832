// The two network dialogs: hosting a table (which seats are open to others, and
// then the address, port, join code and each seat's state) and joining one.
#pragma once

#include <QDialog>

#include <array>
#include <memory>
#include <optional>

#include <QPointer>

#include "JoinedTable.h"
#include "NetClient.h"
#include "NetHost.h"
#include "NetTableHost.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;

namespace spades::net {

class THostHistory;

// Stays open while the table is hosted; closing it ends the hosting. With a
// window, the game takes the window's pause and is recorded in its history, and
// the seat played here is shown in the window.
class THostTableDialog : public QDialog {
    Q_OBJECT
public:
    explicit THostTableDialog(TNetTableHost* window = nullptr, QWidget* parent = nullptr);
    ~THostTableDialog() override;

    TNetHost* Host() { return FHost.get(); }
    // The table of the seat played here, when one was chosen.
    TJoinedTable* OwnTable() { return FOwnTable; }
    const THostHistory* History() const { return FHistory.get(); }
    // The rules the table is hosted with, from the next StartHosting on: the
    // window gives its own here (the table's own, at 250, until it does).
    void SetRules(const TRuleSet& rules) { FRules = rules; }
    // Starts hosting with the seats as chosen; false with the reason shown.
    bool StartHosting();
    QString SeatText(int seat) const;

private:
    void ShowSeats();

    std::array<QComboBox*, 4> FKinds{};
    std::array<QLabel*, 4> FStates{};
    std::array<QPushButton*, 4> FRemove{};
    int FOwnSeat = 0;
    QSpinBox* FPort = nullptr;
    QLineEdit* FBind = nullptr;
    QSpinBox* FTimeout = nullptr;
    QLabel* FWhere = nullptr;
    QLabel* FCode = nullptr;
    QPlainTextEdit* FReport = nullptr;
    QPushButton* FStart = nullptr;
    QLineEdit* FOwnName = nullptr;
    TNetTableHost* FWindow;
    TRuleSet FRules;
    std::unique_ptr<TNetHost> FHost;
    std::unique_ptr<THostHistory> FHistory;  // goes before the host it listens to
    QPointer<TJoinedTable> FOwnTable;
};

class TJoinTableDialog : public QDialog {
    Q_OBJECT
public:
    explicit TJoinTableDialog(QWidget* parent = nullptr);
    // What was entered, when it is complete; the reason otherwise.
    std::optional<TNetClientOptions> Options(QString* why = nullptr) const;
    void ShowProblem(const QString& text);

    QLineEdit* FAddress = nullptr;
    QSpinBox* FPortBox = nullptr;
    QLineEdit* FCodeEdit = nullptr;
    QLineEdit* FName = nullptr;

private:
    QLabel* FProblem = nullptr;
};

// Where a dialog of the given size covers as little of the window as the
// screen allows, and never the window's middle if it can help it.
QPoint AsidePosition(const QRect& window, QSize dialog, const QRect& screen);

// Joins the table and shows it in the window's place.
void SitAtTable(TNetTableHost& window, const TNetClientOptions& options);

// The Network submenu's items, for the main window to add: host, join, and
// leave the joined table for the window's own.
void AddNetworkItems(QMenu* network, TNetTableHost& window);

}  // namespace spades::net
