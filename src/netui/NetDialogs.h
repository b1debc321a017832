// The two network dialogs: hosting a table (which seats are open to others, and
// then the address, port, join code and each seat's state) and joining one.
#pragma once

#include <QDialog>

#include <array>
#include <memory>
#include <optional>

#include "NetClient.h"
#include "NetHost.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;

namespace spades::net {

class TJoinedTable;

// Stays open while the table is hosted; closing it ends the hosting.
class THostTableDialog : public QDialog {
    Q_OBJECT
public:
    explicit THostTableDialog(QWidget* parent = nullptr);
    ~THostTableDialog() override;

    TNetHost* Host() { return FHost.get(); }
    // The table of the seat played here, when one was chosen.
    TJoinedTable* OwnTable() { return FOwnTable; }
    // Starts hosting with the seats as chosen; false with the reason shown.
    bool StartHosting();
    QString SeatText(int seat) const;

private:
    void ShowSeats();

    std::array<QComboBox*, 4> FKinds{};
    std::array<QLabel*, 4> FStates{};
    QSpinBox* FPort = nullptr;
    QSpinBox* FTimeout = nullptr;
    QLabel* FWhere = nullptr;
    QLabel* FCode = nullptr;
    QPlainTextEdit* FReport = nullptr;
    QPushButton* FStart = nullptr;
    QLineEdit* FOwnName = nullptr;
    std::unique_ptr<TNetHost> FHost;
    TJoinedTable* FOwnTable = nullptr;
};

class TJoinTableDialog : public QDialog {
    Q_OBJECT
public:
    explicit TJoinTableDialog(QWidget* parent = nullptr);
    // What was entered, when it is complete; the reason otherwise.
    std::optional<TNetClientOptions> Options(QString* why = nullptr) const;

    QLineEdit* FAddress = nullptr;
    QSpinBox* FPortBox = nullptr;
    QLineEdit* FCodeEdit = nullptr;
    QLineEdit* FName = nullptr;

private:
    QLabel* FProblem = nullptr;
};

// The Network submenu's two items, for the main window to add.
void AddNetworkItems(QMenu* network, QWidget* window);

}  // namespace spades::net
